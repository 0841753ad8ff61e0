#pragma once
// The linear stage's protocol and box rules, apart from any window: the
// speed byte of a percent text, the commands, the replies, the set-point
// check, the normalising of boxes and the settings lines.

#include <QString>

#include <optional>

namespace linearstage {

// The speed byte for a percent text: value / 100 x 44 + 56 rounded down,
// kept within 56 .. 100 (a negative percentage counts as 0 %).
int speedByte(const QString& percent);

// The shortest decimal text of the text's value ("12.50" -> "12.5",
// "" -> "0", ".5" -> "0.5").
QString normalised(const QString& text);
// normalised, then a value above 100 becomes "100".
QString limitedSpeed(const QString& text);

// A set point as the board takes it: the box's value rounded to a whole
// count, none outside 0 .. 65535 (the command would carry its low digits
// only).
std::optional<int> setPoint(const QString& text);

// Commands, CR included.
QString positionCommand();                      // "$0020"
QString stopCommand();                          // "$0011"
QString jogRight(const QString& percent);       // "$0010", speed, "00"
QString jogLeft(const QString& percent);        // "$001000", speed
QString goTo(int position, const QString& percent); // "$0030", position, speed

// A framed reply ("!" and CR removed).
struct Reply {
    enum Kind { None, Position, Arrival };
    Kind kind = None;
    int position = 0;
};
// "0020" + four hex digits (any case) is a position; "0030" + four hex
// digits, exactly eight characters, an arrival; anything else none.
Reply decodeReply(const QString& frame);

// A box's value as a settings line: the plain number-to-text form, with its
// leading blank before a value that is not negative.
QString settingLine(const QString& box);
// What a settings line puts in a set-point box: its normalised value, none
// when the box would refuse it (not finite, or outside 0 .. 65535).
std::optional<QString> setPointFromLine(const QString& line);
// What a settings line puts in a speed box: its normalised and limited
// value, none when it is not finite.
std::optional<QString> speedFromLine(const QString& line);

} // namespace linearstage
