#include "primes.h"
#include "pacing.h"
#include "verror.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
// Long enough that yielding costs nothing measurable, short enough that
// the window repaints and takes clicks smoothly.
constexpr qint64 kYieldMs = 15;
// Reading the clock is cheap but not free: look at it every so many tries.
constexpr int kClockEvery = 256;
} // namespace

int primesearch(QList<int32_t>& primes, int count, PrimeYield yield)
{
    if (count < 1)
        return 0;
    if (count > kMaxPrimeCount)
        throw VError(verr::Overflow, QStringLiteral("Overflow: the primes would pass 2147483647"));
    if (primes.size() <= count)
        throw VError(verr::SubscriptRange, QStringLiteral("Subscript out of range"));

    const int32_t first[] = {2, 3, 5};
    for (int i = 1; i <= 3 && i <= count; ++i)
        primes[i] = first[i - 1];

    const bool canYield = yield != PrimeYield::Never && QCoreApplication::instance();
    QElapsedTimer clock;
    clock.start();
    int sinceClock = 0;
    int32_t* const list = primes.data();
    int index = 4;
    // 64-bit so the step past the last 32-bit candidate cannot overflow.
    for (int64_t candidate = 7; index <= count; candidate += 2) {
        bool prime = true;
        for (int k = 1; k < index; ++k) {
            const int64_t d = list[k];
            if (candidate % d == 0) {
                prime = false;
                break;
            }
            if (d * d > candidate)
                break;
        }
        if (prime)
            list[index++] = int32_t(candidate);
        if (!canYield)
            continue;
        if (yield == PrimeYield::EveryCandidate) {
            QCoreApplication::processEvents();
        } else if (++sinceClock >= kClockEvery) {
            sinceClock = 0;
            if (clock.elapsed() < kYieldMs)
                continue;
            QCoreApplication::processEvents();
            clock.restart();
        } else {
            continue;
        }
        if (waitAborted())
            break;
        // A handler that ran meanwhile may have resized or replaced the
        // caller's list; the search must not go on in freed storage.
        if (primes.size() <= count || primes.constData() != list)
            throw VError(verr::SubscriptRange, QStringLiteral("Subscript out of range: the list changed during the search"));
    }
    return 0;
}

int primelist(QList<int32_t>& primes, const int& count)
{
    return primesearch(primes, count, PrimeYield::Timed);
}
