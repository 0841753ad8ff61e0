#include "ctrl_7547_dualdac.h"
#include "dualdac.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/newestfirstlog.h"
#include "common/numtext.h"
#include "common/scrollnotify.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>

using namespace dualdac;

struct Ctrl_7547_dualdac::Ui : Controls {
    std::array<QScrollBar*, 2> vset{};
    QLineEdit* vlimit = nullptr;
    std::array<QLineEdit*, 2> vout{};
    std::array<QLineEdit*, 2> adc{};
    std::array<QLineEdit*, 2> dac{};
    std::array<QLineEdit*, 2> tout{};
    std::array<QPushButton*, 3> serialcmmd{};
    std::array<QCheckBox*, 2> datatoscreen{};
    NewestFirstLog* txdata = nullptr;
    NewestFirstLog* rxdata = nullptr;
    QLabel* comstatus = nullptr;
    QComboBox* baudrateselect = nullptr;
    QComboBox* portselect = nullptr;
};

Ctrl_7547_dualdac::Ctrl_7547_dualdac()
    : ToolWindow(QStringLiteral("Ctrl_7547_dualdac"), QSize(7920, 6600)),
      serial(*this,
             [this] {
                 const Ui* u = ui();
                 return (u ? u->baudrateselect->currentText() : QStringLiteral("115200")) + QStringLiteral(",n,8,1");
             },
             [this](int what, const QString& text) { process(what, text); })
{
    serial.setAfterOpen([this] { serial.rs232.setDtr(true); });
}

Ctrl_7547_dualdac::Ui* Ctrl_7547_dualdac::ui() const
{
    return controls<Ui>();
}

void Ctrl_7547_dualdac::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Dual DAC driver"));
    auto* u = makeControls<Ui>();
    auto label = [&](int i, const char* text, double left, double top, double width) {
        placeLabel(form, QString::fromLatin1(text), left, top, width, 255, arrayName(QStringLiteral("Label"), i));
    };
    auto pair = [&](std::array<QLineEdit*, 2>& boxes, const char* name, const char* text, double top) {
        for (int i = 0; i < 2; ++i) {
            boxes[size_t(i)] = place<QLineEdit>(form, arrayName(QString::fromLatin1(name), i), 1320 + i * 1140, top,
                                                1020, 315);
            boxes[size_t(i)]->setText(QString::fromLatin1(text));
        }
    };

    for (int i = 0; i < 2; ++i) {
        QScrollBar* bar = place<QScrollBar>(form, arrayName(QStringLiteral("vset"), i), 240 + i * 480, 600, 300, 3300);
        bar->setOrientation(Qt::Vertical);
        u->vset[size_t(i)] = bar;
        onScrollBar(
            *this, bar,
            [this] {
                translate_temps();
                if (QWidget* f = formIfLoaded())
                    f->repaint();
                if (serial.portopen)
                    scroll_tx();
            },
            [this] { translate_temps(); });
    }

    label(2, "Vout Max", 1320, 645, 1140);
    u->vlimit = place<QLineEdit>(form, QStringLiteral("vlimit"), 2460, 600, 1020, 315);
    u->vlimit->setText(QStringLiteral("2.6"));
    label(3, "Vout target - 12bits", 1320, 1080, 2200);
    pair(u->vout, "vout", "0.0000", 1350);
    label(4, "Vout reading - 10bits", 1320, 1830, 2200);
    pair(u->adc, "adc", "0.0000", 2100);
    label(5, "Temperature", 1320, 2580, 2200);
    pair(u->tout, "tout", "0.0", 2850);
    pair(u->dac, "dac", "0", 3540);

    const char* captions[3] = {"Read DACs", "Write DACs", "Scroll to  DACs"};
    const double tops[3] = {2070, 3510, 1320};
    for (int i = 0; i < 3; ++i) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("serialcmmd"), i), 3720, tops[i], 1560, 375);
        b->setText(QString::fromLatin1(captions[i]));
        u->serialcmmd[size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { serialcmmd_Click(i); });
    }

    label(9, "Com Port", 5640, 600, 1800);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 5640, 870, 2040, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
    label(8, "Baud Rate", 5640, 1320, 1800);
    u->baudrateselect = place<QComboBox>(form, QStringLiteral("baudrateselect"), 5640, 1590, 2040, 315);
    u->baudrateselect->addItems({"19200", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600",
                                 "115200", "230400"});
    onKeyPress(u->baudrateselect, [](int) { return 0; });
    on(u->baudrateselect, &QComboBox::currentIndexChanged, [this] { baudrateselect_Click(); });
    u->comstatus = placeLabel(form, QStringLiteral("Ready"), 5640, 2100, 1200, 255, QStringLiteral("comstatus"));

    const QFont fixed = fixedFont();
    const char* logNames[2] = {"txdata", "rxdata"};
    const char* logCaptions[2] = {"Tx Data Log", "Rx Data Log"};
    for (int i = 0; i < 2; ++i) {
        const double left = 240 + i * 3840;
        auto* c = place<QCheckBox>(form, arrayName(QStringLiteral("datatoscreen"), i), left, 4260, 255, 255);
        u->datatoscreen[size_t(i)] = c;
        label(6 + i, logCaptions[i], left + 300, 4260, 2000);
        auto* log = place<NewestFirstLog>(form, QString::fromLatin1(logNames[i]), left, 4560, 3600, 1920);
        log->setFont(fixed);
        (i == 0 ? u->txdata : u->rxdata) = log;
        onDoubleClick(log->viewport(), [this] {
            if (Ui* v = ui()) {
                v->txdata->clear();
                v->rxdata->clear();
            }
        });
    }
}

