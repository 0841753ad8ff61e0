#pragma once
// How far the 9064 module's fixes wander from a reference location: errors
// in feet, the 150 by 150 foot plot's clamp, the square rings of 10 to 70
// feet, the CSV log line and the reference location file.

#include "gpsnmea.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace gps {

// Feet per degree: 69 statute miles of latitude, 53 of longitude.
constexpr double feetPerDegreeLat = 69.0 * 5280.0;
constexpr double feetPerDegreeLon = 53.0 * 5280.0;
// The plot reaches 75 feet each way from the reference.
constexpr double plotReach = 75.0;
constexpr int ringCount = 8; // seven rings and "70 ft+"

struct Errors {
    double lat = 0; // positive: the fix lies at a smaller latitude than the reference
    double lon = 0;
};

// The fix's errors against the reference, in feet.
Errors positionErrors(const Position& reference, const Position& fix);

// An error held within the plot: -75 to 75.
double clampError(double feet);

// The ring (0 to 6 for "<10 ft" to "<70 ft", 7 for "70 ft+") of clamped
// errors: the first ring k whose square of 10k feet holds both errors.
int ringIndex(const Errors& clamped);

// A ring's statistics box: the per cent of all fixes ("0.0") or the count
// ("0").
QString ringText(int count, int total, bool percent);

// The log "rvm9064.csv" in the work folder.
QString logFileName();
QString logHeader();

// The boxes a log line copies, as the window shows them.
struct LogBoxes {
    QString date, utc;       // gprmc 0 and 1
    QString ns, ew;          // gpgga 2 and 4
    QString altitude, quality, satellites, dilution; // gpgga 8, 5, 6, 7
    QString speed, heading;  // gprmc 6 and 7
};

// One log line without its end: 14 fields, the position and the unclamped
// errors through numstr (a blank before a value that is not negative).
QString logLine(const LogBoxes& boxes, const Position& fix, const Errors& errors);

// The reference of a location file's lines: line 1 the latitude, line 2 the
// longitude, each one number of decimal degrees. None unless both are.
std::optional<Position> locationLines(const QStringList& lines);

} // namespace gps
