#include "psutil_8657c.h"

#include "radj.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace {
DesignTool::Rules toolRules()
{
    DesignTool::Rules r;
    r.resultColor = colors::green;
    r.enter = DesignTool::Step::None; // re-format, limits, recalc: keyTyped
    r.leave = DesignTool::Step::ReformatRecalc;
    r.change = true;
    r.selectOnFocus = false;
    r.recalcOnOpen = true;
    return r;
}

struct Limit {
    double low, high;
    const char* lowText;
    const char* highText;
};
const Limit limits[2] = {{75, 200.796, "75.000", "200.796"}, {0, 5.5, "0.000", "5.500"}};
} // namespace

PSUtil_8657c::PSUtil_8657c() : DesignTool("PSUtil_8657c", QSize(9000, 3900), toolRules()) {}

void PSUtil_8657c::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("RVM8657 Radj (Standard:  Radj+Vadj)"));
    Grid g;
    g.captionWidth = 700;
    g.unitWidth = 700;
    addBoxes(form,
             {
                 {0, "Vout", "Volts", "125.000", Kind::Decimal, "0.000"},
                 {1, "Vadj", "Volts", "5.000", Kind::Decimal, "0.000"},
                 {2, "Radj", "kOhms", "", Kind::Result, "0.000"},
             },
             g);
    auto* picture = place<QLabel>(form, "Picture1", 3780, 60, 340 * 15, 240 * 15);
    picture->setPixmap(advice());
}

void PSUtil_8657c::keyTyped(int index, int key)
{
    if (key != 13 || index < 0 || index > 1 || !isLoaded())
        return;
    reformat(index);
    const Limit& l = limits[index];
    if (value(index) > l.high)
        setText(index, l.highText);
    if (value(index) < l.low)
        setText(index, l.lowText);
    refresh(-1);
}

void PSUtil_8657c::recalc(int)
{
    const radj::VadjResult r = radj::toVadj(radj::board8657a(), value(0), value(1));
    setText(2, r.text);
    if (QLineEdit* b = box(2))
        setBackColor(b, r.negative ? colors::red : colors::green);
}

QPixmap PSUtil_8657c::advice()
{
    QPixmap pm(340, 240);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = uiFont(7);
    QFont bold = uiFont(7, true);

    p.setFont(bold);
    p.drawText(QRect(4, 2, 332, 14), Qt::AlignCenter, QStringLiteral("Setting Vout below 151.032 V"));
    p.setFont(small);
    p.drawText(QRect(4, 16, 332, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("One resistor from Radj to Gnd sets Vout from 151.032 V to 200.796 V. "
                              "Lower outputs need the resistor from Radj to a positive reference "
                              "voltage, Vadj."));

    // The module and its pins.
    const QRect module(120, 64, 100, 120);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(224, 224, 224));
    p.drawRect(module);
    p.setFont(bold);
    p.drawText(module.adjusted(0, 0, 0, -90), Qt::AlignCenter, QStringLiteral("RVM8657"));
    p.setFont(small);
    p.setPen(QPen(Qt::black, 1));
    struct Pin {
        int y;
        bool right;
        const char* name;
    };
    const Pin pins[] = {{90, false, "Vin"}, {120, false, "Vbias"}, {150, false, "Gnd"},
                        {100, true, "Vout"}, {160, true, "Radj"}};
    for (const Pin& pin : pins) {
        const int x0 = pin.right ? module.right() : module.left() - 20;
        p.drawLine(x0, pin.y, x0 + 20, pin.y);
        const QRect name = pin.right ? QRect(module.right() - 40, pin.y - 7, 36, 14)
                                     : QRect(module.left() + 4, pin.y - 7, 40, 14);
        p.drawText(name, pin.right ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(pin.name));
    }
    p.drawText(QRect(4, 83, 94, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("2-16 V"));
    p.drawText(QRect(4, 113, 94, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Vbias"));
    p.drawText(QRect(4, 143, 94, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Gnd"));

    // Vout to a load.
    p.drawLine(240, 100, 290, 100);
    p.drawRect(284, 100, 12, 40);
    p.drawText(QRect(244, 84, 96, 14), Qt::AlignLeft, QStringLiteral("Vout 75-200 V"));
    p.drawText(QRect(300, 112, 40, 14), Qt::AlignLeft, QStringLiteral("Load"));
    p.drawLine(290, 140, 290, 150);
    p.drawLine(282, 150, 298, 150);

    // Radj through its resistor to the Vadj source.
    p.drawLine(240, 160, 250, 160);
    p.drawRect(250, 155, 30, 10);
    p.drawLine(280, 160, 300, 160);
    p.drawEllipse(QPoint(300, 178), 10, 10);
    p.drawText(QRect(292, 171, 16, 14), Qt::AlignCenter, QStringLiteral("+"));
    p.drawLine(300, 168, 300, 160);
    p.drawLine(300, 188, 300, 196);
    p.drawLine(292, 196, 308, 196);
    p.drawText(QRect(226, 190, 110, 14), Qt::AlignLeft, QStringLiteral("Vadj 0-5.5 V"));

    p.setFont(bold);
    p.setPen(colors::red);
    p.drawText(QRect(4, 210, 332, 28), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Vbias must never be below 3.25 V"));
    return pm;
}
