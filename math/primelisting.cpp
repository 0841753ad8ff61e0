#include "primelisting.h"

#include "common/fields.h"
#include "common/numformat.h"
#include "common/numtext.h"

#include <cmath>

namespace primetext {

int firstListed(int n, double d)
{
    const double first = std::round(double(n) - d + 1.0);
    if (!(first >= 1.0))
        return 1;
    // Past n lists nothing; keep it within int.
    return first > double(n) + 1.0 ? n + 1 : int(first);
}

int primeWidth(int32_t lastPrime)
{
    return int(numstr(double(lastPrime)).size()) + 1;
}

QString listLine(int index, int32_t prime, int indexWidth, int primeWidth)
{
    return spacepad(index, indexWidth) + spacepad(prime, primeWidth);
}

QStringList listLines(const QList<int32_t>& primes, int n, int first, int indexWidth)
{
    QStringList lines;
    if (n < 1 || first > n)
        return lines;
    const int wp = primeWidth(primes[n]);
    lines.reserve(n - first + 1);
    for (int i = first; i <= n; ++i)
        lines << listLine(i, primes[i], indexWidth, wp);
    return lines;
}

QStringList tableHeader()
{
    return {QStringLiteral("16 Bit Primes"), QStringLiteral("Index    Dec   Hex  Binary"), QString(36, u'-')};
}

QString tableLine(int index, int32_t prime)
{
    static const QString gap = QStringLiteral("  ");
    return spacepad(index, 5) + spacepad(prime, 7) + gap + hexpad(prime, 4) + gap + binstr(prime, 16);
}

int tableCount(const QList<int32_t>& primes, int n)
{
    int count = 0;
    while (count < n && count + 1 < primes.size() && primes[count + 1] <= kTableLimit)
        ++count;
    return count;
}

QByteArray fileBytes(const QList<int32_t>& primes, int n)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(n) * 20);
    appendFileLines(bytes, primes, 1, n);
    return bytes;
}

void appendFileLines(QByteArray& bytes, const QList<int32_t>& primes, int from, int to)
{
    for (int i = from; i <= to; ++i) {
        bytes += ' ';
        bytes += QByteArray::number(i);
        bytes += ' ';
        bytes += QByteArray::number(primes[i]);
        bytes += "\r\n";
    }
}

} // namespace primetext
