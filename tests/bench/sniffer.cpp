// Figures for the RS232 sniffer: records streamed through a pseudo-terminal
// at the board's full rate (256000 baud, 8,533 records a second) and as
// fast as the line takes them, at depth 32768. The window's six rows must
// equal those of the same records appended directly: none lost, aligned.
//
//   bench_sniffer [--smoke]

#include "displays/snifferboard.h"

#include "bench/benchkit.h"
#include "support/boardsim.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "displays/ctrl_8546_rs232sniffer.h"
#include "displays/snifferrows.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace {

// Record i carries i's low byte on A and the next byte on B, so a lost or
// doubled record shows as a mismatch anywhere in the depth.
QByteArray records(int from, int n)
{
    QByteArray out;
    for (int i = from; i < from + n; ++i)
        out += SnifferBoard::record(i & 0xFF, (i >> 8) & 0xFF);
    return out;
}

void run(const char* label, int count, bool paced)
{
    PtyPair pty;
    BoardSimulator sim(pty);
    auto& w = FormSlots::get<Ctrl_8546_rs232sniffer>();
    w.load();
    QWidget* form = w.form();
    auto* depth = form->findChild<QComboBox*>(QStringLiteral("bdepth"));
    depth->setCurrentIndex(depth->findText(QStringLiteral("32768")));
    auto* ports = form->findChild<QComboBox*>(QStringLiteral("portselect"));
    ports->setCurrentIndex(ports->findText(pty.path()));
    if (!bench::verdict().check(w.serial.portopen, "sniffer: the pseudo-terminal did not open")) {
        w.unload();
        return;
    }
    SnifferRows expected;
    expected.setDepth(32768);
    for (int i = 0; i < count; ++i)
        expected.append(i & 0xFF, (i >> 8) & 0xFF);

    QElapsedTimer clock;
    clock.start();
    const double cpu0 = bench::cpuSeconds();
    int sent = 0;
    const int perTick = 85; // 10 ms of records at 256000 baud
    QTimer pacer;
    pacer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pacer, &QTimer::timeout, [&] {
        // Catch up when a tick came late, as the board's clock would.
        const int due = paced ? qMin(count, int(clock.elapsed() * perTick / 10)) : count;
        if (due > sent) {
            sim.sendRaw(records(sent, due - sent));
            sent = due;
        }
    });
    pacer.start(10);
    if (!paced) {
        sim.sendRaw(records(0, count));
        sent = count;
    }
    bench::waitUntil([&] { return sent >= count; }, 120000);
    bench::waitUntil(
        [&] { return sim.pending() == 0 && w.rows.row(SnifferRows::BLow) == expected.row(SnifferRows::BLow); },
        120000);
    pacer.stop(); // it also woke the waits above while nothing arrived
    const double s = clock.nsecsElapsed() / 1e9;
    const double cpu = bench::cpuSeconds() - cpu0;
    bool same = true;
    for (auto r : {SnifferRows::AText, SnifferRows::BText, SnifferRows::AHigh, SnifferRows::ALow, SnifferRows::BHigh,
                   SnifferRows::BLow})
        same = same && w.rows.row(r) == expected.row(r);
    // Let the last redraw show.
    bench::serveFor(100);
    std::printf("sniffer %-9s %6d records: %8.1f ms  %8.0f records/s  CPU %5.1f%%  rows %s  held %s (of %d)\n", label,
                count, s * 1e3, count / s, 100.0 * cpu / s, same ? "equal (none lost, aligned)" : "DIFFER",
                qPrintable(form->findChild<QLabel*>(QStringLiteral("charcount"))->text()), expected.count());
    std::fflush(stdout);
    bench::verdict().check(same, "sniffer %s: the rows differ from the records sent", label);
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
        run("full rate", 4267, true); // half a second
        run("flood", 40000, false);   // past the depth
    } else {
        run("full rate", 42667, true); // five seconds of the board at 256000 baud
        run("flood", 200000, false);
    }
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
