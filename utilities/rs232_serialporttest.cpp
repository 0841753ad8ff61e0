#include "rs232_serialporttest.h"

#include "common/formbuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <array>

struct RS232_serialporttest::Ui : Controls {
    QComboBox* portselect = nullptr;
    // DTR, RTS (outputs), DSR, CTS, DCD, RI (inputs).
    std::array<QCheckBox*, 6> Check1{};
    std::array<QLineEdit*, 2> Text1{};
    QTimer* Timer1 = nullptr;
};

RS232_serialporttest::RS232_serialporttest()
    : ToolWindow(QStringLiteral("RS232_serialporttest"), QSize(3360, 3480)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); }, [this](int what, const QString&) { process(what); })
{
    serial.setAfterOpen([this] { afterOpen(); });
}

RS232_serialporttest::Ui* RS232_serialporttest::ui() const
{
    return controls<Ui>();
}

void RS232_serialporttest::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("RS232"));
    auto* u = makeControls<Ui>();

    placeLabel(form, QStringLiteral("Port"), 120, 165, 600, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 720, 120, 2520, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    placeLabel(form, QStringLiteral("Outputs"), 120, 600, 1200, 255, QStringLiteral("Label_outputs"));
    placeLabel(form, QStringLiteral("Inputs"), 120, 1560, 1200, 255, QStringLiteral("Label_inputs"));
    // Top to bottom as on a 9-pin connector's wiring list: pin, two blanks, line.
    const char* captions[6] = {"4  DTR", "7  RTS", "6  DSR", "8  CTS", "1  DCD", "9  RI"};
    for (int i = 0; i < 6; ++i) {
        const double top = i < 2 ? 870 + i * 300 : 1830 + (i - 2) * 300;
        auto* c = place<QCheckBox>(form, arrayName(QStringLiteral("Check1"), i), 240, top, 1200, 255);
        c->setText(QString::fromLatin1(captions[i]));
        u->Check1[std::size_t(i)] = c;
        on(c, &QCheckBox::toggled, [this, i] { Check1_Click(i); });
    }

    placeLabel(form, QStringLiteral("TXD"), 1800, 600, 1200, 255, QStringLiteral("Label_txd"));
    placeLabel(form, QStringLiteral("RXD"), 1800, 1560, 1200, 255, QStringLiteral("Label_rxd"));
    for (int i = 0; i < 2; ++i) {
        auto* t = place<QLineEdit>(form, arrayName(QStringLiteral("Text1"), i), 1800, i == 0 ? 870 : 1830, 1440, 315);
        u->Text1[std::size_t(i)] = t;
    }
    onKeyPress(u->Text1[0], [this](int key) { return Text1_KeyPress(key); });

    on(&serial.rs232, &PortController::ring, [this](bool on) { ui()->Check1[5]->setChecked(on); });

    u->Timer1 = new QTimer(form);
    u->Timer1->setObjectName(QStringLiteral("Timer1"));
    u->Timer1->setInterval(100);
    on(u->Timer1, &QTimer::timeout, [this] { Timer1_Timer(); });
}

void RS232_serialporttest::onLoad()
{
    serial.load();
}

void RS232_serialporttest::afterOpen()
{
    // The boxes and the lines never disagree: a new port takes the boxes'
    // states at once (a refusal fails the open).
    Ui* u = ui();
    serial.rs232.setDtr(u->Check1[0]->isChecked());
    serial.rs232.setRts(u->Check1[1]->isChecked());
    u->Timer1->start();
}

void RS232_serialporttest::onUnload()
{
    serial.unload();
}

void RS232_serialporttest::process(int what)
{
    if (what != 255 || !isLoaded())
        return;
    // Only the last character of a delivery is shown; an empty read leaves
    // the box as it was.
    if (!serial.ReceiveBuffer.isEmpty())
        ui()->Text1[1]->setText(serial.ReceiveBuffer.right(1));
    serial.ReceiveBuffer.clear();
}

void RS232_serialporttest::Check1_Click(int index)
{
    const bool ticked = ui()->Check1[std::size_t(index)]->isChecked();
    // An input ticked by hand while no port is open is cleared by the next
    // tick, as the poll would while a port is open.
    if (index >= 2 && ticked && !serial.portopen) {
        if (!ui()->Timer1->isActive())
            ui()->Timer1->start();
        return;
    }
    try {
        if (index == 0)
            serial.rs232.setDtr(ticked);
        else if (index == 1)
            serial.rs232.setRts(ticked);
    } catch (const VError& e) {
        serial.portError(e);
    }
}

int RS232_serialporttest::Text1_KeyPress(int key)
{
    const bool sendable = (key >= '0' && key <= '9') || (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z');
    if (sendable) {
        const QString ch{QChar(char16_t(key))};
        serial.comwrite(ch, 0);
        // A failed write has already been reported and the port dropped.
        if (serial.portopen && isLoaded())
            ui()->Text1[0]->setText(ch);
    }
    return 0;
}

void RS232_serialporttest::Timer1_Timer()
{
    Ui* u = ui();
    // The lines are read only from an open port: a failed one has been
    // reported once by the layer, and a closed one has no lines to read.
    // Once its boxes are cleared, ticks would change nothing until a port
    // opens again, which starts the timer.
    if (!serial.portopen) {
        for (int i = 2; i < 6; ++i)
            u->Check1[std::size_t(i)]->setChecked(false);
        u->Timer1->stop();
        return;
    }
    u->Check1[2]->setChecked(serial.rs232.dsr());
    u->Check1[3]->setChecked(serial.rs232.cts());
    u->Check1[4]->setChecked(serial.rs232.dcd());
}
