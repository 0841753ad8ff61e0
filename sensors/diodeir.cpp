#include "diodeir.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <cmath>

namespace diodeir {

QString setpointCommand(int degrees)
{
    return QStringLiteral("$0060") + hexpad(degrees * 100.0, 4) + QChar(13);
}

Report parseReport(const QString& frame)
{
    Report r;
    r.temperature = numval(getfield(frame, 2, QStringLiteral(","))) / 100;
    r.current = numval(getfield(frame, 3, QStringLiteral(","))) * milliampsPerCount;
    const QString mode = getfield(frame, 4, QStringLiteral(","));
    if (mode == QLatin1String("0"))
        r.mode = QStringLiteral("Pulsed");
    else if (mode == QLatin1String("1"))
        r.mode = QStringLiteral("Continuous");
    return r;
}

QString replyCode(const QString& frame)
{
    return frame.left(4).toLower();
}

bool confirms(const QString& tempsetText, const QString& frame)
{
    const double wanted = numval(tempsetText) * 100;
    const double confirmed = numval(frame.mid(4, 5));
    // The box holds at most a few decimals: a hundredth of a hundredth is
    // far below any difference that matters, and above binary rounding.
    return std::fabs(wanted - confirmed) < 1e-6;
}

qint16 trendValue(double value)
{
    const double v = std::floor(value);
    if (std::isnan(v) || v < -4)
        return -4;
    if (v >= 155)
        return 154;
    return qint16(v);
}

qint16 currentTrendValue(double milliamps, double fullScale)
{
    return trendValue(milliamps * (150 / fullScale));
}

QStringList scaleLabels(const QString& fullScale)
{
    const float step = float(numval(fullScale) / 5);
    const bool whole = step == std::floor(step);
    QStringList labels;
    for (int k = 0; k <= 4; ++k) {
        const double v = double(float(k) * step);
        labels << (whole ? plaindec(v) : fmt(v, QStringLiteral("0.0")));
    }
    return labels;
}

} // namespace diodeir
