#include "psutil_flyback.h"
#include "flybackcalc.h"
#include "psutil_flybacksch.h"

#include "common/formbuilder.h"

#include <QFrame>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
DesignTool::Rules flybackRules()
{
    DesignTool::Rules r;
    r.resultColor = QColor(255, 224, 192);
    r.enter = DesignTool::Step::Reformat;
    r.leave = DesignTool::Step::Reformat;
    r.change = true;
    return r;
}
const QString p3 = QStringLiteral("0.000");

void hline(QWidget* form, const QString& name, double left, double top, double width)
{
    auto* line = place<QFrame>(form, name, left, top, width, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
}
} // namespace

PSUtil_flyback::PSUtil_flyback() : DesignTool(QStringLiteral("PSUtil_flyback"), QSize(3900, 7020), flybackRules()) {}

void PSUtil_flyback::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Flyback Transformer"));
    const Grid grid;
    const double bottom = addBoxes(
        form,
        {
            {0, "VIN-Max", "Volts", "7.500", Kind::Decimal, p3},
            {14, "VIN-Min", "Volts", "2.000", Kind::Decimal, p3},
            {1, "VSW-Sat", "Volts", "0.050", Kind::Decimal, p3},
            {2, "VOUT1-Max", "Volts", "200.000", Kind::Decimal, p3},
            {3, "VOUT1-Min", "Volts", "150.000", Kind::Decimal, p3},
            {4, "VF1", "Volts", "0.700", Kind::Decimal, p3},
            {5, "VF2", "Volts", "0.250", Kind::Decimal, p3},
            {},
            {6, "NP", "Turns", "7.500", Kind::Decimal, p3},
            {7, "NS1", "Turns", "50.000", Kind::Decimal, p3},
            {8, "NS2", "Turns", "3.000", Kind::Decimal, p3},
            {},
            {12, "VOUT2-Max", "Volts", "0.000", Kind::Result, p3},
            {13, "VOUT2-Min", "Volts", "0.000", Kind::Result, p3},
            {9, "VSW-OffMax", "Volts", "0.000", Kind::Result, p3,
             "This is the maximum voltage stress on the primary switch during its off period, not counting "
             "voltage due to leakage inductance"},
            {11, "VOUT1-Rev", "Volts", "0.000", Kind::Result, p3,
             "This is the maximum reverse voltage that the main (Regulated) output diode sees"},
            {15, "VOUT2-Rev", "Volts", "0.000", Kind::Result, p3,
             "This is the maximum reverse voltage that the auxillary (Unregulated) output diode sees"},
        },
        grid);
    const double width = grid.captionWidth + grid.boxWidth + grid.unitWidth + 2 * grid.gap;
    hline(form, QStringLiteral("Line1"), grid.left, grid.top + 7.5 * grid.rowHeight, width);
    hline(form, QStringLiteral("Line2"), grid.left, grid.top + 11.5 * grid.rowHeight, width);
    auto* button = place<QPushButton>(form, QStringLiteral("Command1"), grid.left + grid.captionWidth + grid.gap,
                                      bottom + 60, grid.boxWidth, 375);
    button->setText(QStringLiteral("Schematic"));
    on(button, &QPushButton::clicked, [this] { schematic_Click(); });
}

void PSUtil_flyback::schematic_Click()
{
    auto& sch = FormSlots::get<PSUtil_flybacksch>();
    if (sch.visible()) {
        sch.setFocus();
        return;
    }
    QWidget* frame = subWindow() ? static_cast<QWidget*>(subWindow()) : form();
    sch.setTop(top());
    sch.setLeft(left() + frame->width() * 15.0 + 50);
    sch.show();
}

void PSUtil_flyback::recalc(int)
{
    FlybackInputs in;
    in.vinMax = value(0);
    in.vswSat = value(1);
    in.vout1Max = value(2);
    in.vout1Min = value(3);
    in.vf1 = value(4);
    in.vf2 = value(5);
    in.np = value(6);
    in.ns1 = value(7);
    in.ns2 = value(8);
    const FlybackResults r = flyback(in);
    const int boxes[] = {12, 13, 9, 11, 15};
    if (!r.valid) {
        for (int i : boxes)
            setText(i, QStringLiteral("---"));
        return;
    }
    const double values[] = {r.vout2Max, r.vout2Min, r.vswOffMax, r.vout1Rev, r.vout2Rev};
    for (int k = 0; k < 5; ++k)
        put(boxes[k], values[k], p3);
}
