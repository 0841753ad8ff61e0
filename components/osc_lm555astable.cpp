#include "osc_lm555astable.h"
#include "oscillatorcalc.h"

#include "common/formbuilder.h"
#include "common/scrollnotify.h"

#include <QSlider>

namespace {
DesignTool::Rules lm555Rules()
{
    DesignTool::Rules r;
    r.enter = DesignTool::Step::ReformatRecalc;
    r.leave = DesignTool::Step::ReformatRecalc;
    r.selectOnFocus = true;
    return r;
}
const QString kOhms = QStringLiteral("######0.000");
const QString uFarads = QStringLiteral("###0.000000");
} // namespace

Osc_lm555astable::Osc_lm555astable()
    : DesignTool(QStringLiteral("Osc_lm555astable"), QSize(3720, 4560), lm555Rules())
{
}

void Osc_lm555astable::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("LM555 Astable timing"));
    auto* ui = makeControls<Ui>();
    Grid grid;
    grid.captionWidth = 1215;
    grid.boxWidth = 1335;
    grid.unitWidth = 735;
    const Box slider{}; // a row left free for a slider
    addBoxes(form,
             {
                 {0, "R1 (8 to 7)", "kOhm", "50.000", Kind::Decimal, kOhms},
                 slider,
                 {5, "Limit", "kOhm", "1.000", Kind::Decimal, kOhms},
                 {1, "R2 (7 to 6)", "kOhm", "50.000", Kind::Decimal, kOhms},
                 slider,
                 {6, "Limit", "kOhm", "1.000", Kind::Decimal, kOhms},
                 {2, "CT", "uFarad", "1.000000", Kind::Decimal, uFarads},
                 {},
                 {7, "R1 (8 to 7)", "kOhm", "0", Kind::Result},
                 {8, "R2 (7 to 6)", "kOhm", "0", Kind::Result},
                 {3, "Duty Cycle", "%", "0.000", Kind::Result},
                 {4, "Frequency", "Hz", "0.000", Kind::Result},
             },
             grid);
    const double sliderLeft = grid.left + grid.captionWidth + grid.gap;
    for (int i = 0; i < 2; ++i) {
        const double top = grid.top + grid.rowHeight * (1 + 3 * i);
        auto* s = place<QSlider>(form, arrayName(QStringLiteral("Slider1"), i), sliderLeft, top - 30,
                                 grid.boxWidth, grid.rowHeight);
        s->setOrientation(Qt::Horizontal);
        s->setRange(0, 100);
        s->setSingleStep(1);
        s->setPageStep(10);
        s->setValue(0);
        ui->Slider1[i] = s;
        onScrollBar(*this, s, [this] { refresh(-1); }, [this] { refresh(-1); });
    }
}

void Osc_lm555astable::reformat(int)
{
    for (int i : {0, 1, 5, 6})
        put(i, value(i), kOhms);
    put(2, value(2), uFarads);
}

void Osc_lm555astable::recalc(int)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    const Lm555Astable t = lm555Astable(value(0), ui->Slider1[0]->value(), value(5), value(1),
                                        ui->Slider1[1]->value(), value(6), value(2));
    // A resistance below 0 (only a pasted sign makes one) has no meaning.
    put(7, t.r1 >= 0 ? t.r1 / 1000 : qQNaN(), kOhms);
    put(8, t.r2 >= 0 ? t.r2 / 1000 : qQNaN(), kOhms);
    put(3, t.duty, QStringLiteral("##0.000"));
    put(4, t.freq, QStringLiteral("#######0.000"));
}
