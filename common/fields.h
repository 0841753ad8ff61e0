#pragma once
// Delimited fields and hexadecimal conversion: the parsing of board replies,
// settings lines, data-file records and lists of names.

#include <QString>
#include <QStringList>
#include <cstdint>

// Field n (1 to 8000) of text split at delim, counted from 1; "" past the
// last field or above 8000. n = 0 or below -1 counts the fields (as decimal
// text; a trailing delimiter opens no field). n = -1 trims delimiters from
// both ends. A delimiter of "" or " " first drops leading blanks and shrinks
// runs of blanks to one.
//
// Two effects reach the caller's variables when they are passed as such:
// with n = -1 text receives itself without its leading delimiters; with any
// other n a delimiter of "" or " " is set to " ". Passing a temporary or a
// const text simply leaves nothing to write back.
QString getfield(QString& text, const int& n, QString& delim);
QString getfield(QString& text, const int& n, const QString& delim);
QString getfield(const QString& text, const int& n, const QString& delim);

// Splits text at every occurrence of delim (the whole delimiter text) into
// result, from index 0, and returns the highest index (pieces - 1). An empty
// text returns 0 and leaves result as it was.
int splitcount(QStringList& result, const QString& text, const QString& delim);

// The hexadecimal digits of text (all other characters dropped), the
// rightmost eight of them, read as a signed 32-bit two's-complement value;
// 0 when there are none.
int32_t hextolong(const QString& text);

// The value rounded to a whole number (a half to the even neighbour) in
// upper-case hexadecimal (negative values as 32-bit two's complement),
// padded with "0" on the left and cut to its rightmost width characters
// (at most 18 pad characters). Values below -2^31, at or above 2^63, NaN
// and infinities raise VError(Overflow).
QString hexpad(const double& value, const int& width);

// The hexadecimal digits of text (others dropped; an odd count gets a "0"
// in front), each pair turned into one character of that code.
QString hextobytes(const QString& text);
