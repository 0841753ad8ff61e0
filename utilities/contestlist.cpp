#include "contestlist.h"

#include "common/fields.h"
#include "common/randomsource.h"

#include <algorithm>
#include <numeric>

std::vector<Contestant> readContestants(const QStringList& lines)
{
    std::vector<Contestant> out;
    for (const QString& line : lines) {
        const QString first = getfield(line, 1, QStringLiteral(" "));
        if (first.isEmpty())
            continue;
        out.push_back({first, getfield(line, 2, QStringLiteral(" "))});
    }
    return out;
}

QString contestantLine(const Contestant& c)
{
    return c.first.leftJustified(24, u' ', true) + QStringLiteral("  ") + c.second + QStringLiteral("\r\n");
}

QString winnerLine(int position, const Contestant& c)
{
    return QStringLiteral("%1 ").arg(position, 4, 10, QLatin1Char('0')) + contestantLine(c);
}

std::vector<int> drawWinners(int count, int wanted, RandomSource& random)
{
    count = std::max(count, 0);
    wanted = std::clamp(wanted, 0, count);
    // A partial shuffle: step k swaps a random one of the positions not yet
    // drawn into place k.
    std::vector<int> pool(static_cast<size_t>(count));
    std::iota(pool.begin(), pool.end(), 1);
    for (int k = 0; k < wanted; ++k)
        std::swap(pool[size_t(k)], pool[size_t(k + random.below(count - k))]);
    pool.resize(size_t(wanted));
    return pool;
}
