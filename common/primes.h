#pragma once
// The first N prime numbers by trial division with the primes found so far.

#include <QList>
#include <cstdint>

// The number of primes up to 2^31 - 1, which is itself prime: the largest
// count whose primes fit the 32-bit entries.
constexpr int kMaxPrimeCount = 105097565;

// How often a long search lets the event loop run.
enum class PrimeYield {
    Timed,          // about every 15 ms: responsive, at no cost to the search
    EveryCandidate, // after each candidate tried
    Never,
};

// Entries 1 to count of primes receive the first count primes in ascending
// order (count 1 gives 2); entry 0 and entries above count are not touched;
// a count below 1 stores nothing. Returns 0. The list must hold index count
// (VError SubscriptRange otherwise); a count above kMaxPrimeCount raises
// VError Overflow. The search serves the event loop as it goes and stops
// early when the window that called it is closed or the program quits.
int primelist(QList<int32_t>& primes, const int& count);

// The same search with a chosen yielding policy.
int primesearch(QList<int32_t>& primes, int count, PrimeYield yield);
