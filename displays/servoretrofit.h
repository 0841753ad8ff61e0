#pragma once
// The protocol of the servo retrofit board and its tuning file, apart from
// any window: the nine tuning values and their wire widths, the tuning
// write frame, the tuning and status replies, the virtual speed command and
// the one-line tuning file.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace servoretrofit {

// One tuning value: its caption, its default and its width on the wire.
struct TrimField {
    QString label;
    int defaultValue;
    int bytes; // 1 or 2
};
const std::array<TrimField, 9>& trimFields();
// The defaults as the boxes show them.
QStringList defaultTrim();

// A command text (CR LF included) or, when it cannot be built, the index
// of the box that stops it.
struct Command {
    QString text;
    int badField = -1;
    bool ok() const { return badField < 0; }
};

// The largest value a tuning field carries: 255 or 65535.
int fieldMax(int index);

// True when the whole text (blanks around it aside) is one number in the
// plain decimal form: optional sign, digits with at most one point,
// optional exponent.
bool isNumberText(const QString& text);

// "$0030", the nine values as hex of their widths, CR LF. A value that is
// not a whole number from 0 to the largest its width holds is refused
// (the board would get its low digits only).
Command tuningWrite(const QStringList& boxes);

// The kind of a framed reply: characters 3 and 4, lower-cased ("60").
QString replyKind(const QString& frame);

// What the status box shows for a reply that only reports ("12", "13",
// "15", "16", "20", "30"); "" for the others.
QString replyMessage(const QString& frame);

// A tuning reply "0031,b1,...,b14": the nine values as decimal texts.
// None when it has fewer than fifteen fields.
std::optional<QStringList> tuningReply(const QString& frame);

// A status reply "0060,a0,a1,a2,a3,bits,flags" as the boxes show it.
struct Status {
    std::array<QString, 4> adc;
    std::array<QString, 5> xdir;
    std::array<QString, 5> xdirtxt;
    std::array<QString, 8> inhibit;
};
// None when it has fewer than seven fields.
std::optional<Status> statusReply(const QString& frame);

// The speed box for a scroll value: value / 10 as "0.0".
QString speedText(int scrollValue);
// "$0015", "01" (forward) or "00" (reverse), the magnitude in thousandths
// as four hex digits, CR LF, from the text of the speed box.
QString speedCommand(const QString& speed);

// The tuning file's line: each value as a number with the leading blank of
// the plain number-to-text form, joined by ",". When a box is not a
// number, badField names it.
Command trimFileLine(const QStringList& boxes);
// The nine values of a tuning file's first line, as the boxes show them.
// None unless its first nine fields are numbers.
std::optional<QStringList> trimFromLine(const QString& line);

} // namespace servoretrofit
