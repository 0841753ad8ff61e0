#include "lumatile.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>

namespace lumatile {

namespace {
const QString blankPattern(patternLength, u'0');

struct Shape {
    int code;
    const char* pattern;
};
constexpr Shape initialShapes[] = {
    {58, "000000010001000"}, {59, "011000000000000"}, {60, "000000001010000"}, {61, "000100000100010"},
    {62, "000000100000100"}, {63, "110001000101000"}, {64, "111110000001010"}, {65, "000000000100010"},
    {66, "000000010101010"}, {67, "000000000010100"}, {68, "000000101000000"}, {69, "000000111000000"},
    {70, "000000011100000"}, {71, "000000001110000"}, {72, "000000000111000"}, {73, "000000000011100"},
    {74, "000000000001110"}, {75, "000000100000110"}, {76, "000000110000010"},
};

bool isLetter(int key)
{
    return (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
}
bool isDigit(int key)
{
    return key >= '0' && key <= '9';
}
int upper(int key)
{
    return key >= 'a' && key <= 'z' ? key - 32 : key;
}

// The last two characters of "00" & text.
QString lastTwo(const QString& text)
{
    return (QStringLiteral("00") + text).right(2);
}
} // namespace

Font initialFont()
{
    Font font;
    font.fill(blankPattern);
    for (const Shape& s : initialShapes)
        font[std::size_t(s.code)] = QString::fromLatin1(s.pattern);
    return font;
}

QString cleanPattern(const QString& text)
{
    QString p = text.left(patternLength);
    for (QChar& c : p)
        if (c != u'0')
            c = u'1';
    return p + blankPattern.left(patternLength - p.size());
}

bool writableCode(int code)
{
    return code >= firstCode && code <= lastCode && code != 13 && code != 33;
}

int normaliseCode(double value)
{
    // Far-off and non-numbers end up at the nearer end.
    if (!(value >= firstCode))
        return firstCode;
    if (value > lastCode)
        return lastCode;
    int code = int(value);
    if (code == 13 || code == 33)
        ++code;
    return code;
}

int stepCode(int code, int dir)
{
    if (dir > 0 ? code >= lastCode : code <= firstCode)
        return code;
    code += dir > 0 ? 1 : -1;
    if (code == 13 || code == 33)
        code += dir > 0 ? 1 : -1;
    return code;
}

QByteArray fontFileBytes(const Font& font)
{
    QByteArray out;
    out.reserve(fontSize * (patternLength + 2));
    for (const QString& p : font)
        out += cleanPattern(p).toLatin1() + "\r\n";
    return out;
}

Font fontFromLines(const QStringList& lines)
{
    Font font = initialFont();
    const qsizetype n = std::min<qsizetype>(lines.size(), fontSize);
    for (qsizetype i = 0; i < n; ++i)
        font[std::size_t(i)] = cleanPattern(lines[i]);
    return font;
}

QString command(QChar letter, const QString& payload)
{
    return QStringLiteral("$B7") + letter + payload + QChar(13);
}

QString writeCommand(int code, const QString& pattern)
{
    return command(u'W', QChar(code) + cleanPattern(pattern));
}

QString messageCommand(const QString& text)
{
    return command(u'M', text);
}

QString logLine(const QString& sent)
{
    QString line = sent;
    return line.replace(QChar(13), QStringLiteral("<cr>"));
}

QString fit(const QString& text, int n)
{
    if (text.isEmpty())
        return text;
    return (text + QString(maxDigits, text.back())).left(std::max(n, 0));
}

int digitCount(const QString& text)
{
    const double v = numval(text);
    if (!(v >= 1))
        return 1;
    if (v > maxDigits)
        return maxDigits;
    return int(v);
}

int fieldKey(Field field, int key)
{
    if (key == 8 || key == 127 || key == 13)
        return key;
    if (key == '!')
        return key;
    switch (field) {
    case Field::Fonts:
        if (key == 'u' || key == 'U')
            return 'U';
        return isDigit(key) ? key : 0;
    case Field::Effects:
    case Field::Speeds:
        return isDigit(key) ? key : 0;
    case Field::Underscore:
        return key == '0' || key == '1' ? key : 0;
    case Field::Sentence:
        if (isLetter(key))
            return upper(key);
        return isDigit(key) || key == ' ' ? key : 0;
    }
    return 0;
}

QString fieldFilter(Field field, const QString& text)
{
    QString out;
    for (QChar c : text) {
        const int k = fieldKey(field, c.unicode());
        if (k != 0 && k != 8 && k != 127 && k != 13)
            out += QChar(k);
    }
    return out;
}

QChar charoutKey(int key, bool udc)
{
    if (key < 0 || key == 13)
        return QChar();
    if (key >= 127) {
        const QChar up = QChar(key).toUpper();
        return key > 255 || up.unicode() > 255 ? QChar() : up;
    }
    if (udc)
        return QChar(key);
    if (isLetter(key) || isDigit(key) || key == '!' || key == ' ')
        return QChar(upper(key));
    return QChar();
}

QString timeText(const QTime& t)
{
    return t.toString(QStringLiteral("H:mm:ss"));
}

QString timeMessage(const QString& shown)
{
    const QString s = shown.section(u' ', 0, 0);
    const QStringList f = s.split(u':');
    return lastTwo(f.value(0)) + lastTwo(f.value(1)) + f.value(2).right(2);
}

QString dateText(const QDate& d)
{
    return d.toString(QStringLiteral("M/d/yyyy"));
}

QString dateMessage(const QString& shown)
{
    const QStringList f = shown.split(u'/');
    return lastTwo(f.value(0)) + lastTwo(f.value(1)) + f.value(2).right(2);
}

QString countMessage(const QString& count, int n)
{
    return (QStringLiteral("0000000000") + count).right(std::max(n, 0));
}

Animation normaliseAnimation(double start, double stop, double delay)
{
    Animation a;
    a.delay = !(delay >= 1) ? 1 : delay > 2000 ? 2000 : int(delay);
    a.start = normaliseCode(start);
    a.stop = !(stop >= firstCode) ? firstCode : stop > lastCode ? lastCode : int(stop);
    if (a.stop < a.start)
        std::swap(a.start, a.stop);
    // The exchanged Start may be a reserved code; the range never starts on one.
    a.start = normaliseCode(a.start);
    a.stop = std::max(a.stop, a.start);
    return a;
}

int nextAnimated(int code, const Animation& a)
{
    int next = code + 1;
    if (next == 13 || next == 33)
        ++next;
    if (next > a.stop)
        next = a.start;
    return next;
}

} // namespace lumatile
