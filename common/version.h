#pragma once
#include <QString>

// The version text: major, ".", minor as two digits, ".", revision as two
// digits ("1.00.46"); two digits are the rightmost two of "00" & the number.
QString revision();
QString revisionOf(int major, int minor, int rev);
