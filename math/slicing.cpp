#include "slicing.h"

namespace {
qint64 g_sliceMs = 15;
}

qint64 workSliceMs()
{
    return g_sliceMs;
}

void setWorkSliceMs(qint64 ms)
{
    g_sliceMs = ms;
}

PrimeYield primeYield()
{
    return g_sliceMs == 0 ? PrimeYield::EveryCandidate : PrimeYield::Timed;
}
