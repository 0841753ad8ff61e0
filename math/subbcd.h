#pragma once
// Sub-BCD compression: a 9-character decimal text (0 to 999999999) held
// as a 32-bit integer, shown as 8 hexadecimal digits, and back.

#include <QString>
#include <QStringList>

// The largest value nine decimal digits hold.
constexpr int bcdMaximum = 999999999;

// Eight hex digits of the decimal text's value, rounded (a half to even)
// and limited to 0..999999999; a text without a number counts as 0.
QString bcddectohex(const QString& decimal);
// The decimal box padded to nine characters with leading zeros: "42" gives
// "000000042", "1.5" "0000001.5"; a value outside 0..999999999 is limited
// to it and a text without a number counts as 0. Any value whose text is
// longer than nine characters ("1234567.89", "123456E-9"), or that only an
// exponent form writes ("5E-8"), is rounded to a whole number, so padding
// never changes the value the hex box shows.
QString bcdpaddecimal(const QString& decimal);
// The hex box padded to eight characters, upper case.
QString bcdpadhex(const QString& hex);

struct BcdHexValue {
    QString decimal; // nine characters
    bool limited = false; // the value was out of range; hex becomes "3B9AC9FF"
};
// The decimal text of the hex box's value (its rightmost eight hex digits
// as a signed 32-bit number); a negative value or one above 999999999
// gives 999999999.
BcdHexValue bcdhextodec(const QString& hex);

// The code sample shown for the box being worked on (CR LF line ends):
// the decimal box's (string to binary) or the hex box's (binary to string).
QString bcdcodesample(bool decimalBox);
