#include "loopgaps.h"

#include <ctime>

double LoopGaps::threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double LoopGaps::sliceLimitMs()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
    return 50.0 * 4;
#else
    return 50.0;
#endif
}

LoopGaps::LoopGaps()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    restart();
}

void LoopGaps::restart()
{
    m_longestGapMs = 0;
    m_longestCpuMs = 0;
    m_ticks = 0;
    m_busySeen = false;
    m_wall.start();
    m_lastWallMs = 0;
    m_lastCpuMs = threadCpuMs();
    m_timer.start();
}

void LoopGaps::stop()
{
    // The slice that ends here counts too.
    tick();
    --m_ticks;
    m_timer.stop();
}

void LoopGaps::tick()
{
    const double wall = double(m_wall.nsecsElapsed()) / 1e6;
    const double cpu = threadCpuMs();
    m_longestGapMs = qMax(m_longestGapMs, wall - m_lastWallMs);
    m_longestCpuMs = qMax(m_longestCpuMs, cpu - m_lastCpuMs);
    m_lastWallMs = wall;
    m_lastCpuMs = cpu;
    ++m_ticks;
    m_busySeen = m_busySeen || (m_form && m_form->cursor().shape() == Qt::WaitCursor);
}
