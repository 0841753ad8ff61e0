#include "psutil_lt1761.h"
#include "regulatorcalc.h"

#include "common/numtext.h"
#include "common/rlc_getresistor.h"

#include <QLineEdit>

namespace {
DesignTool::Rules lt1761Rules()
{
    DesignTool::Rules r;
    r.arrayName = QStringLiteral("calcdata");
    r.resultColor = QColor(255, 192, 128);
    r.enter = DesignTool::Step::ReformatRecalc;
    r.leave = DesignTool::Step::RecalcReformat;
    r.change = true;
    r.changeFocusedOnly = true;
    r.recalcOnOpen = false; // the design-time texts stand until the first edit
    return r;
}
const QString p4 = QStringLiteral("0.0000");
} // namespace

PSUtil_lt1761::PSUtil_lt1761() : DesignTool(QStringLiteral("PSUtil_lt1761"), QSize(4200, 2880), lt1761Rules()) {}

void PSUtil_lt1761::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("LT1761 FB Calculator"));
    addBoxes(form,
             {
                 {0, "Vout", "Volts", "3.0000", Kind::Decimal, p4},
                 {2, "RTop", "kOhms", "100.0000", Kind::Decimal, p4},
                 {3, "RBot", "kOhms", "68.5394", Kind::Decimal, p4},
                 {4, "Iadj-Run", "uAmps", "17.8000", Kind::Result, p4},
                 {5, "Iadj-Off", "uAmps", "30.0000", Kind::Result, p4},
                 {6, "Vfb", "Volts", "1.2200", Kind::Decimal, p4},
                 {1, "Ifb", "nAmps", "30.0000", Kind::Whole, p4},
             },
             Grid{});
    // The window opens with the focus on itself, not in Vout: leaving Vout
    // solves RBot, and opening must leave the design-time texts standing.
    form->setFocusPolicy(Qt::StrongFocus);
    for (int i : {2, 3})
        onDoubleClick(box(i), [this, i] { pickResistor(i); });
}

void PSUtil_lt1761::pickResistor(int index)
{
    const auto ohms = RLC_getresistor::pick();
    if (!ohms || !isLoaded())
        return;
    put(index, *ohms / 1000, p4);
}

void PSUtil_lt1761::recalc(int which)
{
    if (which < 0 || which > 6)
        return;
    double vout = value(0);
    const double rTop = value(2) * 1000;
    const double rBot = value(3) * 1000;
    const double ifb = value(1) * 0.000000001;
    const double vfb = value(6);
    if (which == 0 || which == 2) {
        if (!(vfb > 0)) {
            setText(3, QStringLiteral("---"));
        } else {
            // An output the divider cannot reach leaves RBot as it was.
            const double r = lt1761Rbot(vout, rTop, ifb, vfb);
            if (isnum(r))
                put(3, r / 1000, p4);
        }
    }
    if (which == 1 || which == 3 || which == 6) {
        vout = lt1761Vout(rTop, rBot, ifb, vfb);
        if (!(rBot > 0)) {
            setText(0, QStringLiteral("---"));
            vout = 0;
        } else {
            put(0, vout, p4);
        }
    }
    put(4, lt1761IadjRun(vout, rTop) * 1000000, p4);
    put(5, lt1761IadjOff(vout, rTop) * 1000000, p4);
}
