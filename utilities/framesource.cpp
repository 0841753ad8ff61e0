#include "framesource.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <algorithm>
#include <optional>

CameraSource::CameraSource() = default;

QVideoSink* CameraSource::sink()
{
    if (!m_sink) {
        m_sink = std::make_unique<QVideoSink>();
        connect(m_sink.get(), &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
            m_frame = frame;
            m_fresh = true;
        });
    }
    return m_sink.get();
}

CameraSource::~CameraSource()
{
    release();
}

bool CameraSource::startUp()
{
    release();
    // Without a camera, Qt would still feed the sink a test pattern once
    // started: success is judged by a device being there, never by frames.
    if (QMediaDevices::videoInputs().isEmpty())
        return false;
    m_camera = std::make_unique<QCamera>(QMediaDevices::defaultVideoInput());
    if (m_camera->error() != QCamera::NoError) {
        release();
        return false;
    }
    m_session = std::make_unique<QMediaCaptureSession>();
    m_session->setCamera(m_camera.get());
    // Queued: the handler may release the camera, which must not happen
    // while the camera is still inside its own signal.
    connect(
        m_camera.get(), &QCamera::errorOccurred, this,
        [this](QCamera::Error error, const QString& text) {
            if (error != QCamera::NoError)
                cameraFailed(text);
        },
        Qt::QueuedConnection);
    connect(
        m_camera.get(), &QCamera::activeChanged, this,
        [this](bool active) {
            if (!active)
                cameraFailed(QString());
        },
        Qt::QueuedConnection);
    return true;
}

void CameraSource::cameraFailed(const QString& reason)
{
    // A stop or release of ours, or a camera already reported, is no failure.
    if (!m_running || (m_camera && m_camera->isActive() && m_camera->error() == QCamera::NoError))
        return;
    m_running = false;
    reportFailure(reason.isEmpty() && m_camera ? m_camera->errorString() : reason);
}

void CameraSource::start()
{
    if (!m_camera)
        return;
    if (m_live)
        m_session->setVideoSink(sink());
    m_running = true;
    m_camera->start();
}

void CameraSource::stop()
{
    m_running = false;
    if (m_camera)
        m_camera->stop();
}

void CameraSource::release()
{
    m_running = false;
    if (m_camera)
        m_camera->stop();
    if (m_session) {
        m_session->setVideoSink(nullptr);
        m_session->setCamera(nullptr);
    }
    m_session.reset();
    m_camera.reset();
}

bool CameraSource::capturing() const
{
    return m_camera && m_camera->isActive();
}

QImage CameraSource::currentFrame()
{
    if (m_fresh) {
        m_fresh = false;
        // A frame that cannot be read is skipped; the last good one stays.
        QImage next = frameImage(m_frame);
        m_frame = QVideoFrame();
        if (!next.isNull())
            m_image = next;
    }
    return m_image;
}

namespace {
constexpr int maxSide = 16384;

inline uchar clampByte(int v)
{
    return uchar(std::clamp(v, 0, 255));
}
// ITU-R BT.601, studio range.
inline QRgb yuv(int y, int u, int v)
{
    const int c = 298 * (y - 16) + 128;
    const int d = u - 128;
    const int e = v - 128;
    return qRgb(clampByte((c + 409 * e) >> 8), clampByte((c - 100 * d - 208 * e) >> 8), clampByte((c + 516 * d) >> 8));
}

// A plane holds rows lines of at least rowBytes bytes each.
bool planeHolds(const QVideoFrame& f, int plane, int rowBytes, int rows)
{
    if (plane >= f.planeCount() || !f.bits(plane))
        return false;
    const qint64 bpl = f.bytesPerLine(plane);
    return bpl >= rowBytes && bpl * (rows - 1) + rowBytes <= f.mappedBytes(plane);
}

// A chroma plane of a 4:2:0 frame. Qt sizes those of odd-sized frames to
// whole halves, so the last chroma row or column may be missing; the one
// before it serves.
struct Chroma {
    const uchar* bits;
    qint64 bpl;
    int rows, cols, sampleBytes;
    const uchar* at(int x, int y) const
    {
        return bits + std::min(y / 2, rows - 1) * bpl + qint64(std::min(x / 2, cols - 1)) * sampleBytes;
    }
};
std::optional<Chroma> chroma(const QVideoFrame& f, int plane, int w, int h, int sampleBytes)
{
    if (plane >= f.planeCount() || !f.bits(plane) || f.bytesPerLine(plane) <= 0)
        return std::nullopt;
    const qint64 bpl = f.bytesPerLine(plane);
    const int rows = int(std::min<qint64>(f.mappedBytes(plane) / bpl, (h + 1) / 2));
    const int cols = int(std::min<qint64>(bpl / sampleBytes, (w + 1) / 2));
    if (rows < std::max(1, h / 2) || cols < std::max(1, w / 2))
        return std::nullopt;
    return Chroma{f.bits(plane), bpl, rows, cols, sampleBytes};
}

QImage planar420(const QVideoFrame& f, int w, int h, int uPlane, int vPlane)
{
    const auto u = chroma(f, uPlane, w, h, 1);
    const auto v = chroma(f, vPlane, w, h, 1);
    if (!planeHolds(f, 0, w, h) || !u || !v)
        return QImage();
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const uchar* yr = f.bits(0) + qint64(y) * f.bytesPerLine(0);
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            out[x] = yuv(yr[x], *u->at(x, y), *v->at(x, y));
    }
    return img;
}

