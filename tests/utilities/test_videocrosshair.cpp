#include "support/alertsink.h"
#include "support/findcontrol.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/alert.h"
#include "common/picturebox.h"
#include "utilities/framesource.h"
#include "utilities/util_videocrosshair.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QCameraDevice>
#include <QMediaDevices>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <cstring>

// GStreamer's device monitor, behind the camera list, loads the PulseAudio
// client library, which keeps its context until the process ends; that is
// no leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libpulse.so\n";
}

namespace {
Util_videocrosshair& window()
{
    return FormSlots::get<Util_videocrosshair>();
}
template <class W>
W* ctl(const QString& name)
{
    return controlOf<W>(window(), name);
}
PictureBox* picture()
{
    return ctl<PictureBox>("Picture1");
}
QPushButton* cmmd(int i)
{
    return ctl<QPushButton>(QStringLiteral("cmmd_%1").arg(i));
}
void chooseShape(int k)
{
    ctl<QRadioButton>(QStringLiteral("chtype_%1").arg(k))->click();
}

// A source whose start-up answer and frame the test sets; it records the
// calls it gets.
struct FakeSource : FrameSource {
    bool present = true;
    QImage frame;
    QStringList calls;
    bool startUp() override
    {
        calls << "startUp";
        return present;
    }
    void setLive(bool on) override { calls << (on ? "live" : "notlive"); }
    void start() override { calls << "start"; }
    void stop() override { calls << "stop"; }
    void release() override { calls << "release"; }
    QImage currentFrame() override { return frame; }
    // The device failing while it captures, as the platform reports it.
    void fail(const QString& reason) { reportFailure(reason); }
};

QImage solid(QSize size, QColor c)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// Whether a pixel of the colour lies within one pixel of the point (in the
// picture's scale).
bool near(PictureBox* box, double x, double y, QColor c)
{
    const QPoint p = box->toPixel(x, y);
    const QImage& img = box->image();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (img.rect().contains(q) && img.pixelColor(q) == c)
                return true;
        }
    return false;
}

bool close(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 && std::abs(a.blue() - b.blue()) <= 3;
}

// A frame of the given format and size, top half one colour and bottom half
// another; each colour as the bytes of one pixel (Y U V for YUV formats,
// memory order for packed RGB, one byte for grey).
QVideoFrame twoTone(QVideoFrameFormat::PixelFormat pf, QSize size, QByteArray top, QByteArray bottom)
{
    QVideoFrame f(QVideoFrameFormat(size, pf));
    if (!f.map(QVideoFrame::WriteOnly))
        return f;
    const int w = size.width(), h = size.height();
    auto tone = [&](int y) { return y < h / 2 ? top : bottom; };
    switch (pf) {
    case QVideoFrameFormat::Format_YUV420P:
    case QVideoFrameFormat::Format_YV12: {
        const int u = pf == QVideoFrameFormat::Format_YUV420P ? 1 : 2;
        for (int y = 0; y < h; ++y)
            std::memset(f.bits(0) + y * f.bytesPerLine(0), tone(y)[0], size_t(w));
        for (int k : {1, 2}) {
            const int plane = k == 1 ? u : 3 - u;
            const int bpl = f.bytesPerLine(plane);
            for (int cy = 0; (cy + 1) * bpl <= f.mappedBytes(plane); ++cy)
                std::memset(f.bits(plane) + cy * bpl, tone(2 * cy)[k], size_t(bpl));
        }
        break;
    }
    case QVideoFrameFormat::Format_NV12:
    case QVideoFrameFormat::Format_NV21:
    {
        for (int y = 0; y < h; ++y)
            std::memset(f.bits(0) + y * f.bytesPerLine(0), tone(y)[0], size_t(w));
        const bool nv12 = pf == QVideoFrameFormat::Format_NV12;
        const int bpl = f.bytesPerLine(1);
        for (int cy = 0; (cy + 1) * bpl <= f.mappedBytes(1); ++cy) {
            uchar* c = f.bits(1) + cy * bpl;
            for (int x = 0; x + 1 < bpl; x += 2) {
                c[x] = uchar(tone(2 * cy)[nv12 ? 1 : 2]);
                c[x + 1] = uchar(tone(2 * cy)[nv12 ? 2 : 1]);
            }
        }
        break;
    }
    case QVideoFrameFormat::Format_YUYV:
    case QVideoFrameFormat::Format_UYVY:
        for (int y = 0; y < h; ++y) {
            uchar* r = f.bits(0) + y * f.bytesPerLine(0);
            const QByteArray t = tone(y);
            const bool yuyv = pf == QVideoFrameFormat::Format_YUYV;
            const char quad[4] = {yuyv ? t[0] : t[1], yuyv ? t[1] : t[0], yuyv ? t[0] : t[2], yuyv ? t[2] : t[0]};
            for (int x = 0; x < (w + 1) / 2; ++x)
                std::memcpy(r + 4 * x, quad, 4);
        }
        break;
    default:
        for (int y = 0; y < h; ++y) {
            uchar* r = f.bits(0) + y * f.bytesPerLine(0);
            const QByteArray t = tone(y);
            for (int x = 0; x < w; ++x)
                std::memcpy(r + x * t.size(), t.constData(), size_t(t.size()));
        }
    }
    f.unmap();
    return f;
}
} // namespace

