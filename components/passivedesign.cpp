#include "passivedesign.h"

#include "common/formbuilder.h"

#include <QLabel>
#include <QLineEdit>

QLineEdit* PassiveDesign::namedRow(QWidget* form, const QString& name, const QString& caption, const QString& unit,
                                   const QString& text, const Grid& g, double top)
{
    const double boxLeft = g.left + g.captionWidth + g.gap;
    if (!caption.isEmpty())
        addLabel(form, caption, g.left, top, g.captionWidth, g.boxHeight)
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = place<QLineEdit>(form, name, boxLeft, top, g.boxWidth, g.boxHeight);
    edit->setText(text);
    edit->setAlignment(Qt::AlignRight);
    setOutputBox(edit, rules().resultColor);
    if (!unit.isEmpty())
        addLabel(form, unit, boxLeft + g.boxWidth + g.gap, top, g.unitWidth, g.boxHeight)
            ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return edit;
}
