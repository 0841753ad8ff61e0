#pragma once
// How long a slice of the long work of these windows (searches, file
// reads, lists) runs before the event loop is served.

#include "common/primes.h"

#include <QtGlobal>

// The program's slice (TimeSlicer::defaultSliceMs). 0 serves the loop
// after every step, so a test can count that each stage of the work
// serves it, however fast the machine runs.
qint64 workSliceMs();
void setWorkSliceMs(qint64 ms);

// The prime search's yielding to match.
PrimeYield primeYield();