QImage semiplanar420(const QVideoFrame& f, int w, int h, bool uFirst)
{
    const auto c = chroma(f, 1, w, h, 2);
    if (!planeHolds(f, 0, w, h) || !c)
        return QImage();
    QImage img(w, h, QImage::Format_RGB32);
    const int uo = uFirst ? 0 : 1;
    for (int y = 0; y < h; ++y) {
        const uchar* yr = f.bits(0) + qint64(y) * f.bytesPerLine(0);
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uchar* pair = c->at(x, y);
            out[x] = yuv(yr[x], pair[uo], pair[1 - uo]);
        }
    }
    return img;
}

// Two pixels in four bytes: Y0 U Y1 V (YUYV) or U Y0 V Y1 (UYVY).
QImage packed422(const QVideoFrame& f, int w, int h, bool yFirst)
{
    const int rowBytes = 4 * ((w + 1) / 2);
    if (!planeHolds(f, 0, rowBytes, h))
        return QImage();
    const int yo = yFirst ? 0 : 1, uo = yFirst ? 1 : 0, vo = yFirst ? 3 : 2;
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const uchar* row = f.bits(0) + qint64(y) * f.bytesPerLine(0);
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uchar* quad = row + 4 * (x / 2);
            out[x] = yuv(quad[yo + 2 * (x % 2)], quad[uo], quad[vo]);
        }
    }
    return img;
}

QImage convert(const QVideoFrame& f)
{
    const int w = f.width(), h = f.height();
    const QVideoFrameFormat::PixelFormat pf = f.pixelFormat();
    const QImage::Format direct = QVideoFrameFormat::imageFormatFromPixelFormat(pf);
    if (direct != QImage::Format_Invalid) {
        const int depth = QImage::toPixelFormat(direct).bitsPerPixel();
        if (!planeHolds(f, 0, (w * depth + 7) / 8, h))
            return QImage();
        // Copied, since the mapped bytes go with the unmap.
        const QImage mapped(f.bits(0), w, h, f.bytesPerLine(0), direct);
        return direct == QImage::Format_RGB32 ? mapped.copy() : mapped.convertToFormat(QImage::Format_RGB32);
    }
    switch (pf) {
    case QVideoFrameFormat::Format_YUV420P:
        return planar420(f, w, h, 1, 2);
    case QVideoFrameFormat::Format_YV12:
        return planar420(f, w, h, 2, 1);
    case QVideoFrameFormat::Format_NV12:
        return semiplanar420(f, w, h, true);
    case QVideoFrameFormat::Format_NV21:
        return semiplanar420(f, w, h, false);
    case QVideoFrameFormat::Format_YUYV:
        return packed422(f, w, h, true);
    case QVideoFrameFormat::Format_UYVY:
        return packed422(f, w, h, false);
    default:
        return QImage();
    }
}
} // namespace

QImage frameImage(QVideoFrame frame)
{
    if (!frame.isValid() || frame.width() <= 0 || frame.height() <= 0 || frame.width() > maxSide
        || frame.height() > maxSide)
        return QImage();
    if (!frame.map(QVideoFrame::ReadOnly))
        return QImage();
    QImage img = convert(frame);
    frame.unmap();
    return img;
}