void Ctrl_7547_dualdac::onLoad()
{
    Ui* u = ui();
    serial.load();
    u->baudrateselect->setCurrentIndex(10);
    serial.rs232.setSpeed(int(numval(u->baudrateselect->currentText())));
    set_limits();
    translate_temps();
}

void Ctrl_7547_dualdac::onUnload()
{
    serial.unload();
}

int Ctrl_7547_dualdac::level(int channel) const
{
    const QScrollBar* bar = ui()->vset[size_t(channel)];
    return bar->maximum() - bar->value();
}

void Ctrl_7547_dualdac::set_limits()
{
    Ui* u = ui();
    if (!u)
        return;
    const int max = barMax(numval(u->vlimit->text()));
    for (QScrollBar* bar : u->vset) {
        bar->setRange(0, max);
        bar->setValue(max);
    }
}

void Ctrl_7547_dualdac::translate_temps()
{
    Ui* u = ui();
    if (!u)
        return;
    const double vlimit = numval(u->vlimit->text());
    for (int i = 0; i < 2; ++i)
        u->vout[size_t(i)]->setText(
            fmt(targetVolts(vlimit, level(i), u->vset[size_t(i)]->maximum()), QStringLiteral("0.0000")));
}

void Ctrl_7547_dualdac::scroll_tx()
{
    if (!ui())
        return;
    comwrite(writeCommand(level(0), level(1)), 0);
}

void Ctrl_7547_dualdac::comwrite(const QString& text, int wait)
{
    Ui* u = ui();
    if (!u)
        return;
    if (!serial.portopen) {
        serial.comwrite(text, wait); // the "no port" alert
        return;
    }
    u->comstatus->setText(QStringLiteral("Wait"));
    u->comstatus->repaint();
    if (u->datatoscreen[0]->isChecked())
        u->txdata->addLine(txLogLine(text));
    serial.comwrite(text, wait);
    if (Ui* v = ui()) {
        v->comstatus->setText(QStringLiteral("Ready"));
        v->comstatus->repaint();
    }
}

void Ctrl_7547_dualdac::serialcmmd_Click(int index)
{
    switch (index) {
    case 0:
        comwrite(readCommand(), 10);
        break;
    case 1:
        writeDacs();
        break;
    case 2:
        scroll_tx();
        break;
    default:
        break;
    }
}

// A code the board cannot take is refused with the box named, rather than
// sent cut to its last four hex digits.
void Ctrl_7547_dualdac::writeDacs()
{
    Ui* u = ui();
    if (!u)
        return;
    std::array<int, 2> codes{};
    for (int i = 0; i < 2; ++i) {
        const auto code = dacCode(u->dac[size_t(i)]->text());
        if (!code) {
            alertbox(QStringLiteral("DAC code error"),
                     QStringLiteral("The channel ") + QString::number(i) +
                         QStringLiteral(" DAC code must be a number from 0 to 65535.  Nothing was sent."),
                     0);
            return;
        }
        codes[size_t(i)] = *code;
    }
    comwrite(writeCommand(codes[0], codes[1]), 10);
}

void Ctrl_7547_dualdac::baudrateselect_Click()
{
    Ui* u = ui();
    if (!u)
        return;
    const int port = u->portselect->currentIndex();
    if (port < 1)
        return;
    u->portselect->setCurrentIndex(0);
    if (QWidget* f = formIfLoaded())
        f->repaint();
    if (Ui* v = ui())
        v->portselect->setCurrentIndex(port);
}

void Ctrl_7547_dualdac::process(int what, const QString&)
{
    if (what != 255)
        return;
    while (Ui* u = ui()) {
        if (!framerHasReply(cc.CR, serial.ReceiveBuffer))
            return;
        const QString frame = serial.nextReply();
        if (frame.isEmpty())
            continue;
        if (isReading(frame))
            for (int i = 0; i < 2; ++i)
                u->adc[size_t(i)]->setText(fmt(readingVolts(frame, i), QStringLiteral("0.0000")));
        if (u->datatoscreen[1]->isChecked())
            u->rxdata->addLine(frame);
    }
}
