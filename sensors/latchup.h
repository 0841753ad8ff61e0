#pragma once
// The protocol and judgement of the 9212 BC06 latch-up board, apart from any
// window: the clamp mask, the command texts and the "0010" result reply.

#include <QString>

#include <array>
#include <optional>

namespace latchup {

// One bit per module pad (bit 0 pad 5, bit 1 pad 6, bit 2 pad 7), set when
// the pad is left free (its box not ticked), clear when it is grounded.
int clampMask(const std::array<bool, 3>& grounded);

// Command texts with their CR LF: "$0010mm" one cycle, "$0011mm" repeated
// cycles, "$0012" stop; mm the clamp mask as two hex digits.
QString singleCycle(int mask);
QString continuous(int mask);
QString stop();

// The VDDPADS voltage of a framed reply ("!" and CR removed) in millivolts:
// set only for a "0010" reply (any case) whose characters 5 to 8 are four
// decimal digits. Everything else is no result.
std::optional<int> resultMillivolts(const QString& frame);

// A cycle passes when its voltage (as shown, to the millivolt) reaches the
// threshold.
inline bool passes(double volts, double threshold)
{
    return volts >= threshold;
}

} // namespace latchup
