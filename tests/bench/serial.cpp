// Figures for the serial layer: framing long reply streams (the cost must
// grow linearly with the stream), and replies streamed through a
// pseudo-terminal into a window that follows the serial pattern, as fast as
// the board side can write, counting that none is lost.

#include "support/boardsim.h"
#include "support/ptypair.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <cstdio>

namespace {

const QString CR(QChar(13));

// A stream of board replies of about `bytes` characters, and their count.
QString replyStream(qsizetype bytes, int& count)
{
    QString s;
    s.reserve(bytes + 64);
    count = 0;
    while (s.size() < bytes) {
        s += QStringLiteral("!0014,%1,%2,3FF").arg(count % 65536, 4, 16, QChar(u'0')).arg(count % 1000) + CR;
        ++count;
    }
    return s;
}

void frameStream(qsizetype bytes, int chunk)
{
    int count = 0;
    const QString stream = replyStream(bytes, count);
    QElapsedTimer clock;
    clock.start();
    QString buffer;
    int got = 0;
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        buffer += QStringView(stream).mid(at, chunk);
        while (framerHasReply(CR, buffer))
            if (!framer(QStringLiteral("!"), CR, buffer).isEmpty())
                ++got;
    }
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("framer %5.1f MB in %6d-char reads: %8.1f ms  %7.1f MB/s  %9.0f replies/s  (%d of %d)\n",
                bytes / 1e6, chunk, s * 1e3, bytes / 1e6 / s, got / s, got, count);
    std::fflush(stdout);
}

class Bench_controller : public ToolWindow {
public:
    Bench_controller() : ToolWindow(QStringLiteral("Bench_controller"), QSize(3000, 1000)) {}
    SerialController serial{*this, [] { return QStringLiteral("115200,n,8,1"); },
                            [this](int what, const QString&) {
                                if (what == 255 && !serial.nextReply().isEmpty())
                                    ++replies;
                            }};
    qint64 replies = 0;
    QComboBox* box = nullptr;

protected:
    void build(QWidget* form) override
    {
        box = place<QComboBox>(form, QStringLiteral("portselect"), 0, 0, 2800, 315);
        serial.attach(box);
    }
    void onLoad() override { serial.load(); }
    void onUnload() override { serial.unload(); }
};

void streamThroughPty(int count)
{
    PtyPair pty;
    BoardSimulator sim(pty);
    auto& w = FormSlots::get<Bench_controller>();
    w.load();
    w.box->setCurrentIndex(w.box->findText(pty.path()));
    if (!w.serial.portopen) {
        std::printf("stream: the pseudo-terminal did not open\n");
        return;
    }
    w.replies = 0;
    int made = 0;
    const QByteArray stream = replyStream(qsizetype(count) * 21, made).toLatin1();
    QElapsedTimer clock;
    clock.start();
    sim.send(stream);
    while (w.replies < made && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("pty stream %d replies, %.1f MB: %8.1f ms  %7.2f MB/s  %9.0f replies/s  lost %lld\n", made,
                stream.size() / 1e6, s * 1e3, stream.size() / 1e6 / s, w.replies / s,
                (long long)(made - w.replies));
    std::fflush(stdout);
    w.unload();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initchars();
    for (int chunk : {64, 4096})
        for (qsizetype mb : {1, 10})
            frameStream(mb * 1000 * 1000, chunk);
    for (qsizetype mb : {1, 10, 20}) // one read holding everything
        frameStream(mb * 1000 * 1000, int(mb * 1000 * 1000));
    streamThroughPty(100000);
    streamThroughPty(500000);
    FormSlots::shutdown();
    return 0;
}
