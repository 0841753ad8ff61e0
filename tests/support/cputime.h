#pragma once
// Processor time (user plus system) this process has used so far, all its
// threads, in seconds. Costs compared as ratios of it within one run hold
// on a busy machine, where wall-clock times do not.

#include <sys/resource.h>
#include <ctime>

inline double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Processor time of the calling thread alone, in seconds: work on the GUI
// thread measured without the noise of the process's other threads.
inline double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
