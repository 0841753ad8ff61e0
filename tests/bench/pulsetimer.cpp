// Figures for the pulse position timer: a "500K Block" (500,000 bytes,
// 83,333 time stamps) through the fake USB FIFO, decoded by the window's
// 1 ms poll and recorded to the capture file.

#include "displays/pulseboard.h"

#include "support/tempfolders.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "displays/ctrl_8546_pulsetimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initchars();
    TempFolders folders;
    auto* board = new PulseBoard;
    board->trainLength = 0;
    setFifoBackend(std::unique_ptr<FifoBackend>(board));
    for (bool record : {false, true}) {
        auto& w = FormSlots::get<Ctrl_8546_pulsetimer>();
        w.load();
        QWidget* form = w.form();
        const QString path = folders.workFile(QStringLiteral("Capture.csv"));
        form->findChild<QLineEdit*>(QStringLiteral("capturefile"))->setText(path);
        form->findChild<QListWidget*>(QStringLiteral("list_fifos_list"))->setCurrentRow(1);
        form->findChild<QCheckBox*>(QStringLiteral("recorder"))->setChecked(record);
        form->findChild<QPushButton*>(arrayName(QStringLiteral("cmmd"), 0))->click();
        auto* counter = form->findChild<QLineEdit*>(QStringLiteral("pulsecounter"));
        const QString last = QString::number(499998 / 6);
        QElapsedTimer clock;
        clock.start();
        form->findChild<QPushButton*>(arrayName(QStringLiteral("cmmd"), 3))->click();
        while (counter->text() != last && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double ms = clock.nsecsElapsed() / 1e6;
        form->findChild<QPushButton*>(arrayName(QStringLiteral("cmmd"), 1))->click();
        QFile f(path);
        qsizetype lines = 0;
        if (record && f.open(QIODevice::ReadOnly))
            lines = f.readAll().count('\n');
        std::printf("pulse timer 500K block, %s: %8.1f ms to decode %s stamps (%.0f stamps/s)%s\n",
                    record ? "recorded" : "shown only", ms, qPrintable(counter->text()), counter->text().toDouble() / ms * 1e3,
                    record ? qPrintable(QStringLiteral(", %1 CSV lines").arg(lines)) : "");
        std::fflush(stdout);
        w.unload();
    }
    setFifoBackend(nullptr);
    FormSlots::shutdown();
    return 0;
}
