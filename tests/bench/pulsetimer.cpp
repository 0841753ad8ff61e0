// Figures for the pulse position timer: a "500K Block" (500,000 bytes,
// 83,333 time stamps) through the fake USB FIFO, decoded by the window's
// poll, shown only and then recorded to the capture file. The counter must
// reach the last stamp, and the capture file must hold one line per stamp,
// numbered in order, each 1 ms after the one before.
//
//   bench_pulsetimer [--smoke]   (--smoke: a train of 2,000 stamps that
//                                 "Start" brings, checked the same way)

#include "displays/pulseboard.h"

#include "bench/benchkit.h"
#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "displays/ctrl_8546_pulsetimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdio>

namespace {

// Capture line k (from 1): the pulse number and the interval; the first
// pulse has none.
bool captureLineFits(const QByteArray& line, qint64 k)
{
    if (k == 1)
        return line == "1,0,0,0";
    return line.startsWith(QByteArray::number(k) + ",0.0010000,");
}

// The stamps a smoke run's "Start" brings.
constexpr int smokeStamps = 2000;

void decodeBlock(const TempFolders& folders, PulseBoard& board, bool smoke, bool record)
{
    board.trainLength = smoke ? smokeStamps : 0;
    auto& w = FormSlots::get<Ctrl_8546_pulsetimer>();
    w.load();
    QWidget* form = w.form();
    const QString path = folders.workFile(QStringLiteral("Capture.csv"));
    form->findChild<QLineEdit*>(QStringLiteral("capturefile"))->setText(path);
    form->findChild<QListWidget*>(QStringLiteral("list_fifos_list"))->setCurrentRow(1);
    form->findChild<QCheckBox*>(QStringLiteral("recorder"))->setChecked(record);
    form->findChild<QPushButton*>(arrayName(QStringLiteral("cmmd"), 0))->click();
    // Started: the capture file is new from here on.
    bench::GrowingFile capture(path);
    auto* counter = form->findChild<QLineEdit*>(QStringLiteral("pulsecounter"));
    const qint64 stamps = smoke ? smokeStamps : 499998 / 6;
    const QString last = QString::number(stamps);
    QElapsedTimer clock;
    clock.start();
    if (!smoke)
        form->findChild<QPushButton*>(arrayName(QStringLiteral("cmmd"), 3))->click();
    bench::waitUntil([&] { return counter->text() == last; }, 120000);
    const double ms = clock.nsecsElapsed() / 1e6;
    form->findChild<QPushButton*>(arrayName(QStringLiteral("cmmd"), 1))->click();
    bench::verdict().check(counter->text() == last, "pulse timer: the counter shows %s of %lld stamps",
                           qPrintable(counter->text()), stamps);
    qint64 wrong = 0, firstWrong = 0;
    if (record) {
        bench::waitUntil(
            [&] {
                const qint64 before = capture.lineCount();
                const QList<QByteArray> lines = capture.newLines();
                for (qsizetype i = 0; i < lines.size(); ++i)
                    if (!captureLineFits(lines[i], before + i + 1) && wrong++ == 0)
                        firstWrong = before + i + 1;
                return capture.lineCount() >= stamps;
            },
            120000);
        bench::verdict().check(capture.lineCount() == stamps && wrong == 0,
                               "pulse timer: %lld capture lines of %lld stamps, %lld wrong from line %lld",
                               capture.lineCount(), stamps, wrong, firstWrong);
    }
    // A 1 MB/s FIFO brings 166,667 stamps a second.
    std::printf("pulse timer %s, %s: %8.1f ms to decode %s stamps (%.0f stamps/s; the FIFO brings "
                "166667/s)%s\n",
                smoke ? "smoke train" : "500K block", record ? "recorded" : "shown only", ms, qPrintable(counter->text()),
                counter->text().toDouble() / ms * 1e3,
                record ? qPrintable(QStringLiteral(", %1 CSV lines").arg(capture.lineCount())) : "");
    std::fflush(stdout);
    w.unload();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    initchars();
    TempFolders folders;
    const bool smoke = bench::smokeRun(argc, argv);
    auto* board = new PulseBoard;
    setFifoBackend(std::unique_ptr<FifoBackend>(board));
    for (bool record : {false, true})
        decodeBlock(folders, *board, smoke, record);
    setFifoBackend(nullptr);
    FormSlots::shutdown();
    return bench::verdict().exitCode();
}
