#include "ctrl_9212_bc06tester.h"
#include "latchup.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

struct Ctrl_9212_bc06tester::Ui : Controls {
    QLineEdit* padvolts = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* passcounts = nullptr;
    QLineEdit* failcounts = nullptr;
    QLineEdit* passpercents = nullptr;
    QCheckBox* countenable = nullptr;
    std::array<QCheckBox*, 3> clamp{};
    std::array<QPushButton*, 4> Command1{};
    QComboBox* portselect = nullptr;
};

Ctrl_9212_bc06tester::Ctrl_9212_bc06tester()
    : ToolWindow(QStringLiteral("Ctrl_9212_bc06tester"), QSize(4920, 2880)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_9212_bc06tester::Ui* Ctrl_9212_bc06tester::ui() const
{
    return controls<Ui>();
}

void Ctrl_9212_bc06tester::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("BC06 latchup test"));
    auto* u = makeControls<Ui>();
    auto box = [&](const char* name, const char* text, double top, const QColor& back, bool locked) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), 1200, top, 1080, 315);
        b->setText(QString::fromLatin1(text));
        b->setAlignment(Qt::AlignCenter);
        if (locked)
            setOutputBox(b, back);
        return b;
    };

    placeLabel(form, QStringLiteral("Com Port"), 120, 180, 1020, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1200, 135, 1800, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    placeLabel(form, QStringLiteral("VDD Pads"), 120, 630, 1020, 255, QStringLiteral("Label_vdd"))
        ->setToolTip(QStringLiteral("Voltage on the VDDPADS pin of the module 1.5mS after the test is started"));
    u->padvolts = box("padvolts", "0.000", 600, colors::white, true);
    placeLabel(form, QStringLiteral("Volts"), 2340, 630, 600, 255, QStringLiteral("Label_vddunit"));

    placeLabel(form, QStringLiteral("Threshold"), 120, 1020, 1020, 255, QStringLiteral("Label_threshold"))
        ->setToolTip(QStringLiteral("Voltage on VDDPADS over which the part is considered \"Good\""));
    u->Text1 = box("Text1", "1.500", 990, colors::white, false);
    placeLabel(form, QStringLiteral("Volts"), 2340, 1020, 600, 255, QStringLiteral("Label_thresholdunit"));
    onKeyPress(u->Text1, [this](int key) {
        key = keydecimal(key);
        if (key == 13) {
            reformatThreshold();
            return 0;
        }
        return key;
    });
    onFocusOut(u->Text1, [this] { reformatThreshold(); });

    placeLabel(form, QStringLiteral("Clamps"), 120, 1410, 1020, 255, QStringLiteral("Label_clamps"))
        ->setToolTip(QStringLiteral(
            "This is the pad on the module, a checked box indicates that pin will be grounded during the test"));
    for (int i = 0; i < 3; ++i) {
        auto* c = place<QCheckBox>(form, arrayName("clamp", i), 1200 + i * 600, 1380, 540, 315);
        c->setText(QString::number(5 + i));
        u->clamp[std::size_t(i)] = c;
    }

    placeLabel(form, QStringLiteral("Pass Cycle"), 120, 1800, 1020, 255, QStringLiteral("Label_pass"));
    u->passcounts = box("passcounts", "0", 1770, colors::green, true);
    u->countenable = place<QCheckBox>(form, QStringLiteral("countenable"), 2400, 1800, 255, 255);
    placeLabel(form, QStringLiteral("Fail Cycle"), 120, 2190, 1020, 255, QStringLiteral("Label_fail"));
    u->failcounts = box("failcounts", "0", 2160, colors::red, true);
    placeLabel(form, QStringLiteral("Pass %"), 120, 2580, 1020, 255, QStringLiteral("Label_percent"));
    u->passpercents = box("passpercents", "0", 2550, colors::white, true);

    const char* captions[4] = {"Single Cycle", "Continuous", "Stop", "Clear Counts"};
    for (int i = 0; i < 4; ++i) {
        auto* b = place<QPushButton>(form, arrayName("Command1", i), 3180, 135 + i * 540, 1620, 435);
        b->setText(QString::fromLatin1(captions[i]));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    }
}

void Ctrl_9212_bc06tester::onLoad()
{
    serial.load();
}

void Ctrl_9212_bc06tester::onUnload()
{
    serial.unload();
}

void Ctrl_9212_bc06tester::reformatThreshold()
{
    if (Ui* u = ui())
        u->Text1->setText(fmt(numval(u->Text1->text()), QStringLiteral("0.000")));
}

int Ctrl_9212_bc06tester::clampMask() const
{
    Ui* u = ui();
    return latchup::clampMask({u->clamp[0]->isChecked(), u->clamp[1]->isChecked(), u->clamp[2]->isChecked()});
}

void Ctrl_9212_bc06tester::Command1_Click(int index)
{
    Ui* u = ui();
    if (!u)
        return;
    switch (index) {
    case SingleCycle:
        serial.comwrite(latchup::singleCycle(clampMask()), 10);
        break;
    case Continuous:
        serial.comwrite(latchup::continuous(clampMask()), 10);
        break;
    case Stop:
        serial.comwrite(latchup::stop(), 10);
        break;
    case ClearCounts:
        u->passcounts->setText(QStringLiteral("0"));
        u->failcounts->setText(QStringLiteral("0"));
        u->passpercents->setText(QStringLiteral("0"));
        break;
    default:
        break;
    }
}

void Ctrl_9212_bc06tester::process(int what, const QString&)
{
    if (what != 255 || !ui())
        return;
    const QString frame = serial.nextReply();
    if (const auto mv = latchup::resultMillivolts(frame))
        result(*mv);
}

void Ctrl_9212_bc06tester::result(int millivolts)
{
    Ui* u = ui();
    u->padvolts->setText(fmt(millivolts / 1000.0, QStringLiteral("0.000")));
    const bool pass = latchup::passes(numval(u->padvolts->text()), numval(u->Text1->text()));
    setBackColor(u->padvolts, pass ? colors::green : colors::red);
    if (!u->countenable->isChecked())
        return;
    QLineEdit* count = pass ? u->passcounts : u->failcounts;
    count->setText(QString::number(qint64(numval(count->text())) + 1));
    const double p = numval(u->passcounts->text());
    const double f = numval(u->failcounts->text());
    u->passpercents->setText(fmt(100 * p / (p + f), QStringLiteral("0.000")));
}
