// Figures for the real-time-clock tester's offset measurement: a simulated
// PCF8563 leading the PC clock by a fixed amount, polled by the window with
// "Auto" ticked, each second's offset logged; prints the spread of 60
// successive offsets against the true lead. The log is followed as it
// grows; every offset must be there and near the true lead.
//
//   bench_rtcoffset [lead in ms, default 250 | --smoke]

#include "sensors/rtcboards.h"

#include "bench/benchkit.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "sensors/ctrl_8990_pcf8563.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <cstdio>

// The simulator the window tests use.
#include "sensors/rtcboards.cpp"

namespace {

void measure(qint64 leadMs, int count)
{
    TempFolders folders;
    RunningClock clock(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15, 400)));
    ClockOverride over(clock);
    PtyPair pty;
    RtcBridge sim(pty);
    sim.offsetMs = leadMs;
    auto& w = FormSlots::get<Ctrl_8990_pcf8563>();
    w.load();
    QWidget* form = w.form();
    auto* ports = form->findChild<QComboBox*>(QStringLiteral("portselect"));
    ports->setCurrentIndex(ports->findText(pty.path()));
    if (!bench::verdict().check(w.serial.portopen, "rtc offset: the pseudo-terminal did not open")) {
        w.unload();
        return;
    }
    form->findChild<QCheckBox*>(QStringLiteral("logtofile"))->setChecked(true);
    form->findChild<QCheckBox*>(QStringLiteral("autocheck"))->setChecked(true);
    QElapsedTimer run;
    run.start();
    bench::GrowingFile log(Ctrl_8990_pcf8563::logPath());
    QList<qint64> offsets;
    bench::waitUntil(
        [&] {
            for (const QByteArray& line : log.newLines())
                if (!line.isEmpty())
                    offsets << line.split(',').value(1).toLongLong();
            return offsets.size() >= count;
        },
        (count + 10) * 1000);
    w.unload();
    offsets = offsets.mid(0, count);
    if (!bench::verdict().check(offsets.size() == count, "rtc offset: %lld of %d measurements in %.1f s",
                                qint64(offsets.size()), count, run.elapsed() / 1e3) &&
        offsets.isEmpty())
        return;
    const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
    double sum = 0, squares = 0;
    for (const qint64 o : offsets)
        sum += double(o);
    const double mean = sum / double(offsets.size());
    for (const qint64 o : offsets)
        squares += (double(o) - mean) * (double(o) - mean);
    std::printf("rtc offset, true lead %+lld ms: %lld offsets in %.1f s  min %+lld  max %+lld  spread %lld ms  "
                "mean %+.1f  sd %.1f ms  (poll 20 ms, tick 5 ms)\n",
                leadMs, qint64(offsets.size()), run.elapsed() / 1e3, *lo, *hi, *hi - *lo, mean,
                std::sqrt(squares / double(offsets.size())));
    std::fflush(stdout);
    // A reply is late by milliseconds: an offset a second away from the lead
    // is a wrong reading, not a slow one.
    bench::verdict().check(*lo > leadMs - 1000 && *hi < leadMs + 1000,
                           "rtc offset: offsets %+lld to %+lld ms for a lead of %+lld ms", *lo, *hi, leadMs);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    initchars();
    if (bench::smokeRun(argc, argv)) {
        measure(250, 3);
    } else {
        const qint64 lead = argc > 1 ? QByteArray(argv[1]).toLongLong() : 250;
        measure(lead, 60);
    }
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
