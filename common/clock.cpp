#include "clock.h"

#include <QElapsedTimer>

#include <atomic>

namespace {
const Clock& systemClock()
{
    static const Clock c;
    return c;
}
std::atomic<const Clock*> g_clock{nullptr};
} // namespace

Clock::~Clock() = default;

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 Clock::tickMs() const
{
    static const QElapsedTimer start = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return start.elapsed();
}

const Clock& currentClock()
{
    const Clock* c = g_clock.load();
    return c ? *c : systemClock();
}

QDate today()
{
    return currentClock().now().date();
}

QTime timeOfDay()
{
    return currentClock().now().time();
}

double timer()
{
    return timeOfDay().msecsSinceStartOfDay() / 1000.0;
}

ManualClock::ManualClock(const QDateTime& start)
    : m_now(start)
{
}

void ManualClock::advance(qint64 ms)
{
    if (ms <= 0)
        return;
    m_now = m_now.addMSecs(ms);
    m_tick += ms;
}

ClockOverride::ClockOverride(const Clock& clock)
    : m_previous(g_clock.exchange(&clock))
{
}

ClockOverride::~ClockOverride()
{
    g_clock.store(m_previous);
}
