#pragma once
// The 9064 GPS/RTC module's serial protocol without widgets: NMEA 0183
// sentences as the module sends them, and its "$PDME" commands and replies.
//
// A frame is what framer("$", CR, buffer) cuts out: the talker and sentence
// name, the comma-separated fields, and a "*hh" checksum (when sent) still
// attached to the last field. The checksum is not checked; it is cut off
// before the fields are used, so it never reaches a box or the log.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace gps {

enum class Sentence { Gga, Gsa, Gsv, Vtg, Gll, Rmc, Pdme, Other };

// The frame's kind: the first five characters compared without regard to
// case with the GP talker's names (so "$GNGGA" is Other); else Pdme when
// the first comma-separated field is "pdme" in any case.
Sentence classify(const QString& frame);

// The indicator (Check1 index 0 to 5) of a GP sentence; -1 for the others.
int indicatorIndex(Sentence kind);

// The frame without its checksum: everything from the first "*" on ("*" is
// no character of any field).
QString withoutChecksum(const QString& frame);

// The frame, without its checksum, split at every ",": field 0 is the
// sentence name, empty fields keep their place.
QStringList sentenceFields(const QString& frame);

// hhmmss.sss as hh:mm:ss.sss; "" stays "".
QString utcForm(const QString& time);
// ddmmyy as mm/dd/yy; "" stays "".
QString dateForm(const QString& date);

// The ten GGA boxes: UTC, latitude, N/S, longitude, E/W, quality,
// satellites, dilution, altitude, geoid separation. Fields a short sentence
// lacks give "".
std::array<QString, 10> ggaBoxes(const QStringList& fields);
// The nine RMC boxes: date, UTC, latitude, N/S, longitude, E/W, speed,
// heading, status.
std::array<QString, 9> rmcBoxes(const QStringList& fields);

// The value of a text that is one decimal number and nothing else (blanks
// around it allowed): "4807.038", "-2", ".5", "1e3". None for "", "12abc",
// "---", two numbers, or a number that is not finite.
std::optional<double> numberText(const QString& text);

// An NMEA position (ddmm.mmmm or dddmm.mmmm) in degrees: the whole degrees
// of v / 100 plus the rest as minutes. The hemisphere is not applied: all
// positions are magnitudes. None for a field that is not a number.
std::optional<double> coordinate(const QString& field);

struct Position {
    double lat = 0;
    double lon = 0;
};

// The position of a GGA sentence that holds a fix: all twelve fields up to
// the geoid separation present, a quality other than "0", and numbers for
// latitude and longitude. None otherwise.
std::optional<Position> ggaFix(const QStringList& fields);

// $PDME commands, indexed like the window's command buttons.
enum Command {
    SetMask = 0,
    GetMask = 1,
    ColdStart = 2,
    WarmStart = 3,
    HotStart = 4,
    GetEstError = 5,
    GetLeapSecs = 6,
};

// The text of a command without its line end. SetMask sends the mask box's
// value as a whole number ("15.6" sends 16; an empty box sends "$PDME,8,");
// none when the box holds anything but a number, so pasted text can never
// travel to the module (nor a line end start a second command).
std::optional<QString> commandText(int index, const QString& maskBox = QString());

// A value a reply sets: the cmmddata box and its new text.
struct BoxValue {
    int box;
    QString text;
};

// The boxes a "PDME" reply frame sets: "PDME,12,5,h,v" the estimated errors
// in feet (boxes 1 and 2, "0.00"), "PDME,12,6,s" the leap seconds (box 3),
// "PDME,7,m" the elevation mask (box 0), each "0". A reply whose value
// field is missing or empty once the checksum is cut ("PDME,12,5",
// "PDME,7,*3F") is an empty reply and sets nothing, whatever digits the
// values end in ("PDME,7,7" is a 7 degree mask).
std::vector<BoxValue> replyValues(const QString& frame);

} // namespace gps
