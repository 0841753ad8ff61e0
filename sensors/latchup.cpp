#include "latchup.h"

#include "common/fields.h"

namespace latchup {

namespace {
const QString crlf = QStringLiteral("\r\n");
}

int clampMask(const std::array<bool, 3>& grounded)
{
    int mask = 0;
    for (std::size_t pad = 0; pad < grounded.size(); ++pad)
        if (!grounded[pad])
            mask |= 1 << pad;
    return mask;
}

QString singleCycle(int mask)
{
    return QStringLiteral("$0010") + hexpad(mask, 2) + crlf;
}

QString continuous(int mask)
{
    return QStringLiteral("$0011") + hexpad(mask, 2) + crlf;
}

QString stop()
{
    return QStringLiteral("$0012") + crlf;
}

std::optional<int> resultMillivolts(const QString& frame)
{
    if (frame.size() < 8 || frame.left(4).toLower() != QLatin1String("0010"))
        return std::nullopt;
    int mv = 0;
    for (int i = 4; i < 8; ++i) {
        const QChar c = frame[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        mv = mv * 10 + (c.unicode() - u'0');
    }
    return mv;
}

} // namespace latchup
