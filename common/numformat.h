#pragma once
// Fixed-form number writers: base-2 digits, padded decimal fields,
// engineering notation, and the multiplexer command of the bench multimeter.

#include <QString>

// The low `bits` bits of value as "0"/"1", most significant first; "" for
// bits of 0 or less. For bits of 32 or more: the sign bit, then bits 30 to
// 0 (32 characters), and the caller's bits variable becomes 31.
QString binstr(const int& value, int& bits);
QString binstr(const int& value, const int& bits);

// The decimal digits of |value|, padded on the left with "0" (zeropad) or
// blanks (spacepad), at most 100 pad characters, cut to the rightmost width
// characters.
QString zeropad(const int& value, const int& width);
QString spacepad(const int& value, const int& width);

// value as number-to-text without its sign position (a negative value loses
// its sign; a fraction keeps its point), padded with "0" on the left and cut
// to the rightmost width characters.
QString zerofill(const double& value, const int& width);

// Engineering notation: a mantissa with three decimals, a blank, the metric
// prefix and unit ("1.500 kS", "0.033 uF"). The mantissa is rounded down.
// Negative values carry "-" before the mantissa; 1e7 and above stay in the
// M row with more whole digits; NaN and infinities give "---".
QString engformat(const double& value, const QString& unit);

// "stat:ques:enab " and the word (meterbits AND &H1A03) OR the 10-bit
// multiplexer code packed into bits 2-8, 10, 13, 14, as number-to-text
// (so two blanks precede the digits).
QString quesenable(const int& meterbits, const int& code);
