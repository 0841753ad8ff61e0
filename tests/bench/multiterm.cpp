// Figures for the dual serial terminal under a continuous stream: one and
// then both terminals receive 115200 baud (11,520 bytes/s each) through
// pseudo-terminals, in text and in hexadecimal mode, with the window shown.
// Reported per run: bytes streamed, the line's backlog (bytes the far end
// could not hand over yet) at its peak and at the end, the worst lateness of
// a 10 ms timer (how responsive the event loop stays; its 99.9th percentile
// and the count of ticks later than 100 ms tell a loaded machine's odd stall
// from steady work), the processor time spent per second streamed, and the
// resident memory against the size of the buffers. Every terminal's buffer
// must then hold exactly what was streamed: nothing lost, doubled or out of
// order. The benchmark's own loop sleeps between events, so the processor
// figure is the window's work (and the 10 ms pacing timer's).
//
//   bench_multiterm [seconds per run, default 180 | --smoke]

#include "bench/benchkit.h"
#include "support/boardsim.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "utilities/rs232_multiterm.h"
#include "utilities/termrules.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int bytesPerSecond = 11520;

double residentMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// What a terminal's buffer holds after receiving `bytes`: in text mode the
// stream itself (printable characters and CR LF pairs), in hex mode "XX "
// per byte.
QString expectedBuffer(const QByteArray& bytes, bool hex)
{
    if (!hex)
        return QString::fromLatin1(bytes);
    QString out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes)
        out += termrules::hexShown(uchar(c));
    return out;
}

// Printable lines for text mode; every byte value for hex mode.
QByteArray streamPiece(qint64 from, int n, bool hex)
{
    QByteArray b(n, 0);
    for (int i = 0; i < n; ++i) {
        const qint64 k = from + i;
        if (hex)
            b[i] = char(k & 255);
        else
            b[i] = k % 72 == 70 ? '\r' : k % 72 == 71 ? '\n' : char(32 + k % 95);
    }
    return b;
}

void run(int terminals, bool hex, int seconds)
{
    RS232_multiterm& w = FormSlots::get<RS232_multiterm>();
    std::vector<std::unique_ptr<PtyPair>> ptys;
    std::vector<std::unique_ptr<BoardSimulator>> sims;
    for (int k = 0; k < terminals; ++k) {
        ptys.push_back(std::make_unique<PtyPair>());
        sims.push_back(std::make_unique<BoardSimulator>(*ptys.back()));
    }
    w.load();
    w.show();
    for (int k = 0; k < terminals; ++k) {
        w.form()->findChild<QCheckBox*>(arrayName(QStringLiteral("hexdisplay"), k))->setChecked(hex);
        auto* ps = w.form()->findChild<QComboBox*>(arrayName(QStringLiteral("portselect"), k));
        w.form()->findChild<QComboBox*>(arrayName(QStringLiteral("baudrateselect"), k))->setCurrentText("115200");
        ps->setCurrentIndex(ps->findText(ptys[std::size_t(k)]->path()));
        if (!w.portopen[std::size_t(k)]) {
            bench::verdict().check(false, "terminal %d: the pseudo-terminal did not open", k + 1);
            w.unload();
            return;
        }
    }
    const double rssBefore = residentMB();
    qint64 sent = 0;
    qsizetype peakBacklog = 0;
    std::vector<qint64> late;
    const double cpuBefore = bench::cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    pace.setInterval(10);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        late.push_back(std::max<qint64>(0, now - lastTick - 10));
        lastTick = now;
        const qint64 due = now * bytesPerSecond / 1000 - sent;
        if (due <= 0)
            return;
        const QByteArray piece = streamPiece(sent, int(due), hex);
        for (auto& s : sims) {
            s->send(piece);
            peakBacklog = std::max(peakBacklog, s->pending());
        }
        sent += due;
    });
    pace.start();
    bench::serveFor(seconds * 1000);
    pace.stop();
    const double cpu = bench::cpuSeconds() - cpuBefore;
    std::sort(late.begin(), late.end());
    const qint64 worstLate = late.empty() ? 0 : late.back();
    const qint64 p999 = late.empty() ? 0 : late[late.size() * 999 / 1000];
    const auto stalls = std::count_if(late.begin(), late.end(), [](qint64 ms) { return ms > 100; });
    qsizetype endBacklog = 0;
    for (auto& s : sims)
        endBacklog = std::max(endBacklog, s->pending());
    // Let the last bytes through before measuring and checking the buffers.
    const QString expected = expectedBuffer(streamPiece(0, int(sent), hex), hex);
    bench::waitUntil(
        [&] {
            for (int k = 0; k < terminals; ++k)
                if (w.buffer[std::size_t(k)].size() < expected.size())
                    return false;
            return true;
        },
        30000);
    for (int k = 0; k < terminals; ++k) {
        const QString& got = w.buffer[std::size_t(k)];
        qsizetype same = 0;
        while (same < got.size() && same < expected.size() && got[same] == expected[same])
            ++same;
        bench::verdict().check(got == expected,
                               "terminal %d, %s: %lld of %lld buffer characters, the first difference at %lld", k + 1,
                               hex ? "hex" : "text", (long long)got.size(), (long long)expected.size(),
                               (long long)same);
    }
    const double rssAfter = residentMB();
    qsizetype shown = 0;
    for (int k = 0; k < terminals; ++k)
        shown += w.buffer[std::size_t(k)].size();
    std::printf("%d terminal%s %-4s %4d s: %9lld bytes each, backlog peak %6lld end %6lld bytes, "
                "timer delay worst %4lld ms, 99.9%% %3lld ms, >100 ms %lld of %lld ticks, cpu %4.1f%%, "
                "buffers %6.1f MB, resident %6.1f -> %6.1f MB\n",
                terminals, terminals > 1 ? "s" : " ", hex ? "hex" : "text", seconds, (long long)sent,
                (long long)peakBacklog, (long long)endBacklog, (long long)worstLate, (long long)p999, (long long)stalls,
                (long long)late.size(), 100 * cpu / seconds, shown * 2 / 1e6, rssBefore,
                rssAfter);
    std::fflush(stdout);
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
    const int seconds = bench::smokeRun(argc, argv) ? 1 : argc > 1 ? std::max(1, atoi(argv[1])) : 180;
    for (bool hex : {false, true})
        for (int terminals : {1, 2})
            run(terminals, hex, seconds);
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
