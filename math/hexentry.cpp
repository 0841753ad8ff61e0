#include "hexentry.h"

int hexEntryKey(int key)
{
    if (key >= 'a' && key <= 'f')
        return key - 'a' + 'A';
    if ((key >= '0' && key <= '9') || key == 8 || key == 127 || key == 13)
        return key;
    return 0;
}

bool allHexDigits(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')))
            return false;
    }
    return true;
}

QString zeroLeft(const QString& text, int width)
{
    return (QString(width, u'0') + text).right(width);
}
