#pragma once
// The protocol of the 9175 single load-cell board, apart from any window:
// the parameter byte and its commands, the parameter boxes' clamp, and what
// each reply shows.

#include <QColor>
#include <QString>

namespace loadcellsingle {

// The most a parameter byte carries, in its unit (FF tenths).
constexpr double parameterMax = 25.5;

// A parameter box's text after clamp and reformat (Enter, leaving the box):
// its leading number (0 when none) formatted "0.0", "25.5" above 25.5 and
// "0.0" below 0.
QString reformatParameter(const QString& text);
// A parameter box's text as a click leaves it before sending: "25.5" above
// 25.5, "0.0" below 0, else as it stands (the click does not reformat).
QString clampParameter(const QString& text);
// "$00" + code + the box's value in tenths as two hexadecimal digits (a
// half to the even tenth), CR LF. The text is clamped first.
QString parameterCommand(const QString& code, const QString& text);
// "$" + code + CR LF.
QString command(const QString& code);

// What a framed reply ("!" and CR removed) shows: the text of one box and
// the background colour of one box. An unknown code shows nothing.
struct Reply {
    QString box;      // control whose text changes, or "" for none
    QString text;
    QString colorBox; // control whose background changes, or "" for none
    QColor color;
};
Reply decodeReply(const QString& frame);

} // namespace loadcellsingle
