#include "ctrl_6141_batterygauge.h"
#include "batterygauge.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/logfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <array>

using namespace batterygauge;

struct Ctrl_6141_batterygauge::Ui : Controls {
    std::array<QLineEdit*, 3> dataval{};
    QRadioButton* Option1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QComboBox* portselect = nullptr;
};

Ctrl_6141_batterygauge::Ctrl_6141_batterygauge()
    : ToolWindow(QStringLiteral("Ctrl_6141_batterygauge"), QSize(4680, 2520)),
      serial(*this, [] { return QStringLiteral("9600,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
    serial.setAfterOpen([this] { serial.rs232.setDtr(true); });
}

Ctrl_6141_batterygauge::Ui* Ctrl_6141_batterygauge::ui() const
{
    return controls<Ui>();
}

void Ctrl_6141_batterygauge::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Battery Gauge diagnostic test"));
    auto* u = makeControls<Ui>();
    const double widths[3] = {1800, 1200, 900};
    double left = 240;
    for (int i = 0; i < 3; ++i) {
        u->dataval[size_t(i)] = place<QLineEdit>(form, arrayName(QStringLiteral("dataval"), i), left, 360, widths[i], 315);
        left += widths[i] + 120;
    }
    u->Option1 = place<QRadioButton>(form, QStringLiteral("Option1"), 240, 900, 255, 255);
    // A lone indicator: it must be able to go off again.
    u->Option1->setAutoExclusive(false);
    u->Option1->setFocusPolicy(Qt::NoFocus);
    u->Check1 = place<QCheckBox>(form, QStringLiteral("Check1"), 720, 870, 1800, 315);
    u->Check1->setText(QStringLiteral("Log to File"));
    placeLabel(form, QStringLiteral("Com Port"), 240, 1500, 1000);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1320, 1455, 2040, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
}

void Ctrl_6141_batterygauge::onLoad()
{
    serial.load();
    initchars();
}

// The window instance outlives its form: the port goes when the form goes.
void Ctrl_6141_batterygauge::onUnload()
{
    serial.unload();
}

void Ctrl_6141_batterygauge::process(int what, const QString&)
{
    // Every complete report in the buffer, in one go: handling one is quick,
    // and the port stays deaf while its data event waits on the event loop.
    if (what != 255)
        return;
    while (Ui* u = ui()) {
        if (aborted() || !framerHasReply(cc.CR, serial.ReceiveBuffer))
            break;
        const QString frame = serial.nextReply();
        if (frame.isEmpty())
            continue;
        const Report r = decodeReport(frame);
        u->dataval[0]->setText(frame);
        u->dataval[1]->setText(r.value);
        u->dataval[2]->setText(r.trend);
        u->Option1->setChecked(!u->Option1->isChecked());
        if (u->Check1->isChecked() && r.valid)
            logValue(r.value);
    }
}

// A log that cannot be written stops the logging with one alert, so the
// stream of reports never becomes a stream of alerts.
void Ctrl_6141_batterygauge::logValue(const QString& value)
{
    const QString path = logPath();
    if (appendLog(path, QString(), value))
        return;
    ui()->Check1->setChecked(false);
    alertbox(QStringLiteral("Log file error"),
             QStringLiteral("Cannot write ") + path + QStringLiteral(".  Logging to file was switched off."), 0);
}
