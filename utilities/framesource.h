#pragma once
// The video source of the crosshair window: start-up with a success flag,
// live mode, start and stop of capture, release, and the current frame.
// CameraSource is the camera through Qt Multimedia; tests put their own
// source in its place, or feed CameraSource's sink.

#include <QImage>
#include <QObject>
#include <QVideoFrame>

#include <functional>
#include <memory>

class QCamera;
class QMediaCaptureSession;
class QVideoSink;

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Prepares the device; true when there is one to capture from.
    virtual bool startUp() = 0;
    virtual void setLive(bool on) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    // Gives the device back; startUp() is needed again.
    virtual void release() = 0;
    // The newest frame (a null image before the first).
    virtual QImage currentFrame() = 0;

    // Called when capture that had started ends without stop() or
    // release() (the device went away, the platform gave up); the reason
    // is the platform's text, "" when it gives none. Never called from
    // inside a call of this source's own operations.
    void setFailureHandler(std::function<void(const QString& reason)> handler) { m_failed = std::move(handler); }

protected:
    void reportFailure(const QString& reason)
    {
        if (m_failed)
            m_failed(reason);
    }

private:
    std::function<void(const QString&)> m_failed;
};

class CameraSource : public QObject, public FrameSource {
    Q_OBJECT
public:
    CameraSource();
    ~CameraSource() override;

    bool startUp() override;
    void setLive(bool on) override { m_live = on; }
    void start() override;
    void stop() override;
    void release() override;
    QImage currentFrame() override;

    // Where the camera's frames arrive; made on first use, since it brings
    // up the platform's media backend.
    QVideoSink* sink();
    bool capturing() const;

private:
    std::unique_ptr<QVideoSink> m_sink;
    std::unique_ptr<QCamera> m_camera;
    std::unique_ptr<QMediaCaptureSession> m_session;
    void cameraFailed(const QString& reason);

    bool m_live = false;
    // Capture was started and not yet stopped or released by us.
    bool m_running = false;
    // Only the newest frame is kept, and converted when asked for.
    QVideoFrame m_frame;
    bool m_fresh = false;
    QImage m_image;
};

// The picture of a video frame, read by mapping it: packed RGB formats,
// grey, and the common YUV layouts (I420, YV12, NV12, NV21, YUYV, UYVY).
// A null image for any other format, a frame that cannot be mapped, or one
// whose planes are smaller than its size says.
QImage frameImage(QVideoFrame frame);
