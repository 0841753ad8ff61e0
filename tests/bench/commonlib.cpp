// Figures for the common library's long-running procedures: the prime search
// under each yielding policy, and field access on a 1 MB line.

#include "common/fields.h"
#include "common/primes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>

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

void primes(int count, PrimeYield y)
{
    QList<int32_t> list(count + 1);
    QElapsedTimer clock;
    clock.start();
    primesearch(list, count, y);
    std::printf("primelist %9d primes, %-22s %9.1f ms  (last %d)\n", count, policyName(y), clock.nsecsElapsed() / 1e6,
                list[count]);
    std::fflush(stdout);
}

template <class F>
void timed(const char* what, int repeats, F f)
{
    QElapsedTimer clock;
    clock.start();
    QString r;
    for (int i = 0; i < repeats; ++i)
        r = f();
    std::printf("getfield %-44s %9.3f ms  (%s)\n", what, clock.nsecsElapsed() / 1e6 / repeats,
                qPrintable(r.left(12)));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window; // something for the event loop to look after
    window.resize(400, 300);
    window.show();

    for (int count : {100000, 1000000})
        for (PrimeYield y : {PrimeYield::Never, PrimeYield::Timed, PrimeYield::EveryCandidate})
            primes(count, y);

    // A 1 MB line of comma-separated numbers and one of blank-separated words.
    QString csv;
    for (int i = 0; csv.size() < 1024 * 1024; ++i)
        csv += QString::number(i) + u',';
    QString words = csv;
    words.replace(u',', QStringLiteral("   "));
    const QString comma = QStringLiteral(",");
    timed("count of a 1 MB line (\",\")", 20, [&] { return getfield(csv, 0, comma); });
    timed("field 1 of a 1 MB line", 20, [&] { return getfield(csv, 1, comma); });
    timed("field 8000 of a 1 MB line", 20, [&] { return getfield(csv, 8000, comma); });
    timed("trim (n = -1) of a 1 MB line", 20, [&] { return getfield(csv, -1, comma); });
    timed("field 8000 of a 1 MB line, blanks collapsed", 20, [&] { return getfield(words, 8000, " "); });
    timed("count of a 1 MB line, blanks collapsed", 20, [&] { return getfield(words, 0, " "); });
    return 0;
}
