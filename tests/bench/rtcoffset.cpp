// Figures for the real-time-clock tester's offset measurement: a simulated
// PCF8563 leading the PC clock by a fixed amount, polled by the window with
// "Auto" ticked, each second's offset logged; prints the spread of 60
// successive offsets against the true lead.

#include "sensors/rtcboards.h"

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

QList<qint64> loggedOffsets()
{
    QList<qint64> offsets;
    const QString text = QString::fromLatin1(readFile(Ctrl_8990_pcf8563::logPath()));
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        offsets << line.section(u',', 1).toLongLong();
    return offsets;
}

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
    if (!w.serial.portopen) {
        std::printf("rtc offset: the pseudo-terminal did not open\n");
        return;
    }
    form->findChild<QCheckBox*>(QStringLiteral("logtofile"))->setChecked(true);
    form->findChild<QCheckBox*>(QStringLiteral("autocheck"))->setChecked(true);
    QElapsedTimer run;
    run.start();
    while (loggedOffsets().size() < count && run.elapsed() < (count + 10) * 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 200);
    const QList<qint64> offsets = loggedOffsets().mid(0, count);
    w.unload();
    if (offsets.isEmpty()) {
        std::printf("rtc offset: no measurement in %.1f s\n", run.elapsed() / 1e3);
        return;
    }
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
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    initchars();
    const qint64 lead = argc > 1 ? QByteArray(argv[1]).toLongLong() : 250;
    measure(lead, 60);
    FormSlots::shutdown();
    return 0;
}
