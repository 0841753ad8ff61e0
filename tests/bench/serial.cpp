// Figures for the serial layer: framing long reply streams (the cost must
// grow linearly with the stream), and replies streamed through a
// pseudo-terminal into a window that follows the serial pattern, as fast as
// the board side can write. Both check that every reply came out once, in
// order and intact (a checksum over the replies in order against the
// stream's own).
//
//   bench_serial [--smoke]

#include "bench/benchkit.h"
#include "support/boardsim.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <cstdio>

namespace {

const QString CR(QChar(13));

// Folds one framed reply into a checksum of the replies in order.
quint64 fold(quint64 sum, QStringView reply)
{
    return sum * 1000003u + qHash(reply);
}

// A stream of board replies of about `bytes` characters, their count, and
// the checksum of the replies as the framer gives them.
QString replyStream(qsizetype bytes, int& count, quint64& sum)
{
    QString s;
    s.reserve(bytes + 64);
    count = 0;
    sum = 0;
    while (s.size() < bytes) {
        const QString reply = QStringLiteral("0014,%1,%2,3FF").arg(count % 65536, 4, 16, QChar(u'0')).arg(count % 1000);
        s += u'!' + reply + CR;
        sum = fold(sum, reply);
        ++count;
    }
    return s;
}

void frameStream(qsizetype bytes, int chunk)
{
    int count = 0;
    quint64 expected = 0;
    const QString stream = replyStream(bytes, count, expected);
    QElapsedTimer clock;
    clock.start();
    QString buffer;
    int got = 0;
    quint64 sum = 0;
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        buffer += QStringView(stream).mid(at, chunk);
        while (framerHasReply(CR, buffer)) {
            const QString reply = framer(QStringLiteral("!"), CR, buffer);
            if (!reply.isEmpty()) {
                sum = fold(sum, reply);
                ++got;
            }
        }
    }
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("framer %5.1f MB in %6d-char reads: %8.1f ms  %7.1f MB/s  %9.0f replies/s  (%d of %d)\n",
                bytes / 1e6, chunk, s * 1e3, bytes / 1e6 / s, got / s, got, count);
    std::fflush(stdout);
    bench::verdict().check(got == count && sum == expected, "framer: %d of %d replies, %s", got, count,
                           sum == expected ? "in order" : "not the replies sent");
}

class Bench_controller : public ToolWindow {
public:
    Bench_controller() : ToolWindow(QStringLiteral("Bench_controller"), QSize(3000, 1000)) {}
    SerialController serial{*this, [] { return QStringLiteral("115200,n,8,1"); },
                            [this](int what, const QString&) {
                                if (what != 255)
                                    return;
                                const QString reply = serial.nextReply();
                                if (reply.isEmpty())
                                    return;
                                sum = fold(sum, reply);
                                ++replies;
                            }};
    qint64 replies = 0;
    quint64 sum = 0;
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
    if (!bench::verdict().check(w.serial.portopen, "stream: the pseudo-terminal did not open")) {
        w.unload();
        return;
    }
    w.replies = 0;
    w.sum = 0;
    int made = 0;
    quint64 expected = 0;
    const QByteArray stream = replyStream(qsizetype(count) * 21, made, expected).toLatin1();
    QElapsedTimer clock;
    clock.start();
    sim.send(stream);
    bench::waitUntil([&] { return w.replies >= made; }, 120000);
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("pty stream %d replies, %.1f MB: %8.1f ms  %7.2f MB/s  %9.0f replies/s  lost %lld\n", made,
                stream.size() / 1e6, s * 1e3, stream.size() / 1e6 / s, w.replies / s,
                (long long)(made - w.replies));
    std::fflush(stdout);
    bench::verdict().check(w.replies == made && w.sum == expected, "pty stream: %lld of %d replies, %s",
                           (long long)w.replies, made, w.sum == expected ? "in order" : "not the replies sent");
    w.unload();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TempFolders folders;
    initchars();
    if (bench::smokeRun(argc, argv)) {
        for (int chunk : {64, 4096, 200000})
            frameStream(200000, chunk);
        streamThroughPty(5000);
        FormSlots::shutdown();
        return bench::verdict().exitCode();
    }
    for (int chunk : {64, 4096})
        for (qsizetype mb : {1, 10})
            frameStream(mb * 1000 * 1000, chunk);
    for (qsizetype mb : {1, 10, 20}) // one read holding everything
        frameStream(mb * 1000 * 1000, int(mb * 1000 * 1000));
    streamThroughPty(100000);
    streamThroughPty(500000);
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
