#pragma once
// The program's clock: local date and time of day, and a monotonic tick.
// Everything that shows or stamps a date or time reads it here, so a test
// can install a ManualClock and step through midnight, a month end or a
// date change. Waits (delay, waitfor) keep their own monotonic timer: they
// measure real time passing, which a manual clock would never do.

#include <QDate>
#include <QDateTime>
#include <QTime>

class Clock {
public:
    virtual ~Clock();
    // Local date and time.
    virtual QDateTime now() const;
    // Monotonic milliseconds from an arbitrary start; never goes back,
    // whatever happens to the date and time.
    virtual qint64 tickMs() const;
};

// The clock in force (the system's unless a test installed another).
// Not named clock(): that is the C library's processor-time function.
const Clock& currentClock();

QDate today();
QTime timeOfDay();
// Seconds since midnight, with the milliseconds as fraction.
double timer();

// A clock that stands still until told to move.
class ManualClock : public Clock {
public:
    explicit ManualClock(const QDateTime& start = QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    QDateTime now() const override { return m_now; }
    qint64 tickMs() const override { return m_tick; }
    // Sets the date and time (the tick is monotonic and stays).
    void setNow(const QDateTime& when) { m_now = when; }
    // Moves both the date and time and the tick on by ms (>= 0).
    void advance(qint64 ms);

private:
    QDateTime m_now;
    qint64 m_tick = 0;
};

// Installs a clock while it lives; the previous one comes back after.
class ClockOverride {
public:
    explicit ClockOverride(const Clock& clock);
    ~ClockOverride();
    ClockOverride(const ClockOverride&) = delete;
    ClockOverride& operator=(const ClockOverride&) = delete;

private:
    const Clock* m_previous;
};
