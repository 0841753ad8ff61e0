#include "throughput.h"

#include "common/numtext.h"
#include "common/verror.h"

#include <charconv>
#include <cmath>

QString singleText(double seconds)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, float(seconds), std::chars_format::fixed);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

int passCount(double value)
{
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0)
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
    return int(r);
}

QString throughputResult(int passes, const QString& start, const QString& stop)
{
    const double d = numval(stop) - numval(start);
    if (!(d > 0))
        return QString();
    return numstr(std::floor(passes / d));
}
