// Figures for the diode leakage controller: "0020" reports streamed through
// a pseudo-terminal as fast as the board side can write, with both logs
// ticked; every report must reach both logs, in order and intact. The logs
// are followed as they grow, reading only what each pass added.
//
//   bench_diodestream [--smoke]

#include "bench/benchkit.h"
#include "support/boardsim.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "sensors/ctrl_9619_diodeir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// The report the board sends k-th, without its CR.
QByteArray report(int k)
{
    return "!0020," + QByteArray::number(2500 + k % 10000) + ',' + QByteArray::number(k % 4096) + ",1";
}

// A log line holds the report as framed (without its "!"), then the
// temperature and current shown for it.
bool logged(const QByteArray& line, int k)
{
    const QByteArray framed = report(k).mid(1);
    return line.startsWith(framed) && line.count(',') == framed.count(',') + 2 &&
           line[framed.size()] == ',';
}

void streamReports(int count)
{
    TempFolders tf;
    PtyPair pty;
    BoardSimulator sim(pty);
    auto& w = FormSlots::get<Ctrl_9619_diodeir>();
    w.load();
    QWidget* form = w.form();
    auto* ports = form->findChild<QComboBox*>(QStringLiteral("portselect"));
    ports->setCurrentIndex(ports->findText(pty.path()));
    if (!bench::verdict().check(w.serial.portopen, "diode stream: the pseudo-terminal did not open")) {
        w.unload();
        return;
    }
    std::unique_ptr<bench::GrowingFile> logs[2];
    for (int k = 0; k < 2; ++k) {
        form->findChild<QCheckBox*>(arrayName(QStringLiteral("logtofile"), k))->setChecked(true);
        logs[k] = std::make_unique<bench::GrowingFile>(
            form->findChild<QLineEdit*>(arrayName(QStringLiteral("outfilename"), k))->text());
    }
    QByteArray stream;
    for (int k = 0; k < count; ++k)
        stream += report(k) + '\r';
    // Each log's lines are checked as they come, against the report of
    // their position.
    int wrong[2] = {0, 0};
    int firstWrong[2] = {-1, -1};
    QByteArray wrongLine[2];
    auto follow = [&] {
        for (int k = 0; k < 2; ++k) {
            const qint64 before = logs[k]->lineCount();
            const QList<QByteArray> lines = logs[k]->newLines();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const int at = int(before + i);
                if (at < count && logged(lines[i], at))
                    continue;
                if (wrong[k]++ == 0) {
                    firstWrong[k] = at;
                    wrongLine[k] = lines[i];
                }
            }
        }
        return logs[0]->lineCount() >= count && logs[1]->lineCount() >= count;
    };
    QElapsedTimer clock;
    clock.start();
    sim.send(stream);
    bench::waitUntil(follow, 300000);
    const double s = clock.nsecsElapsed() / 1e9;
    const qint64 got0 = logs[0]->lineCount(), got1 = logs[1]->lineCount();
    // At 115200 baud, 10 bits a character.
    const double wireRate = 11520.0 / (double(stream.size()) / count);
    std::printf("diode %d reports (%.1f KB): %8.1f ms  %9.0f reports/s (a 115200-baud line carries %.0f/s)  "
                "logged %lld / %lld  lost %lld\n",
                count, stream.size() / 1e3, s * 1e3, count / s, wireRate, got0, got1,
                qint64(count) - std::min(got0, got1));
    std::fflush(stdout);
    for (int k = 0; k < 2; ++k) {
        bench::verdict().check(logs[k]->lineCount() == count, "diode log %d: %lld lines for %d reports", k + 1,
                               logs[k]->lineCount(), count);
        bench::verdict().check(wrong[k] == 0, "diode log %d: %d lines wrong, the first at line %d: \"%s\"", k + 1,
                               wrong[k], firstWrong[k] + 1, wrongLine[k].constData());
    }
    w.unload();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    initchars();
    if (bench::smokeRun(argc, argv)) {
        streamReports(300);
    } else {
        streamReports(1000);
        streamReports(20000);
    }
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
