#include "keynames.h"

QString keyName(int keycode)
{
    if (keycode >= 112 && keycode <= 123)
        return QStringLiteral("F") + QString::number(keycode - 111);
    switch (keycode) {
    case 8: return QStringLiteral("Bksp");
    case 9: return QStringLiteral("Tab");
    case 13: return QStringLiteral("Rtn");
    case 20: return QStringLiteral("Caps");
    case 27: return QStringLiteral("Esc");
    case 33: return QStringLiteral("PgUp");
    case 34: return QStringLiteral("PgDn");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 37: return QStringLiteral("Lt");
    case 38: return QStringLiteral("Up");
    case 39: return QStringLiteral("Rt");
    case 40: return QStringLiteral("Dn");
    case 45: return QStringLiteral("Ins");
    case 46: return QStringLiteral("Del");
    default: return QString();
    }
}

int keyShiftState(int keycode, int shift)
{
    switch (keycode) {
    case 16: return shift | 1;
    case 17: return shift | 2;
    case 18: return shift | 4;
    default: return shift;
    }
}
