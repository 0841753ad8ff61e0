#include "controlchars.h"

ControlChars cc;

void initchars()
{
    cc.TAB = QString(QChar(9));
    cc.LF = QString(QChar(10));
    cc.FF = QString(QChar(12));
    cc.CR = QString(QChar(13));
    cc.ESC = QString(QChar(27));
    cc.QUOTE = QString(QChar(34));
    cc.BS = QString(QChar(8));
    cc.DEL = QString(QChar(127));
    cc.CRLF = cc.CR + cc.LF;
    cc.ACK = QString(QChar(6));
    cc.NAK = QString(QChar(21));
}

namespace {
bool editKey(int key)
{
    return key == 13 || key == 8 || key == 127;
}
bool digit(int key)
{
    return key >= '0' && key <= '9';
}
} // namespace

int keydecimal(const int& key)
{
    return (digit(key) || key == '.' || editKey(key)) ? key : 0;
}

int keyinteger(const int& key)
{
    return (digit(key) || editKey(key)) ? key : 0;
}

int keyhex(const int& key)
{
    const bool hex = digit(key) || (key >= 'a' && key <= 'f') || (key >= 'A' && key <= 'F');
    return (hex || editKey(key)) ? key : 0;
}
