// Figures for the BC06 latch-up tester: "0010" results streamed through a
// pseudo-terminal as fast as the board side can write, counted by the
// window with counting on; the pass and fail counts must equal those sent.
//
//   bench_latchup [--smoke]

#include "bench/benchkit.h"
#include "support/boardsim.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "sensors/ctrl_9212_bc06tester.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <cstdio>

namespace {

double shown(QWidget* form, const char* name)
{
    return numval(form->findChild<QLineEdit*>(QString::fromLatin1(name))->text());
}

void streamResults(int count)
{
    PtyPair pty;
    BoardSimulator sim(pty);
    auto& w = FormSlots::get<Ctrl_9212_bc06tester>();
    w.load();
    QWidget* form = w.form();
    auto* ports = form->findChild<QComboBox*>(QStringLiteral("portselect"));
    ports->setCurrentIndex(ports->findText(pty.path()));
    if (!bench::verdict().check(w.serial.portopen, "latch-up stream: the pseudo-terminal did not open")) {
        w.unload();
        return;
    }
    form->findChild<QCheckBox*>(QStringLiteral("countenable"))->setChecked(true);
    // Every tenth cycle fails against the 1.500 V threshold.
    QByteArray stream;
    int fails = 0;
    for (int k = 0; k < count; ++k) {
        const int mv = k % 10 == 9 ? 1400 : 1600;
        fails += mv < 1500;
        stream += "!0010" + QByteArray::number(mv) + "\r";
    }
    QElapsedTimer clock;
    clock.start();
    sim.send(stream);
    auto counted = [&] { return shown(form, "passcounts") + shown(form, "failcounts"); };
    bench::waitUntil([&] { return counted() >= count; }, 120000);
    const double s = clock.nsecsElapsed() / 1e9;
    std::printf("latch-up %d results (%.1f KB): %8.1f ms  %9.0f results/s  counted %.0f (fails %.0f of %d)  "
                "lost %.0f\n",
                count, stream.size() / 1e3, s * 1e3, counted() / s, counted(), shown(form, "failcounts"), fails,
                count - counted());
    std::fflush(stdout);
    bench::verdict().check(shown(form, "passcounts") == count - fails && shown(form, "failcounts") == fails,
                           "latch-up: %.0f passes and %.0f fails counted, %d and %d sent", shown(form, "passcounts"),
                           shown(form, "failcounts"), count - fails, fails);
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
        streamResults(1000);
    } else {
        streamResults(10000);
        streamResults(100000);
    }
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
