// Times the video crosshair's redraw (the 75 ms timer's work) of a
// 1920 x 1080 frame with a crosshair: once for a frame already converted,
// and once for a new camera frame each time (I420 and YUYV through the
// video sink, converted by mapping). Each redraw must show its own frame
// (the shade of a corner) with the crosshair over it (its colour at the
// centre).
//
//   bench_crosshair [--smoke]   (5 redraws each instead of 41)

#include "app/a_main.h"
#include "bench/benchkit.h"
#include "common/picturebox.h"
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

// The video sink brings up GStreamer's device monitor, which loads the
// PulseAudio client library; that keeps its context until the process ends,
// no leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libpulse.so\n";
}

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

// The shade at a corner of the picture, and whether the crosshair (which
// starts at the centre) stands out from the frame there.
void checkShown(Util_videocrosshair& w, const char* what, int run, bool dark)
{
    const QImage& image = w.form()->findChild<PictureBox*>(QStringLiteral("Picture1"))->image();
    const int corner = qGray(image.pixel(2, 2));
    const QRgb centre = image.pixel(image.width() / 2, image.height() / 2);
    bench::verdict().check(dark ? corner < 110 : corner > 150, "%s, redraw %d: corner shade %d, a %s frame was sent",
                           what, run, corner, dark ? "dark" : "light");
    bench::verdict().check(centre != image.pixel(2, 2), "%s, redraw %d: no crosshair at the centre (%08X)", what, run,
                           centre);
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
    const int runs = bench::smokeRun(argc, argv) ? 5 : 41;

    auto still = std::make_unique<StillSource>();
    still->frame = QImage(1920, 1080, QImage::Format_RGB32);
    still->frame.fill(QColor(40, 40, 40));
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
            checkShown(w, "RGB frame", i, true);
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
            checkShown(w, pf == QVideoFrameFormat::Format_YUV420P ? "I420 frame" : "YUYV frame", i, i % 2 == 0);
        }
        report(pf == QVideoFrameFormat::Format_YUV420P ? "new 1920x1080 I420 frame each redraw"
                                                       : "new 1920x1080 YUYV frame each redraw",
               ms);
    }
    w.unload();
    destroyMainWindow();
    return bench::verdict().exitCode();
}