class TestVideoCrosshair : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;
    FakeSource* fake = nullptr;

    void useFake(QImage frame = QImage())
    {
        auto s = std::make_unique<FakeSource>();
        s->frame = frame;
        fake = s.get();
        window().setFrameSource(std::move(s));
    }

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        useFake();
        popup("Util_videocrosshair");
        QVERIFY(window().visible());
    }
    void cleanup()
    {
        window().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake = nullptr;
        window().setFrameSource(nullptr);
        folders.reset();
    }

    void startsWithARedFullCross()
    {
        fake->frame = solid({640, 480}, Qt::gray);
        window().crosshair();
        PictureBox* pic = picture();
        const QColor red(255, 0, 0);
        QCOMPARE(pic->point(500, 500), red);
        for (double t : {0.0, 5.0, 100.0, 998.0}) {
            QCOMPARE(pic->point(500, t), red);
            QCOMPARE(pic->point(t, 500), red);
        }
        // One unit wide: a single pixel across.
        const QPoint c = pic->toPixel(100, 500);
        QCOMPARE(pic->image().pixelColor(c + QPoint(0, 1)), QColor(Qt::gray));
        QCOMPARE(pic->image().pixelColor(c - QPoint(0, 1)), QColor(Qt::gray));
        QCOMPARE(pic->point(300, 300), QColor(Qt::gray));
    }

    // Idle, the redraw rests once the picture is drawn and wakes for the
    // next change of a slider; while capturing it runs every 75 ms.
    void redrawRestsWhileIdle()
    {
        auto* timer = window().form()->findChild<QTimer*>("Timer1");
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 75);
        fake->frame = solid({64, 48}, Qt::gray);
        QTRY_VERIFY(!timer->isActive());
        QCOMPARE(picture()->point(500, 500), QColor(255, 0, 0));
        ctl<QSlider>("chblue")->setValue(0);
        QVERIFY(timer->isActive());
        QTRY_COMPARE(picture()->point(500, 500), QColor(255, 0, 255));
        QTRY_VERIFY(!timer->isActive());
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Stop"));
        QVERIFY(timer->isActive());
        // New frames show with no control touched.
        fake->frame = solid({64, 48}, Qt::blue);
        QTRY_COMPARE(picture()->point(300, 300), QColor(Qt::blue));
        QVERIFY(timer->isActive());
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Acquire"));
        QTRY_VERIFY(!timer->isActive());
    }

    void slidersSetSizeColourAndThickness()
    {
        chooseShape(4);
        auto* width = ctl<QSlider>("chwidth");
        width->setValue(width->minimum()); // the top: W 450
        window().crosshair();
        const QColor red(255, 0, 0);
        QVERIFY(near(picture(), 50, 500, red));
        QVERIFY(near(picture(), 950, 500, red));
        QVERIFY(!near(picture(), 449, 500, red));
        width->setValue(width->maximum()); // the bottom: W 1
        window().crosshair();
        QVERIFY(near(picture(), 499, 500, red));
        QVERIFY(!near(picture(), 50, 500, red));
        // Thickness and colour: slider values count down from the top.
        ctl<QSlider>("chthick")->setValue(1); // T 10
        ctl<QSlider>("chblue")->setValue(0);  // blue 255
        window().crosshair();
        const QColor magenta(255, 0, 255);
        chooseShape(0);
        int across = 0;
        const QPoint on = picture()->toPixel(100, 500);
        for (int dy = -10; dy <= 10; ++dy)
            across += picture()->image().pixelColor(on + QPoint(0, dy)) == magenta;
        QCOMPARE(across, 10);
    }

    // The legend names the sliders in order, one letter standing over each.
    void legendLettersStandOverTheirSliders()
    {
        auto* legend = ctl<QLabel>("Label1");
        QVERIFY(legend);
        const QString plain = QTextDocumentFragment::fromHtml(legend->text()).toPlainText().simplified();
        QCOMPARE(QString(plain).remove(u' '), QStringLiteral("RGBTWH"));
        // The inked columns of the drawn label, gathered into letters.
        const QImage ink = legend->grab().toImage();
        const QColor back = ink.pixelColor(0, 0);
        QList<std::pair<int, int>> runs;
        for (int x = 0; x < ink.width(); ++x) {
            bool inked = false;
            for (int y = 0; y < ink.height() && !inked; ++y)
                inked = ink.pixelColor(x, y) != back;
            if (!inked)
                continue;
            if (!runs.isEmpty() && runs.last().second >= x - 1)
                runs.last().second = x;
            else
                runs.append({x, x});
        }
        const char* const sliders[6] = {"chred", "chgreen", "chblue", "chthick", "chwidth", "chheight"};
        QCOMPARE(runs.size(), 6);
        for (int i = 0; i < 6; ++i) {
            const QRect s = ctl<QSlider>(sliders[i])->geometry();
            const int centre = legend->x() + (runs[i].first + runs[i].second) / 2;
            QVERIFY2(centre >= s.left() && centre <= s.right(),
                     qPrintable(QStringLiteral("letter %1 at %2, slider %3 spans %4..%5")
                                    .arg(i)
                                    .arg(centre)
                                    .arg(sliders[i])
                                    .arg(s.left())
                                    .arg(s.right())));
        }
    }

    void shapes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QList<QPointF>>("on");
        QTest::addColumn<QList<QPointF>>("off");
        // Centre (500, 500), half-sizes 51.
        using P = QList<QPointF>;
        QTest::newRow("0 full cross") << 0 << P{{500, 20}, {20, 500}, {500, 500}} << P{{470, 470}, {449, 300}};
        QTest::newRow("1 open cross") << 1 << P{{500, 20}, {20, 500}, {500, 420}, {600, 500}}
                                      << P{{500, 500}, {500, 470}, {470, 500}};
        QTest::newRow("2 four lines") << 2 << P{{20, 449}, {980, 551}, {449, 20}, {551, 980}, {500, 449}}
                                      << P{{500, 500}, {20, 500}, {500, 20}};
        QTest::newRow("3 corners") << 3 << P{{20, 449}, {980, 551}, {449, 20}, {551, 980}, {20, 551}}
                                   << P{{500, 449}, {449, 500}, {500, 500}};
        QTest::newRow("4 box") << 4 << P{{449, 500}, {551, 500}, {500, 449}, {500, 551}}
                               << P{{500, 500}, {20, 500}, {449, 20}};
        QTest::newRow("5 box and cross") << 5 << P{{449, 480}, {500, 20}, {20, 500}} << P{{480, 480}, {449, 20}};
        QTest::newRow("6 circle") << 6 << P{{551, 500}, {449, 500}, {500, 449}, {500, 551}}
                                  << P{{500, 500}, {500, 20}, {520, 520}};
        QTest::newRow("7 circle and cross") << 7 << P{{551, 500}, {500, 449}, {500, 20}} << P{{480, 480}};
        QTest::newRow("8 none") << 8 << P{} << P{{500, 500}, {500, 20}, {449, 500}, {551, 551}};
    }
    void shapes()
    {
        QFETCH(int, shape);
        QFETCH(QList<QPointF>, on);
        QFETCH(QList<QPointF>, off);
        fake->frame = solid({320, 240}, Qt::darkBlue);
        chooseShape(shape);
        const QColor red(255, 0, 0);
        for (const QPointF& p : on)
            QVERIFY2(near(picture(), p.x(), p.y(), red), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPointF& p : off) {
            QVERIFY2(!near(picture(), p.x(), p.y(), red), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
            QCOMPARE(picture()->point(p.x(), p.y()), QColor(Qt::darkBlue));
        }
    }

    void circleStaysRound()
    {
        chooseShape(6);
        ctl<QScrollBar>("hairlinev")->setValue(300);
        ctl<QScrollBar>("hairlineh")->setValue(700);
        const QColor red(255, 0, 0);
        QVERIFY(near(picture(), 351, 700, red));
        QVERIFY(near(picture(), 300, 649, red));
        QVERIFY(near(picture(), 300 + 36, 700 + 36, red));
        QVERIFY(!near(picture(), 300, 700, red));
    }

    void previews()
    {
        auto preview = [](int k) { return ctl<PictureBox>(QStringLiteral("cstyle_%1").arg(k)); };
        const QColor black(0, 0, 0);
        QVERIFY(near(preview(0), 250, 10, black));
        QVERIFY(near(preview(1), 250, 10, black));
        QVERIFY(!near(preview(1), 250, 250, black));
        QVERIFY(near(preview(2), 10, 175, black));
        QVERIFY(near(preview(4), 175, 250, black));
        QVERIFY(!near(preview(4), 10, 250, black));
        QVERIFY(near(preview(6), 338, 250, black));
        QVERIFY(!near(preview(6), 250, 250, black));
        for (int x = 0; x < preview(8)->width(); x += 3)
            for (int y = 0; y < preview(8)->height(); y += 3)
                QCOMPARE(preview(8)->image().pixelColor(x, y), QColor(Qt::white));
        // Drawn once and kept.
        const QImage before = preview(3)->image();
        QVERIFY(!near(preview(3), 250, 250, black));
        preview(3)->repaint();
        QCOMPARE(preview(3)->image(), before);
    }

    void clipboardGetsTheFrameAlone()
    {
        QClipboard* cb = QGuiApplication::clipboard();
        cb->setText("kept");
        const int beeps = beepCount();
        cmmd(2)->click();
        QCOMPARE(beepCount() - beeps, 1);
        QCOMPARE(cb->text(), QStringLiteral("kept"));

        QImage frame = solid({64, 48}, Qt::gray);
        frame.setPixelColor(3, 4, Qt::green);
        fake->frame = frame;
        window().crosshair();
        cmmd(2)->click();
        QCOMPARE(beepCount() - beeps, 1);
        const QImage got = cb->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(got, frame); // no crosshair on it
    }

    void acquireAndStop()
    {
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Stop"));
        QCOMPARE(fake->calls, (QStringList{"startUp", "live", "start"}));
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Acquire"));
        QCOMPARE(fake->calls.mid(3), (QStringList{"stop", "release"}));
        // A failed start-up: the caption stays, nothing else is asked.
        fake->present = false;
        fake->calls.clear();
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Acquire"));
        QCOMPARE(fake->calls, QStringList{"startUp"});
        // Closing while capturing stops and releases the device.
        fake->present = true;
        cmmd(0)->click();
        fake->calls.clear();
        window().unload();
        QCOMPARE(fake->calls, (QStringList{"stop", "release"}));
    }

    // A camera that fails after starting puts the window back to idle and
    // says why; Acquire then starts afresh.
    void cameraFailsWhileCapturing_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("said");
        QTest::newRow("with reason") << "Camera is no longer available"
                                     << "The camera stopped: Camera is no longer available";
        QTest::newRow("no reason") << "" << "The camera stopped.";
    }
    void cameraFailsWhileCapturing()
    {
        QFETCH(QString, reason);
        QFETCH(QString, said);
        AlertSink alerts;
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Stop"));
        fake->calls.clear();
        fake->fail(reason);
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Acquire"));
        QCOMPARE(fake->calls, (QStringList{"stop", "release"}));
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY2(alerts.texts.at(0).contains(said), qPrintable(alerts.texts.at(0)));
        // A second report of the same failure changes nothing.
        fake->fail(reason);
        QCOMPARE(fake->calls.size(), 2);
        fake->calls.clear();
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Stop"));
        QCOMPARE(fake->calls, (QStringList{"startUp", "live", "start"}));
        QTest::qWait(100);
        QCOMPARE(alerts.texts.size(), 1);
    }

    void noCameraHere()
    {
        if (!QMediaDevices::videoInputs().isEmpty())
            QSKIP("a camera is attached");
        window().unload();
        window().setFrameSource(std::make_unique<CameraSource>());
        fake = nullptr;
        popup("Util_videocrosshair");
        cmmd(0)->click();
        QCOMPARE(cmmd(0)->text(), QStringLiteral("Acquire"));
        auto& cam = static_cast<CameraSource&>(window().frameSource());
        QVERIFY(!cam.capturing());
        QTest::qWait(200); // a few redraws
        QVERIFY(picture()->point(500, 500) == QColor(255, 0, 0));
        window().unload();
        QVERIFY(!window().isLoaded());
    }

    void framesFromTheSink_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("top");
        QTest::addColumn<QByteArray>("bottom");
        using F = QVideoFrameFormat;
        // Blue above, white below.
        const QByteArray yuvBlue("\x29\xf0\x6e", 3), yuvWhite("\xeb\x80\x80", 3);
        QTest::newRow("BGRA") << int(F::Format_BGRA8888) << QSize(640, 480) << QByteArray("\xff\x00\x00\xff", 4)
                              << QByteArray("\xff\xff\xff\xff", 4);
        QTest::newRow("RGBX") << int(F::Format_RGBX8888) << QSize(33, 17) << QByteArray("\x00\x00\xff\x00", 4)
                              << QByteArray("\xff\xff\xff\x00", 4);
        QTest::newRow("I420") << int(F::Format_YUV420P) << QSize(1920, 1080) << yuvBlue << yuvWhite;
        QTest::newRow("YV12 odd") << int(F::Format_YV12) << QSize(7, 5) << yuvBlue << yuvWhite;
        QTest::newRow("NV12") << int(F::Format_NV12) << QSize(320, 240) << yuvBlue << yuvWhite;
        QTest::newRow("NV21 odd") << int(F::Format_NV21) << QSize(9, 9) << yuvBlue << yuvWhite;
        QTest::newRow("YUYV") << int(F::Format_YUYV) << QSize(640, 480) << yuvBlue << yuvWhite;
        QTest::newRow("UYVY 1x2") << int(F::Format_UYVY) << QSize(1, 2) << yuvBlue << yuvWhite;
        QTest::newRow("grey") << int(F::Format_Y8) << QSize(100, 100) << QByteArray("\x00", 1)
                              << QByteArray("\xff", 1);
    }
    void framesFromTheSink()
    {
        QFETCH(int, format);
        QFETCH(QSize, size);
        QFETCH(QByteArray, top);
        QFETCH(QByteArray, bottom);
        auto cam = std::make_unique<CameraSource>();
        CameraSource* source = cam.get();
        window().setFrameSource(std::move(cam));
        fake = nullptr;
        chooseShape(8);
        const QVideoFrame frame = twoTone(QVideoFrameFormat::PixelFormat(format), size, top, bottom);
        QVERIFY(frame.isValid());
        source->sink()->setVideoFrame(frame);
        window().crosshair();
        const QColor want = format == QVideoFrameFormat::Format_Y8 ? QColor(Qt::black) : QColor(Qt::blue);
        QVERIFY2(close(picture()->point(10, 10), want), qPrintable(picture()->point(10, 10).name()));
        QVERIFY2(close(picture()->point(990, 990), Qt::white), qPrintable(picture()->point(990, 990).name()));
        // The clipboard gets the frame at its own size.
        cmmd(2)->click();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), size);
    }

    void unreadableFramesAreSkipped()
    {
        auto cam = std::make_unique<CameraSource>();
        CameraSource* source = cam.get();
        window().setFrameSource(std::move(cam));
        fake = nullptr;
        chooseShape(8);
        source->sink()->setVideoFrame(
            twoTone(QVideoFrameFormat::Format_BGRA8888, {16, 16}, QByteArray("\x00\xff\x00\xff", 4),
                    QByteArray("\x00\xff\x00\xff", 4)));
        window().crosshair();
        QCOMPARE(picture()->point(500, 500), QColor(Qt::green));
        // Formats it cannot read keep the last good frame on show.
        for (auto pf : {QVideoFrameFormat::Format_Jpeg, QVideoFrameFormat::Format_P010,
                        QVideoFrameFormat::Format_IMC1}) {
            source->sink()->setVideoFrame(QVideoFrame(QVideoFrameFormat({64, 64}, pf)));
            window().crosshair();
            QCOMPARE(picture()->point(500, 500), QColor(Qt::green));
        }
        source->sink()->setVideoFrame(QVideoFrame());
        window().crosshair();
        QCOMPARE(picture()->point(500, 500), QColor(Qt::green));
        QCOMPARE(frameImage(QVideoFrame()), QImage());
    }
};
VOLTARIS_TEST(TestVideoCrosshair);
#include "test_videocrosshair.moc"
