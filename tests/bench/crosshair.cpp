// Times the video crosshair's redraw (the 75 ms timer's work) of a
// 1920 x 1080 frame with a crosshair: once for a frame already converted,
// and once for a new camera frame each time (I420 and YUYV through the
// video sink, converted by mapping).

#include "app/a_main.h"
#include "common/toolwindow.h"
#include "support/tempfolders.h"
#include "utilities/framesource.h"
#include "utilities/util_videocrosshair.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
struct StillSource : FrameSource {
    QImage frame;
    bool startUp() override { return true; }
    void setLive(bool) override {}
    void start() override {}
    void stop() override {}
    void release() override {}
    QImage currentFrame() override { return frame; }
};

QVideoFrame grey(QVideoFrameFormat::PixelFormat pf, int shade)
{
    QVideoFrame f(QVideoFrameFormat(QSize(1920, 1080), pf));
    f.map(QVideoFrame::WriteOnly);
    for (int p = 0; p < f.planeCount(); ++p)
        std::memset(f.bits(p), p == 0 ? shade : 128, size_t(f.mappedBytes(p)));
    f.unmap();
    return f;
}

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.2f ms (min %.2f, max %.2f, %d runs; the timer allows 75 ms)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), int(ms.size()));
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TempFolders folders;
    mainWindow().show();
    const int runs = 41;

    auto still = std::make_unique<StillSource>();
    still->frame = QImage(1920, 1080, QImage::Format_RGB32);
    still->frame.fill(Qt::darkGray);
    Util_videocrosshair& w = FormSlots::get<Util_videocrosshair>();
    w.setFrameSource(std::move(still));
    popup(QStringLiteral("Util_videocrosshair"));
    for (int shape : {0, 7}) {
        w.form()->findChild<QRadioButton*>(QStringLiteral("chtype_%1").arg(shape))->click();
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            w.crosshair();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        report(shape == 0 ? "1920x1080 RGB frame, full cross" : "1920x1080 RGB frame, circle and cross", ms);
    }

    auto cam = std::make_unique<CameraSource>();
    CameraSource* source = cam.get();
    w.setFrameSource(std::move(cam));
    for (auto pf : {QVideoFrameFormat::Format_YUV420P, QVideoFrameFormat::Format_YUYV}) {
        std::vector<QVideoFrame> frames{grey(pf, 60), grey(pf, 200)};
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            source->sink()->setVideoFrame(frames[size_t(i % 2)]);
            QElapsedTimer t;
            t.start();
            w.crosshair();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        report(pf == QVideoFrameFormat::Format_YUV420P ? "new 1920x1080 I420 frame each redraw"
                                                       : "new 1920x1080 YUYV frame each redraw",
               ms);
    }
    w.unload();
    destroyMainWindow();
    return 0;
}
