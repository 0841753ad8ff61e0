#pragma once
// CPU time this process has used so far (all its threads), in nanoseconds.
// Costs compared as ratios of it within one run hold on a busy machine,
// where wall-clock times do not.

#include <QtGlobal>
#include <ctime>

inline qint64 processCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
