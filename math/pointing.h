#pragma once
// Great-circle distance and pointing angle between two locations, and the
// one-location text file of the pointing-angle calculator.

#include <QString>
#include <QStringList>

// Signed degrees: north and east positive.
struct PointingResult {
    double angle = 0; // degrees clockwise from north, [0, 360)
    double km = 0;
};
PointingResult pointingangle(double lat1, double lon1, double lat2, double lon2);

// The angle as shown ("0.00000000"): never "360.00000000", which reads
// "0.00000000" (north) instead.
QString angletext(double degrees);

// The three distance texts ("0.0000"): km as computed, miles and feet from
// the km figure as shown (rounded to four decimals first).
struct DistanceTexts {
    QString km, miles, feet;
};
DistanceTexts distancetexts(double km);

// A location file: line 1 "latitude n|s", line 2 "longitude e|w". The
// number is the leading numeric part of field 1; field 2 "n" (or "e") in
// any case means north (east), anything else or nothing south (west). A
// missing line reads as an empty one.
struct Location {
    double latitude = 0;
    bool north = false;
    double longitude = 0;
    bool east = false;
};
Location parselocation(const QStringList& lines);
