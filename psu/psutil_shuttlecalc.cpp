#include "psutil_shuttlecalc.h"

#include "coreselector.h"
#include "magnetics.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QLabel>


PSUtil_shuttlecalc::PSUtil_shuttlecalc() : DesignTool("PSUtil_shuttlecalc", QSize(4500, 3300), coresel::rules()) {}

void PSUtil_shuttlecalc::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Torroid Shuttle Calculator"));
    auto* ui = makeControls<Ui>();
    using K = Kind;
    Grid g;
    g.top = 600;
    addBoxes(form,
             {
                 {0, "Turns", "", "0", K::Whole, "0"},
                 {1, "W/A Factor", "%", "10", K::Whole, "0"},
                 {2, "Turn Length", "mm", "0.000", K::Result, "0.000"},
                 {3, "Winding Length", "mm", "0.000", K::Result, "0.000"},
                 {4, "Shuttle length", "mm", "0.000", K::Decimal, "0.000"},
                 {5, "Shuttle Turns", "", "0", K::Result, "0"},
             },
             g);
    // The core names differ only in their last characters ("3C90", "3C95"):
    // the list takes the whole width of the form so that each shows whole.
    const double coreCaption = 600;
    auto* core = place<QLabel>(form, arrayName("Label1", 10), g.left, 120, coreCaption, 315);
    core->setText(QStringLiteral("Core"));
    core->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const double listLeft = g.left + coreCaption + g.gap;
    ui->coreselector = coresel::place(*this, form, listLeft, 120, 4500 - 120 - listLeft,
                                      [this](int) { refresh(-1); });
    coresel::hookSheet(*this, core, ui->coreselector);
}

void PSUtil_shuttlecalc::onLoad()
{
    DesignTool::onLoad();
    coresel::fill(controls<Ui>()->coreselector);
}

void PSUtil_shuttlecalc::keyTyped(int, int key)
{
    // Enter tidies the inputs before its recalc.
    if (key == 13 && isLoaded())
        tidy();
}

void PSUtil_shuttlecalc::tidy()
{
    if (value(1) <= 0 || value(1) > 100)
        setText(1, "10");
    reformat(0);
    reformat(1);
    reformat(4);
}

void PSUtil_shuttlecalc::recalc(int which)
{
    compute();
    if (which >= 0)
        tidy();
}

void PSUtil_shuttlecalc::compute()
{
    Ui* ui = controls<Ui>();
    const int core = ui->coreselector->currentIndex();
    if (core < 1)
        return;
    const double od = numval(coresel::field(core, 6));
    const double id = numval(coresel::field(core, 7));
    const double height = numval(coresel::field(core, 8));
    const double turnLength = magnetics::shuttleTurnLength(od, id, height, value(1));
    if (!isnum(turnLength)) {
        for (int i : {2, 3, 5})
            setText(i, "---");
        return;
    }
    const double step = value(4) / 5;
    const double turns = value(0);
    put(3, turns * turnLength, "0.000");
    put(2, turnLength, "0.000");
    if (step > 0)
        put(5, turns * turnLength / step, "0");
}
