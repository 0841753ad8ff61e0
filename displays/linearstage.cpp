#include "linearstage.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <cctype>
#include <cmath>

namespace linearstage {

namespace {

const QString CR = QStringLiteral("\r");

bool isHex4(const QString& s)
{
    if (s.size() != 4)
        return false;
    for (const QChar c : s)
        if (!std::isxdigit(c.unicode() < 128 ? c.unicode() : 0))
            return false;
    return true;
}

std::optional<int> wholeCount(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::nearbyint(value); // half to even, as the board's firmware tools round
    if (whole < 0 || whole > 65535)
        return std::nullopt;
    return int(whole);
}

} // namespace

int speedByte(const QString& percent)
{
    const double value = numval(percent);
    if (std::isnan(value) || value <= 0)
        return 56;
    const double byte = std::floor(value / 100.0 * 44.0 + 56.0);
    return byte > 100 ? 100 : int(byte);
}

QString normalised(const QString& text)
{
    const double value = numval(text);
    return std::isfinite(value) ? plaindec(value) : QStringLiteral("0");
}

QString limitedSpeed(const QString& text)
{
    const QString n = normalised(text);
    return numval(n) > 100 ? QStringLiteral("100") : n;
}

std::optional<int> setPoint(const QString& text)
{
    return wholeCount(numval(text));
}

QString positionCommand()
{
    return QStringLiteral("$0020") + CR;
}

QString stopCommand()
{
    return QStringLiteral("$0011") + CR;
}

QString jogRight(const QString& percent)
{
    return QStringLiteral("$0010") + hexpad(speedByte(percent), 2) + QStringLiteral("00") + CR;
}

QString jogLeft(const QString& percent)
{
    return QStringLiteral("$001000") + hexpad(speedByte(percent), 2) + CR;
}

QString goTo(int position, const QString& percent)
{
    return QStringLiteral("$0030") + hexpad(position, 4) + hexpad(speedByte(percent), 2) + CR;
}

Reply decodeReply(const QString& frame)
{
    Reply r;
    const QString code = frame.left(4).toLower();
    const QString digits = frame.mid(4, 4);
    if (!isHex4(digits))
        return r;
    if (code == QLatin1String("0020")) {
        r.kind = Reply::Position;
    } else if (code == QLatin1String("0030") && frame.size() == 8) {
        r.kind = Reply::Arrival;
    } else {
        return r;
    }
    r.position = hextolong(digits);
    return r;
}

QString settingLine(const QString& box)
{
    const double value = numval(box);
    return numstr(std::isfinite(value) ? value : 0.0);
}

std::optional<QString> setPointFromLine(const QString& line)
{
    const double value = numval(line);
    if (!wholeCount(value))
        return std::nullopt;
    return plaindec(value);
}

std::optional<QString> speedFromLine(const QString& line)
{
    if (!std::isfinite(numval(line)))
        return std::nullopt;
    return limitedSpeed(line);
}

} // namespace linearstage
