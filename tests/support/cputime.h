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

// How many times more processor time a sanitizer build takes for the same
// work: limits on processor time allow that much more there, and work that
// breaks them by far (an unsliced loop, a timer that never rests) still
// shows.
// The sanitizer build has the address and undefined-behaviour checks
// together; the compiler announces only the first.
#ifdef __SANITIZE_ADDRESS__
constexpr double kSanitizerSlowdown = 4.0;
#else
constexpr double kSanitizerSlowdown = 1.0;
#endif
