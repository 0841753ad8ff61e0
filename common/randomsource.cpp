#include "randomsource.h"

#include <QRandomGenerator>

RandomSource::RandomSource()
    : RandomSource(QRandomGenerator::system()->generate64())
{
}

RandomSource::RandomSource(quint64 seed)
    : m_engine(seed)
{
}

void RandomSource::seed(quint64 seed)
{
    m_engine.seed(seed);
}

double RandomSource::next()
{
    // The top 53 bits fill a double's mantissa exactly, so 1 is never reached.
    return double(m_engine() >> 11) * 0x1.0p-53;
}

int RandomSource::below(int n)
{
    if (n <= 0)
        return 0;
    const quint64 range = quint64(n);
    // Draws past the last whole multiple of n would favour the low values.
    const quint64 limit = std::mt19937_64::max() - std::mt19937_64::max() % range;
    quint64 v;
    do
        v = m_engine();
    while (v >= limit);
    return int(v % range);
}

RandomSource& randomSource()
{
    static RandomSource source;
    return source;
}

void seedRandomSource(quint64 seed)
{
    randomSource().seed(seed);
}
