#include "rlc_rdivider1.h"
#include "dividercalc.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/rlc_getresistor.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
DesignTool::Rules dividerRules()
{
    DesignTool::Rules r;
    r.resultColor = QColor(); // the dependent box is chosen at run time
    r.enter = DesignTool::Step::ReformatRecalc;
    r.leave = DesignTool::Step::ReformatRecalc;
    r.change = true;
    r.selectOnFocus = true;
    return r;
}
const QString p4 = QStringLiteral("0.0000");
} // namespace

RLC_rdivider1::RLC_rdivider1() : DesignTool(QStringLiteral("RLC_rdivider1"), QSize(5520, 2280), dividerRules()) {}

void RLC_rdivider1::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Resistor Divider"));
    auto* ui = makeControls<Ui>();
    Grid g;
    g.top = 480;
    g.captionWidth = 600;
    addBoxes(form,
             {
                 {0, "R1", "K", "2.0000", Kind::Decimal, p4, "Upper resistor, from the input to the output"},
                 {1, "R2", "K", "1.0000", Kind::Decimal, p4, "Lower resistor, from the output to ground"},
                 {2, "Vin", "V", "5.0000", Kind::Decimal, p4},
                 {3, "Vout", "V", "0.0000", Kind::Decimal, p4},
             },
             g);
    const double optionLeft = g.left + g.captionWidth + g.boxWidth + g.unitWidth + 3 * g.gap;
    addLabel(form, QStringLiteral("Select the dependent variable"), optionLeft - 300, 120, 2700, 255);
    for (int k = 0; k < 4; ++k) {
        auto* o = place<QRadioButton>(form, arrayName("lockedval", k), optionLeft, g.top + k * g.rowHeight, 300,
                                      g.boxHeight);
        ui->lockedval[k] = o;
        on(o, &QRadioButton::toggled, [this, k](bool on) {
            if (on)
                lockedval_Click(k);
        });
    }
    ui->lockedval[3]->setChecked(true);
    for (int i : {0, 1})
        onDoubleClick(box(i), [this, i] { pickResistor(i); });
}

int RLC_rdivider1::dependent() const
{
    auto* ui = controls<Ui>();
    for (int k = 0; ui && k < 4; ++k)
        if (ui->lockedval[k]->isChecked())
            return k;
    return 0;
}

void RLC_rdivider1::lockedval_Click(int index)
{
    for (int k = 0; k < 4; ++k) {
        QLineEdit* b = box(k);
        if (!b)
            continue;
        b->setReadOnly(k == index);
        setBackColor(b, k == index ? colors::paleCyan : colors::white);
    }
}

void RLC_rdivider1::pickResistor(int index)
{
    const auto ohms = RLC_getresistor::pick();
    if (!ohms || !isLoaded())
        return;
    put(index, *ohms / 1000, p4);
}

void RLC_rdivider1::boxEnter(int index)
{
    settle(index);
}

void RLC_rdivider1::boxLeave(int index)
{
    settle(index);
}

void RLC_rdivider1::settle(int index)
{
    m_settling = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_settling};
    runStep(Step::ReformatRecalc, index);
}

void RLC_rdivider1::recalc(int which)
{
    const int k = dependent();
    auto values = [this] { return DividerValues{value(0), value(1), value(2), value(3)}; };
    const DividerRepair repair = dividerRepair(k, values());
    if (repair.box >= 0) {
        // The box being typed in is repaired only on Enter or on leaving it,
        // never under the user's keys.
        if (repair.box == which && !m_settling) {
            setText(k, QStringLiteral("---"));
            return;
        }
        put(repair.box, repair.value, p4);
    }
    put(k, dividerSolve(k, values()), p4);
}
