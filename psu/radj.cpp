#include "radj.h"

#include "common/numtext.h"

#include <climits>
#include <limits>

namespace radj {

const RadjBoard& board7621()
{
    static const RadjBoard b{9.746, 300, 22, 51,
                             142.5, 200, "142.500", "200.000", 142.65, 199.975,
                             1425, 2000, 1425, INT_MAX, INT_MIN, QString(), QString(),
                             "RVM7621 Radj", "V  (142.5-200V)", "142.500"};
    return b;
}

const RadjBoard& board8657a()
{
    static const RadjBoard b{1.24, 1208, 10, 30.1,
                             151.032, 200.796, "151.032", "200.796", 151.032, 200.796,
                             1510, 2010, 1510, 2008, 1511, "200.796", "151.032",
                             "RVM8657 Radj (Standard)", "V  (151-201V)", "151.032"};
    return b;
}

const RadjBoard& board8657b()
{
    static const RadjBoard b{1.24, 1208, 34, 40.2,
                             45.296, 82.557, "45.296", "82.557", 45.296, 82.557,
                             452, 826, 453, 826, 453, "82.558", "45.296",
                             "RVM8657 Radj (45-80V Option)", "V  (45.3-82.6V)", "49.296"};
    return b;
}

double toGround(const RadjBoard& b, double vout, double vref)
{
    // 1 / ((Vout - Vref) / (Vref x top) - 1 / bottom) - series
    if (vref == 0)
        return std::numeric_limits<double>::quiet_NaN();
    const double d = (vout - vref) / (vref * b.top) - 1 / b.bottom;
    if (d == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return 1 / d - b.series;
}

QString groundText(const RadjBoard& b, double vout, double vref)
{
    if (vout <= b.openAt)
        return QStringLiteral("Open");
    if (vout >= b.groundAt)
        return QStringLiteral("Ground");
    return fmt(toGround(b, vout, vref), "0.000");
}

QString sliderText(const RadjBoard& b, int p)
{
    if (p >= b.sliderHighFrom)
        return b.sliderHighText;
    if (p < b.sliderLowBelow)
        return b.sliderLowText;
    return fmt(p / 10.0, "0.000");
}

QString limitVout(const RadjBoard& b, const QString& text)
{
    QString t = text;
    if (numval(t) < b.vmin)
        t = b.vminText;
    if (numval(t) > b.vmax)
        t = b.vmaxText;
    return fmt(numval(t), "0.000");
}

VadjResult toVadj(const RadjBoard& b, double vout, double vadj)
{
    // Current (mA) the bottom resistor needs minus what the top one supplies.
    const double d = b.vref / b.bottom - (vout - b.vref) / b.top;
    if (d == 0)
        return {QStringLiteral("Negative"), true};
    QString text = fmt((vadj - b.vref) / d - b.series, "0.000");
    if (numval(text) > 9999)
        text = QStringLiteral("Radj=Open");
    if (numval(text) >= 0)
        return {text, false};
    return {QStringLiteral("Negative"), true};
}

} // namespace radj
