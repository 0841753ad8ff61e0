#include "slicing.h"

#include "common/timeslice.h"

qint64 workSliceMs()
{
    return TimeSlicer::defaultSliceMs();
}

void setWorkSliceMs(qint64 ms)
{
    TimeSlicer::setDefaultSliceMs(ms);
}

PrimeYield primeYield()
{
    return workSliceMs() == 0 ? PrimeYield::EveryCandidate : PrimeYield::Timed;
}
