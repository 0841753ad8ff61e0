// First-call time of the core table (read, sort, list) for files of
// several sizes. Prints one line per size.

#include "common/coredata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (int n : {134, 1000, 5000, 20000, 32767}) {
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
        table.answer(0);
        const double first = t.nsecsElapsed() / 1e6;
        t.restart();
        for (int i = 0; i < 1000; ++i)
            table.answer(int16_t(1 + i % table.count()));
        const double later = t.nsecsElapsed() / 1e6 / 1000;
        std::printf("cores %6d: first call %8.2f ms, later calls %.4f ms each\n", n, first, later);
    }
    return 0;
}
