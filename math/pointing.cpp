#include "pointing.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <cmath>

namespace {
// The value of pi these results have always been computed with.
constexpr double pi = 3.14159265358979;
constexpr double twoPi = 6.28318530717958;
constexpr double earthRadiusKm = 6371;
} // namespace

PointingResult pointingangle(double lat1, double lon1, double lat2, double lon2)
{
    const double k = pi / 180;
    const double p1 = lat1 * k, l1 = lon1 * k, p2 = lat2 * k, l2 = lon2 * k;
    const double c = std::cos(l1 - l2) * std::cos(p1) * std::cos(p2) + std::sin(p2) * std::sin(p1);
    PointingResult r;
    double theta = 0;
    if (!(1 - c * c > 0)) {
        // The same point, or its antipode (or no number at all).
        if (std::isnan(c))
            return {NAN, NAN};
        r.km = c > 0 ? 0 : pi * earthRadiusKm;
    } else {
        double sigma = c == 0 ? pi / 2 : std::atan(std::fabs(std::sqrt(1 - c * c) / c));
        if (c < 0)
            sigma = pi - sigma;
        r.km = sigma * earthRadiusKm;
        const double y = std::sin(l2 - l1) * std::cos(p2) * std::cos(p1);
        const double x = std::sin(p2) - std::cos(sigma) * std::sin(p1);
        theta = x == 0 ? pi / 2 : std::atan(std::fabs(y / x));
        if (x < 0)
            theta = pi - theta;
        if (y < 0)
            theta = -theta;
        if (theta < 0)
            theta += twoPi;
    }
    r.angle = theta / k;
    // A tiny negative angle (a target due north, a hair west of the start)
    // comes back as a whole turn: that is north.
    if (r.angle >= 360)
        r.angle = 0;
    return r;
}

QString angletext(double degrees)
{
    // The decision is taken on the text: an angle a hair short of a whole
    // turn rounds to 360 in eight decimals, whichever threshold a number
    // comparison would use. A whole turn is north.
    const QString text = fmt(degrees, QStringLiteral("0.00000000"));
    return text == QLatin1String("360.00000000") ? QStringLiteral("0.00000000") : text;
}

DistanceTexts distancetexts(double km)
{
    const QString pattern = QStringLiteral("0.0000");
    DistanceTexts t;
    t.km = fmt(km, pattern);
    if (!isnum(km)) {
        t.miles = t.feet = t.km;
        return t;
    }
    const double shown = numval(t.km);
    t.miles = fmt(shown * 0.6213712, pattern);
    t.feet = fmt(shown * 3280.839895, pattern);
    return t;
}

Location parselocation(const QStringList& lines)
{
    const QString blank = QStringLiteral(" ");
    const QString lat = lines.value(0);
    const QString lon = lines.value(1);
    Location loc;
    loc.latitude = numval(getfield(lat, 1, blank));
    loc.north = getfield(lat, 2, blank).toLower() == QLatin1String("n");
    loc.longitude = numval(getfield(lon, 1, blank));
    loc.east = getfield(lon, 2, blank).toLower() == QLatin1String("e");
    return loc;
}
