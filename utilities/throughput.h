#pragma once
// The CPU throughput figures: the time of day as the timer shows it and the
// passes per second worked out from the two shown times.

#include <QString>

// Seconds since midnight rounded to single precision, in the shortest
// decimal text that reads back as that single ("45296.13", "0.5", "0").
QString singleText(double seconds);

// The pass count typed: rounded to a whole number (a half to the even
// neighbour). A value beyond 32 bits raises VError(Overflow).
int passCount(double value);

// Passes per second from the texts of the start and stop boxes: the whole
// part of passes / (stop - start), with its leading blank; "" when the
// difference is not above 0 (no time measured, or a run across midnight).
QString throughputResult(int passes, const QString& start, const QString& stop);
