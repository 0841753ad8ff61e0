#include "gpsanalysis.h"

#include "common/numtext.h"

#include <cmath>

namespace gps {

Errors positionErrors(const Position& reference, const Position& fix)
{
    return {(reference.lat - fix.lat) * feetPerDegreeLat, (reference.lon - fix.lon) * feetPerDegreeLon};
}

double clampError(double feet)
{
    if (feet > plotReach)
        return plotReach;
    if (feet < -plotReach)
        return -plotReach;
    return feet;
}

int ringIndex(const Errors& e)
{
    const double lat = std::abs(e.lat);
    const double lon = std::abs(e.lon);
    for (int k = 1; k <= 7; ++k) {
        if (lat <= 10.0 * k && lon <= 10.0 * k)
            return k - 1;
        if (lat > 70 || lon > 70)
            break;
    }
    return 7;
}

QString ringText(int count, int total, bool percent)
{
    if (percent)
        return fmt(total > 0 ? double(count) / total * 100 : 0.0, QStringLiteral("0.0"));
    return fmt(count, QStringLiteral("0"));
}

QString logFileName()
{
    return QStringLiteral("rvm9064.csv");
}

QString logHeader()
{
    return QStringLiteral("Date,UTC,Lat,,Lon,,LatErr-Ft,LonErr-Ft,Alt-M,Qual,Sats,Dilution,Speed-Kn,Heading");
}

QString logLine(const LogBoxes& b, const Position& fix, const Errors& e)
{
    const QStringList fields{u'[' + b.date + u']', u'[' + b.utc + u']', numstr(fix.lat), b.ns, numstr(fix.lon),
                             b.ew, numstr(e.lat), numstr(e.lon), b.altitude, b.quality, b.satellites, b.dilution,
                             b.speed, b.heading};
    return fields.join(u',');
}

std::optional<Position> locationLines(const QStringList& lines)
{
    if (lines.size() < 2)
        return std::nullopt;
    const std::optional<double> lat = numberText(lines.at(0));
    const std::optional<double> lon = numberText(lines.at(1));
    if (!lat || !lon)
        return std::nullopt;
    return Position{*lat, *lon};
}

} // namespace gps
