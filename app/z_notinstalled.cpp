#include "z_notinstalled.h"
#include "common/formbuilder.h"

#include <QLabel>

Z_notinstalled::Z_notinstalled() : ToolWindow(QStringLiteral("Z_notinstalled"), QSize(3525, 1125)) {}

void Z_notinstalled::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Voltaris info"));
    auto* label = place<QLabel>(form, QStringLiteral("Label1"), 60, 60, 3435, 855);
    label->setText(QStringLiteral("This sub-program has not yet been installed."));
    label->setFont(uiFont(13.5, true));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
}
