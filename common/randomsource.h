#pragma once
// The program's random numbers: one generator, seeded once per run from the
// system's entropy, never re-seeded from the clock. Tests fix the seed.

#include <QtGlobal>

#include <random>

class RandomSource {
public:
    // Seeded from the system's entropy.
    RandomSource();
    explicit RandomSource(quint64 seed);

    void seed(quint64 seed);
    // Uniform in [0, 1).
    double next();
    // Uniform in 0 .. n-1, without modulo bias; 0 when n <= 0.
    int below(int n);

private:
    std::mt19937_64 m_engine;
};

// The program's one source.
RandomSource& randomSource();
// Restarts the program's source from a fixed seed (tests).
void seedRandomSource(quint64 seed);
