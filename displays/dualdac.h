#pragma once
// The dual DAC board's protocol and the arithmetic of its window: bar
// levels as 12-bit codes with a 5 V full scale, the write command, the
// typed codes and the two readings of a reply.

#include <QString>

#include <optional>

namespace dualdac {

// The bars' common maximum for a "Vout Max" value: vlimit / 5 x 4095,
// rounded half to even, kept to what a scroll bar can hold (0..32767).
int barMax(double vlimit);

// The target voltage of a bar whose level is `level` out of `max`; 0 when
// the bar has no range.
double targetVolts(double vlimit, int level, int max);

// "$0011", the two codes as four upper-case hex digits each, CR.
QString writeCommand(double code0, double code1);
// "$0010" CR.
QString readCommand();

// A typed DAC code: the box must hold one decimal number (blanks around
// it allowed) whose value, rounded half to even, lies in 0..65535.
std::optional<int> dacCode(const QString& text);

// A frame (without "!" and CR) is a reading when its characters 3-4 are
// "10" or "11".
bool isReading(const QString& frame);
// The reading of channel 0 or 1: the five characters at positions 5-9 or
// 10-14, as a number / 10000; 0 when they do not start with a digit.
double readingVolts(const QString& frame, int channel);

// The Tx log's line for a command: its final CR shown as "[cr]".
QString txLogLine(const QString& text);

} // namespace dualdac
