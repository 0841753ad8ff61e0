#include "cond_wirecalchelp.h"

Cond_wirecalchelp::Cond_wirecalchelp()
    : HelpWindow(QStringLiteral("Cond_wirecalchelp"), QStringLiteral("Wirecalc Help"), QStringLiteral("aboutbox"),
                 QStringLiteral("wirecalc.rtf"), QSize(9600, 6600))
{
}
