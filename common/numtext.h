#pragma once
// The text forms of numbers used by every box, file and reply of the program.
// All of them are locale-independent: "." is the decimal point and ","
// the thousands separator whatever the user's locale says.

#include <QString>
#include <cstdint>

// Plain decimal conversion: the number a text begins with (leading blanks
// skipped, optional sign, digits with at most one ".", optional E exponent),
// 0 when it begins with none. Reading stops at the first other character.
double numval(const QString& text);

// Number-to-text: at most 15 significant digits, a blank before a value of
// zero or more and "-" before a negative one, no 0 before the decimal point
// of a value below 1 (0.05 gives " .05"); exponent form for very large or
// very small magnitudes (" 1E+15", " 1E-05"). NaN and infinities give " ---".
QString numstr(double value);

// Plain decimal text: numstr's digits without its leading blank and with a
// 0 before the point of a value below 1 ("0.5", "2", "-0.25"; 0.1 + 0.2
// gives "0.3"); exponent form as numstr writes it for very large or very
// small magnitudes ("1E-07"). NaN and infinities give "---".
QString plaindec(double value);

// Fixed pattern ("0", "0.000", "###,###,##0.0", "00000000"): "0" a digit
// always shown, "#" a digit shown only when significant, "," thousands
// grouping, "." the decimal point. Rounded half away from zero on the
// value's decimal digits. NaN and infinities give "---".
QString fmt(double value, const QString& pattern);

// Hexadecimal text: upper-case digits without leading zeros; a negative
// value as its eight-digit 32-bit two's complement.
QString hexstr(int64_t value);

// True when the value is a finite number (results of the design tools show
// "---" otherwise).
bool isnum(double value);

// Number-to-text of a single-precision value: as numstr, with at most 7
// significant digits and exponent form from 1E+07 on (97.6 gives " 97.6",
// 0.1 gives " .1", 22000000 gives " 2.2E+07").
QString singlestr(float value);
