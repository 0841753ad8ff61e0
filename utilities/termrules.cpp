#include "termrules.h"

namespace termrules {

namespace {
constexpr char16_t CR = 13, LF = 10, DEL = 127;
const char* const digits = "0123456789ABCDEF";

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}
} // namespace

QString hexShown(uchar byte)
{
    const QChar s[3] = {QChar(digits[byte >> 4]), QChar(digits[byte & 15]), QChar(u' ')};
    return QString(s, 3);
}

QString bracketed(uchar byte)
{
    const QChar s[4] = {QChar(u'['), QChar(digits[byte >> 4]), QChar(digits[byte & 15]), QChar(u']')};
    return QString(s, 4);
}

void appendReceived(QString& buffer, QStringView data, bool hex)
{
    // No reserve() here: an exact reservation per call would defeat the
    // string's geometric growth and copy the whole buffer on every event.
    for (QChar c : data) {
        const char16_t b = c.unicode();
        if (b > 255)
            continue;
        if (hex) {
            buffer += hexShown(uchar(b));
            continue;
        }
        const bool endsInCr = !buffer.isEmpty() && buffer.back() == QChar(CR);
        if (b == LF && endsInCr) {
            buffer += QChar(LF);
            continue;
        }
        if (endsInCr)
            buffer += QChar(LF);
        if ((b >= 32 && b <= 127) || b == CR)
            buffer += c;
        else
            buffer += bracketed(uchar(b));
    }
}

Piece typedKey(QChar key, bool hex)
{
    const char16_t b = key.unicode();
    if (b > 255)
        return {};
    if (hex)
        return {hexShown(uchar(b)), QString(key)};
    if (b == CR) {
        const QString crlf = QStringLiteral("\r\n");
        return {crlf, crlf};
    }
    if (b >= 32 && b <= 127)
        return {QString(key), QString(key)};
    return {bracketed(uchar(b)), QString(key)};
}

QList<Piece> commandPieces(QStringView line, bool hex)
{
    QList<Piece> pieces;
    if (!hex) {
        const QString crlf = QStringLiteral("\r\n");
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i] == u'^' && i + 1 < line.size() && (line[i + 1] == u'm' || line[i + 1] == u'M')) {
                pieces.append({crlf, crlf});
                ++i;
            } else if (line[i].unicode() <= 255) {
                pieces.append({QString(line[i]), QString(line[i])});
            }
        }
        return pieces;
    }
    QString hexDigits;
    for (QChar c : line)
        if (isHexDigit(c))
            hexDigits += c.toUpper();
    if (hexDigits.size() % 2)
        hexDigits.prepend(u'0');
    for (qsizetype i = 0; i < hexDigits.size(); i += 2) {
        const uchar byte = uchar(hexDigits.mid(i, 2).toUInt(nullptr, 16));
        pieces.append({hexShown(byte), QString(QChar(byte))});
    }
    return pieces;
}

QString displayTail(QStringView buffer)
{
    if (!buffer.isEmpty() && buffer.back() == QChar(CR))
        return QString(QChar(LF)) + QChar(DEL);
    return QString(QChar(DEL));
}

} // namespace termrules
