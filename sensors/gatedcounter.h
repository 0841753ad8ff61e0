#pragma once
// The 8028 gated counter board's commands and count reply, apart from any
// window.

#include <QString>

#include <array>
#include <optional>

namespace gatedcounter {

// The commands of the window's first six buttons (auto display on, off,
// clear, start, stop, read), CR included; "" for any other index.
QString buttonCommand(int index);

// "$0020", the chosen mode of counters X, Y and Z as two hex digits each,
// CR.
QString configCommand(int x, int y, int z);

// The three counts of a framed reply ("!" and CR removed) whose characters
// 3-4 are "14" (any case): characters 6-16, 18-28 and 30-40, as received
// (shorter, or empty, when the frame is). No value for any other frame.
std::optional<std::array<QString, 3>> parseCounts(const QString& frame);

} // namespace gatedcounter
