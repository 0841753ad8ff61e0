#include "psutil_inductorcore.h"

#include "coreselector.h"
#include "magnetics.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QLabel>


PSUtil_inductorcore::PSUtil_inductorcore() : DesignTool("PSUtil_inductorcore", QSize(6600, 4800), coresel::rules()) {}

void PSUtil_inductorcore::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Solid Core Inductor Calculator"));
    auto* ui = makeControls<Ui>();
    using K = Kind;
    Grid g;
    g.top = 600;
    g.captionWidth = 3000;
    g.boxWidth = 1455;
    g.unitWidth = 1200;
    addBoxes(form,
             {
                 {0, "Saturation flux density, (BSAT)", "Gauss", "0", K::Whole, "0"},
                 {1, "Working flux factor", "PerCent", "60", K::Whole, "0"},
                 {2, "Maximum working flux", "Gauss", "0", K::Result, "0"},
                 {3, "Cross sectional area (Ae)", "cm2", "0.0000", K::Decimal, "0.0000"},
                 {4, "Al, (nHy x N2) or (mHy @ 1000t)", "", "0.0000", K::Decimal, "0.0000"},
                 {5, "Minimum inductance", "uHy", "0.0000", K::Decimal, "0.0000"},
                 {6, "Turns required", "Turns", "0.0000", K::Whole, "0.0000"},
                 {7, "Inductor: Max current density (NIsat)", "Amp-Turns", "0.0000", K::Result, "0.0000"},
                 {8, "Max throughput current", "Amps", "0.0000", K::Result, "0.0000"},
                 {9, "Max energy storage capacity", "mJoules", "0.0000", K::Result, "0.0000"},
             },
             g);
    auto* core = place<QLabel>(form, arrayName("Label1", 20), g.left, 120, g.captionWidth, 315);
    core->setText(QStringLiteral("Core"));
    core->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui->coreselector = coresel::place(*this, form, g.left + g.captionWidth + g.gap, 120,
                                      g.boxWidth + g.gap + g.unitWidth,
                                      [this](int index) { coreselector_Click(index); });
    coresel::hookSheet(*this, core, ui->coreselector);
}

void PSUtil_inductorcore::onLoad()
{
    DesignTool::onLoad();
    coresel::fill(controls<Ui>()->coreselector);
}

int PSUtil_inductorcore::keyUpWhich(int index) const
{
    return index == 6 ? -6 : -1;
}

void PSUtil_inductorcore::keyTyped(int index, int)
{
    // A typed core figure no longer belongs to the chosen core.
    if (index == 0 || index == 3 || index == 4)
        if (Ui* ui = controls<Ui>())
            ui->coreselector->setCurrentIndex(0);
}

void PSUtil_inductorcore::coreselector_Click(int index)
{
    if (index < 1)
        return;
    put(0, numval(coresel::field(index, 11)), "0");
    put(3, numval(coresel::field(index, 3)), "0.0000");
    put(4, numval(coresel::field(index, 2)), "0.0000");
    refresh(-1);
}

void PSUtil_inductorcore::recalc(int which)
{
    using namespace magnetics;
    if (which >= 0 && which <= 9) {
        if (which == 2 || which >= 7)
            return;
        reformat(which);
        struct Floor {
            int box;
            const char* text;
        };
        static const Floor floors[] = {{0, "3300"},     {1, "60"},       {3, "0.1080"},
                                       {4, "100.0000"}, {5, "100.0000"}, {6, "10.0000"}};
        for (const Floor& f : floors)
            if (f.box == which && value(which) <= 0)
                setText(which, f.text);
        if (which == 1 && value(1) > 100)
            setText(1, "100");
    }

    const double al = value(4);
    if (which == 6 || which == -6)
        put(5, inductanceForTurns(value(6), al), "0.0000");
    else
        put(6, turnsForInductance(value(5), al), "0.0000");
    put(2, workingFlux(value(0), value(1)), "0");
    // The later steps read back the rounded figures the user sees.
    put(9, coreEnergy(value(2), value(3), al), "0.0000");
    put(8, throughputCurrent(value(9), value(5)), "0.0000");
    put(7, value(8) * value(6), "0.0000");
}
