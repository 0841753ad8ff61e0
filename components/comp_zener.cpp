#include "comp_zener.h"

Comp_zener::Comp_zener()
    : HelpWindow(QStringLiteral("Comp_zener"), QStringLiteral("Zener Diode Quick Cross Reference"),
                 QStringLiteral("datalist"), QStringLiteral("ZenerData.rtf"), QSize(9600, 7200))
{
}
