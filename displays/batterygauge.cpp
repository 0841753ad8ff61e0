#include "batterygauge.h"

#include "common/fields.h"
#include "common/numtext.h"
#include "common/paths.h"

#include <algorithm>

namespace batterygauge {

namespace {
bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
} // namespace

Report decodeReport(const QString& frame)
{
    Report r;
    const QString digits = frame.left(4);
    r.valid = digits.size() == 4 && std::all_of(digits.begin(), digits.end(), isHexDigit);
    r.value = r.valid ? fmt(hextolong(digits) / 100.0, QStringLiteral("0.000")) : QStringLiteral("---");
    const QString flag = frame.mid(4, 1);
    r.trend = flag == QLatin1String("1") ? QStringLiteral("DOWN")
              : flag == QLatin1String("0") ? QStringLiteral("UP")
                                            : QStringLiteral("---");
    return r;
}

QString logPath()
{
    return joinpath(worktemp(), QStringLiteral("gaugelog.csv"));
}

} // namespace batterygauge
