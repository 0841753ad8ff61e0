// First-call time of the core table (read, sort, list) for files of
// several sizes. Prints one line per size, and checks that the list names
// every core once, in sorted order.
//
//   bench_coredata [--smoke]

#include "bench/benchkit.h"
#include "common/coredata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const bool smoke = bench::smokeRun(argc, argv);
    for (int n : smoke ? std::vector<int>{134, 1000} : std::vector<int>{134, 1000, 5000, 20000, 32767}) {
        const QString path = dir.filePath(QStringLiteral("cores%1.cdt").arg(n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QRandomGenerator rng(n);
        for (int i = 0; i < n; ++i)
            f.write("C" + QByteArray::number(rng.bounded(1000000)) + " Maker 2300 2350 0.4893 1.767 6.018 2.500 1.500 "
                    "1.000 14.13 480.3 4700 3C90 No ref\r\n");
        f.close();
        QElapsedTimer t;
        t.start();
        CoreTable table(path);
        const QString list = table.answer(0);
        const double first = t.nsecsElapsed() / 1e6;
        t.restart();
        for (int i = 0; i < 1000; ++i)
            table.answer(int16_t(1 + i % table.count()));
        const double later = t.nsecsElapsed() / 1e6 / 1000;
        std::printf("cores %6d: first call %8.2f ms, later calls %.4f ms each\n", n, first, later);
        // " n", "Select", then one key per core.
        const QStringList fields = list.split(QChar(255));
        const bool sorted = fields.size() > 2 && std::is_sorted(fields.begin() + 2, fields.end());
        bench::verdict().check(table.count() == n && fields.size() == n + 2 && fields[0] == u' ' + QString::number(n + 2)
                                   && sorted,
                               "cores %d: %d rows, a list of %lld fields%s", n, table.count(),
                               qint64(fields.size()), sorted ? "" : ", not sorted");
    }
    return bench::verdict().exitCode();
}
