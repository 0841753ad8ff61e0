#include "psutil_ucc38084.h"
#include "ucc38084calc.h"

#include "common/formbuilder.h"

#include <QLabel>
#include <QSlider>

namespace {
DesignTool::Rules uccRules()
{
    DesignTool::Rules r;
    r.enter = DesignTool::Step::ReformatRecalc;
    r.leave = DesignTool::Step::ReformatRecalc;
    r.keyUp = true;
    r.selectOnFocus = true;
    return r;
}
const QString p4 = QStringLiteral("0.0000");
constexpr int sliderMoved = 100;
} // namespace

PSUtil_ucc38084::PSUtil_ucc38084() : DesignTool(QStringLiteral("PSUtil_ucc38084"), QSize(5100, 4860), uccRules()) {}

void PSUtil_ucc38084::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("UCC3808x PWM Controller"));
    auto* ui = makeControls<Ui>();
    Grid grid;
    grid.left = 720;
    const double bottom = addBoxes(form,
                                   {
                                       {0, "Rtiming", "kOhms", "25.0000", Kind::Decimal, p4},
                                       {1, "Fosc", "kHertz", "0.0000", Kind::Result, p4},
                                       {2, "Fpush-pull", "kHertz", "0.0000", Kind::Result, p4},
                                       {11, "1/2 Cycle", "uSec", "0.0000", Kind::Result, p4},
                                       {3, "Rsense", "Ohms", "0.1000", Kind::Decimal, p4},
                                       {4, "Ilimit", "Amps", "0.0000", Kind::Result, p4},
                                       {8, "Vosc-peak", "Volts", "1.5000", Kind::Fixed},
                                       {9, "Vramp-peak", "Volts", "0.1500", Kind::Decimal, p4},
                                       {10, "Rfeedback", "kOhms", "1.0000", Kind::Decimal, p4},
                                       {5, "RSet", "kOhms", "15.0000", Kind::Result},
                                       {6, "ISet-Pk", "uAmps", "0.0000", Kind::Result, p4},
                                       {7, "ISlope", "uAmps", "0.0000", Kind::Result, p4},
                                   },
                                   grid);
    ui->rtiming = place<QSlider>(form, QStringLiteral("rtiming"), 120, grid.top, 420, bottom - grid.top - 360);
    ui->rtiming->setOrientation(Qt::Vertical);
    ui->rtiming->setRange(0, 100);
    ui->rtiming->setSingleStep(1);
    ui->rtiming->setPageStep(10);
    ui->rtiming->setInvertedAppearance(true); // 0 at the top, as the period grows downwards
    ui->rtiming->setValue(0);
    auto* label = place<QLabel>(form, QStringLiteral("Label2"), 0, bottom - 300, 700, 285);
    label->setText(QStringLiteral("Period-%"));
    label->setAlignment(Qt::AlignCenter);
    on(ui->rtiming, &QSlider::valueChanged, [this] { refresh(sliderMoved); });
}

void PSUtil_ucc38084::recalc(int which)
{
    switch (which) {
    case 0:
        if (value(0) < uccRtMin)
            setText(0, QStringLiteral("25.0000"));
        if (value(0) > uccRtMax)
            setText(0, QStringLiteral("698.0000"));
        break;
    case 3:
        if (value(3) <= 0)
            setText(3, QStringLiteral("0.1000"));
        break;
    case 9:
        if (value(9) <= 0)
            setText(9, QStringLiteral("0.5000"));
        break;
    case 10:
        if (value(10) <= 0)
            setText(10, QStringLiteral("1.0000"));
        break;
    case sliderMoved:
        if (auto* ui = controls<Ui>())
            put(0, uccRtOfSlider(ui->rtiming->value()), p4);
        break;
    default:
        break;
    }

    const double rt = value(0);
    if (rt >= uccRtMin && rt <= uccRtMax) {
        const double fosc = uccFosc(rt);
        put(1, fosc, p4);
        put(2, fosc / 2, p4);
        put(11, 1 / fosc * 1000, p4);
    } else {
        setText(1, QStringLiteral("RT Error"));
        setText(2, QStringLiteral("RT Error"));
    }

    const double rsense = value(3);
    if (rsense <= 0)
        setText(4, QStringLiteral("Error in Rlim"));
    else
        put(4, uccIlimit(rsense), p4);

    const double vramp = value(9);
    if (vramp <= 0)
        setText(5, QStringLiteral("Vramppk Error"));
    else
        setText(5, general(uccRset(value(10), vramp, value(8))));

    const double rset = value(5);
    if (rset > 0) {
        put(6, uccIsetPeak(rset), p4);
        put(7, value(6) * 5, p4);
    } else {
        setText(6, QStringLiteral("Rset Error"));
        setText(7, QStringLiteral("Rset Error"));
    }
}
