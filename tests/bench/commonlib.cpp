// Figures for the common library's long-running procedures: the prime search
// under each yielding policy, and field access on a 1 MB line. Every prime
// list is checked against a sieve, and every field against the line.
//
//   bench_commonlib [--smoke]

#include "bench/benchkit.h"
#include "common/fields.h"
#include "common/primes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>
#include <vector>

namespace {

const char* policyName(PrimeYield y)
{
    switch (y) {
    case PrimeYield::Timed: return "yield every 15 ms";
    case PrimeYield::EveryCandidate: return "yield every candidate";
    case PrimeYield::Never: return "no yielding";
    }
    return "";
}

// True when entries 1 to count are the first count primes.
bool firstPrimes(const QList<int32_t>& list, int count)
{
    const std::vector<qint32> sieve = bench::primesUpTo(list[count]);
    if (sieve.size() != size_t(count))
        return false;
    for (int k = 1; k <= count; ++k)
        if (list[k] != sieve[size_t(k - 1)])
            return false;
    return true;
}

void primes(int count, PrimeYield y)
{
    QList<int32_t> list(count + 1);
    QElapsedTimer clock;
    clock.start();
    primesearch(list, count, y);
    std::printf("primelist %9d primes, %-22s %9.1f ms  (last %d)\n", count, policyName(y), clock.nsecsElapsed() / 1e6,
                list[count]);
    std::fflush(stdout);
    bench::verdict().check(firstPrimes(list, count), "primelist %d, %s: not the first primes", count, policyName(y));
}

template <class F>
void timed(const char* what, int repeats, const QString& expected, F f)
{
    QElapsedTimer clock;
    clock.start();
    QString r;
    for (int i = 0; i < repeats; ++i)
        r = f();
    std::printf("getfield %-44s %9.3f ms  (%s)\n", what, clock.nsecsElapsed() / 1e6 / repeats,
                qPrintable(r.left(12)));
    bench::verdict().check(r == expected, "getfield %s: \"%s\" for \"%s\"", what, qPrintable(r.left(40)),
                           qPrintable(expected.left(40)));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window; // something for the event loop to look after
    window.resize(400, 300);
    window.show();

    const bool smoke = bench::smokeRun(argc, argv);
    for (int count : smoke ? std::vector<int>{10000} : std::vector<int>{100000, 1000000})
        for (PrimeYield y : {PrimeYield::Never, PrimeYield::Timed, PrimeYield::EveryCandidate})
            primes(count, y);

    // A 1 MB line of comma-separated numbers and one of blank-separated words.
    QString csv;
    for (int i = 0; csv.size() < 1024 * 1024; ++i)
        csv += QString::number(i) + u',';
    QString words = csv;
    words.replace(u',', QStringLiteral("   "));
    const QString comma = QStringLiteral(",");
    const int repeats = smoke ? 1 : 20;
    // Field n of either line is the number n - 1; each number is followed by
    // its delimiter, and a trailing delimiter opens no field.
    const QString fields = QString::number(csv.count(u','));
    timed("count of a 1 MB line (\",\")", repeats, fields, [&] { return getfield(csv, 0, comma); });
    timed("field 1 of a 1 MB line", repeats, QStringLiteral("0"), [&] { return getfield(csv, 1, comma); });
    timed("field 8000 of a 1 MB line", repeats, QStringLiteral("7999"), [&] { return getfield(csv, 8000, comma); });
    timed("trim (n = -1) of a 1 MB line", repeats, csv.chopped(1), [&] { return getfield(csv, -1, comma); });
    timed("field 8000 of a 1 MB line, blanks collapsed", repeats, QStringLiteral("7999"),
          [&] { return getfield(words, 8000, " "); });
    timed("count of a 1 MB line, blanks collapsed", repeats, fields, [&] { return getfield(words, 0, " "); });
    return bench::verdict().exitCode();
}
