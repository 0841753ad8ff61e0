#include "osc_picrcosc.h"
#include "oscillatorcalc.h"

#include "common/formbuilder.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {
DesignTool::Rules picRules()
{
    DesignTool::Rules r;
    // Typing follows every key without limits; Enter and leaving a box
    // confirm the value and bring it within the part's recommendations.
    r.enter = DesignTool::Step::Recalc;
    r.leave = DesignTool::Step::Recalc;
    r.keyUp = true;
    r.selectOnFocus = true;
    return r;
}
const QString p3 = QStringLiteral("0.000");

struct Limits {
    double low;
    double high;
};
// Limits of boxes 0 to 3; a missing one is NaN.
const Limits limits[4] = {
    {3, 100},       // R-clock, kOhms
    {24, qQNaN()},  // C-clock, pF
    {1, 20000},     // frequency, kHz: 0 or less becomes 1
    {2, 5.5},       // Vdd
};
} // namespace

Osc_picrcosc::Osc_picrcosc() : DesignTool(QStringLiteral("Osc_picrcosc"), QSize(4200, 2040), picRules()) {}

void Osc_picrcosc::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("PIC RC Oscillator (Untested)"));
    auto* ui = makeControls<Ui>();
    const Grid grid;
    addBoxes(form,
             {
                 {0, "R-clock", "kOhms", "3.000", Kind::Decimal, p3, "Microchip suggests 3-100K"},
                 {1, "C-clock", "pFarads", "24.000", Kind::Decimal, p3, "Microchip suggests > 20pF"},
                 {2, "Frequency", "kHertz", "0.000", Kind::Decimal, p3},
                 {3, "Vdd", "Volts", "5.000", Kind::Decimal, p3},
                 {4, "Idd-Osc", "mAmps", "0.000", Kind::Result, p3},
             },
             grid);
    box(0)->setToolTip(QStringLiteral("Microchip suggests 3-100K"));
    box(1)->setToolTip(QStringLiteral("Microchip suggests > 20pF"));
    const double left = grid.left + grid.captionWidth + grid.boxWidth + grid.unitWidth + 3 * grid.gap;
    for (int i = 0; i < 3; ++i) {
        ui->dvariable[i] = place<QRadioButton>(form, arrayName(QStringLiteral("dvariable"), i), left,
                                               grid.top + i * grid.rowHeight, 255, grid.boxHeight);
        ui->dvariable[i]->setToolTip(QStringLiteral("Solve for this value"));
    }
    ui->dvariable[2]->setChecked(true);
    for (int i = 0; i < 3; ++i)
        on(ui->dvariable[i], &QRadioButton::toggled, [this, i](bool checked) {
            if (checked)
                dvariable_Click(i);
        });
}

void Osc_picrcosc::onLoad()
{
    dvariable_Click(solved());
    DesignTool::onLoad();
}

int Osc_picrcosc::solved() const
{
    auto* ui = controls<Ui>();
    for (int i = 0; ui && i < 3; ++i)
        if (ui->dvariable[i]->isChecked())
            return i;
    return 2;
}

void Osc_picrcosc::dvariable_Click(int index)
{
    for (int i = 0; i < 3; ++i)
        box(i)->setReadOnly(i == index);
}

void Osc_picrcosc::limit(int index)
{
    if (index < 0 || index > 3)
        return;
    const Limits& l = limits[index];
    double v = value(index);
    if (index == 2 && v <= 0)
        v = l.low;
    if (v < l.low)
        v = l.low;
    if (v > l.high)
        v = l.high;
    put(index, v, p3);
}

void Osc_picrcosc::recalc(int which)
{
    limit(which);
    const double r = value(0), c = value(1), f = value(2), vdd = value(3);
    // The current uses the R now in its box, before a solved R replaces it.
    if (vdd > 0)
        put(4, picRcSupply(vdd, r), p3);
    switch (solved()) {
    case 0:
        put(0, picRcResistor(c, f), p3);
        break;
    case 1:
        put(1, picRcCapacitor(r, f), p3);
        break;
    default:
        put(2, picRcFrequency(r, c), p3);
        break;
    }
}
