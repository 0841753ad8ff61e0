#include "rlc_resonance.h"
#include "oscillatorcalc.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {
DesignTool::Rules resonanceRules()
{
    DesignTool::Rules r;
    r.change = true;
    r.selectOnFocus = true;
    return r;
}
const QString p6 = QStringLiteral("0.000000");
} // namespace

RLC_resonance::RLC_resonance() : DesignTool(QStringLiteral("RLC_resonance"), QSize(3780, 2520), resonanceRules()) {}

void RLC_resonance::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("L/C/R Resonant Circuit"));
    auto* ui = makeControls<Ui>();
    const Grid grid;
    double top = addBoxes(form,
                          {
                              {0, "Inductance", "uHenry", "10.000000", Kind::Decimal, p6},
                              {1, "Capacitance", "uFarad", "10.000000", Kind::Decimal, p6},
                              {2, "Rc+Rl+R", "Ohms", "1.000000", Kind::Decimal, p6},
                          },
                          grid);
    top += grid.rowHeight / 2;
    const double boxLeft = grid.left + grid.captionWidth + grid.gap;
    const auto output = [&](const QString& name, const QString& caption, const QString& unit) {
        addLabel(form, caption, grid.left, top, grid.captionWidth, grid.boxHeight)
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = place<QLineEdit>(form, name, boxLeft, top, grid.boxWidth, grid.boxHeight);
        edit->setText(QStringLiteral("0.000000"));
        setOutputBox(edit);
        if (!unit.isEmpty())
            addLabel(form, unit, boxLeft + grid.boxWidth + grid.gap, top, grid.unitWidth, grid.boxHeight)
                ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        top += grid.rowHeight;
        return edit;
    };
    ui->fr = output(QStringLiteral("fr"), QStringLiteral("FResonance"), QStringLiteral("Hertz"));
    ui->reactance = output(QStringLiteral("reactance"), QStringLiteral("Xl=Xc"), QStringLiteral("Ohms"));
    ui->q = output(QStringLiteral("q"), QStringLiteral("Q"), QString());
}

void RLC_resonance::confirm(int index)
{
    reformat(index);
    if (value(index) <= 0)
        setText(index, QStringLiteral("0.000001"));
}

void RLC_resonance::boxEnter(int index)
{
    confirm(index);
    refresh(index);
}

void RLC_resonance::boxLeave(int index)
{
    confirm(index); // the change recomputes
}

void RLC_resonance::recalc(int)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    const Resonance r = resonance(value(0) / 1000000, value(1) / 1000000, value(2));
    const auto show = [](QLineEdit* box, double v) {
        const QString t = std::isnan(v) ? QStringLiteral("Error") : fmt(v, p6);
        if (box->text() != t)
            box->setText(t);
    };
    show(ui->fr, r.fr);
    show(ui->reactance, r.reactance);
    show(ui->q, r.q);
}
