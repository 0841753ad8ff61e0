// First-call time of the core table (read, sort, list) for files of
// several sizes. Prints one line per size, and checks that the list names
// every core of the file once, in sorted order.
//
//   bench_coredata [--smoke]

#include "bench/benchkit.h"
#include "common/coredata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
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
        // The key of each core (name, name, material), in character-code
        // order as the list must give them.
        QStringList keys;
        for (int i = 0; i < n; ++i) {
            const QByteArray name = "C" + QByteArray::number(rng.bounded(1000000));
            const QByteArray maker = i % 3 ? "Maker" : "Forge";
            f.write(name + ' ' + maker + " 2300 2350 0.4893 1.767 6.018 2.500 1.500 1.000 14.13 480.3 4700 3C90 No ref\r\n");
            keys << QString::fromLatin1(name + ' ' + maker + " 3C90");
        }
        std::sort(keys.begin(), keys.end());
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
        // " n", "Select", then one key per core: the cores of the file, by
        // name, in sorted order.
        const QStringList fields = list.split(QChar(255));
        const bool named = fields.size() > 2 && fields.mid(2) == keys;
        bench::verdict().check(table.count() == n && fields.size() == n + 2 && fields[0] == u' ' + QString::number(n + 2)
                                   && fields[1] == QLatin1String("Select") && named,
                               "cores %d: %d rows, a list of %lld fields%s", n, table.count(),
                               qint64(fields.size()), named ? "" : ", not the file's cores in sorted order");
    }
    return bench::verdict().exitCode();
}
