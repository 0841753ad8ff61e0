#pragma once
// The two standard resistor series the component tools offer, and the text
// a value shows in their lists.

#include <QString>
#include <cstdint>
#include <vector>

// Fills values with one series of resistances in ohms: entry 0 the count,
// entries 1..count ascending, entry count + 1 a closing 0.
//   series 0 (1 %): E96 over six decades, 10.0 ... 9760000 (576 values)
//   series 1 (5 %): E24 over eight decades, 0.10 ... 9100000, then
//                   10 M ... 22 M (201 values)
// Any other series sets entries 0 and 1 to 0. The caller sizes the array
// (578 entries for series 0, 203 for series 1); a smaller one raises
// "Subscript out of range" and is left as it was.
void stdseries(const int16_t& series, std::vector<float>& values);

// One blank and the value grouped by thousands, with 2, 1 or 0 decimals by
// series and magnitude (" 0.47", " 4.7", " 4,700" for the 5 % series;
// " 47.5", " 47,500" for the 1 % series); any other series gives "".
QString resformat(const int16_t& series, const float& value);
