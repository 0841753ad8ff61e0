// Figures for the diode leakage controller: "0020" reports streamed through
// a pseudo-terminal as fast as the board side can write, with both logs
// ticked; every report must reach both logs.

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
#include <QFile>
#include <QLineEdit>
#include <cstdio>

namespace {

qint64 lines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readAll().count("\r\n");
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
    if (!w.serial.portopen) {
        std::printf("diode stream: the pseudo-terminal did not open\n");
        return;
    }
    QString logs[2];
    for (int k = 0; k < 2; ++k) {
        form->findChild<QCheckBox*>(arrayName(QStringLiteral("logtofile"), k))->setChecked(true);
        logs[k] = form->findChild<QLineEdit*>(arrayName(QStringLiteral("outfilename"), k))->text();
    }
    QByteArray stream;
    for (int k = 0; k < count; ++k)
        stream += "!0020," + QByteArray::number(2500 + k % 10000) + ',' + QByteArray::number(k % 4096) + ",1\r";
    QElapsedTimer clock;
    clock.start();
    sim.send(stream);
    while (lines(logs[1]) < count && clock.elapsed() < 300000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    const double s = clock.nsecsElapsed() / 1e9;
    const qint64 got0 = lines(logs[0]), got1 = lines(logs[1]);
    // At 115200 baud, 10 bits a character.
    const double wireRate = 11520.0 / (double(stream.size()) / count);
    std::printf("diode %d reports (%.1f KB): %8.1f ms  %9.0f reports/s (a 115200-baud line carries %.0f/s)  "
                "logged %lld / %lld  lost %lld\n",
                count, stream.size() / 1e3, s * 1e3, count / s, wireRate, got0, got1,
                qint64(count) - std::min(got0, got1));
    std::fflush(stdout);
    w.unload();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initchars();
    streamReports(1000);
    streamReports(20000);
    FormSlots::shutdown();
    return 0;
}
