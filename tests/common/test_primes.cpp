#include "support/testmain.h"

#include "common/primes.h"
#include "common/verror.h"

#include <QTest>
#include <QElapsedTimer>
#include <QTimer>

namespace {
// The list as the caller sizes it, every entry marked so untouched ones show.
QList<int32_t> marked(int size)
{
    return QList<int32_t>(size, -99);
}

bool isPrime(int64_t n)
{
    if (n < 2)
        return false;
    for (int64_t d = 2; d * d <= n; ++d)
        if (n % d == 0)
            return false;
    return true;
}
} // namespace

class TestPrimes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void smallCounts_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int32_t>>("expected");
        QTest::newRow("none") << 0 << QList<int32_t>{};
        QTest::newRow("negative") << -4 << QList<int32_t>{};
        QTest::newRow("one") << 1 << QList<int32_t>{2};
        QTest::newRow("two") << 2 << QList<int32_t>{2, 3};
        QTest::newRow("three") << 3 << QList<int32_t>{2, 3, 5};
        QTest::newRow("four") << 4 << QList<int32_t>{2, 3, 5, 7};
        QTest::newRow("five") << 5 << QList<int32_t>{2, 3, 5, 7, 11};
        QTest::newRow("six") << 6 << QList<int32_t>{2, 3, 5, 7, 11, 13};
        // 25 and 49 fall to 5 and 7 before the square-root test stops the trial.
        QTest::newRow("ten") << 10 << QList<int32_t>{2, 3, 5, 7, 11, 13, 17, 19, 23, 29};
        QTest::newRow("sixteen") << 16 << QList<int32_t>{2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53};
    }
    void smallCounts()
    {
        QFETCH(int, count);
        QFETCH(QList<int32_t>, expected);
        // Room beyond count: nothing may be written there, nor to entry 0.
        QList<int32_t> p = marked(std::max(count, 0) + 4);
        QCOMPARE(::primelist(p, count), 0);
        QCOMPARE(p[0], -99);
        QCOMPARE(p.mid(1, expected.size()), expected);
        for (qsizetype i = expected.size() + 1; i < p.size(); ++i)
            QCOMPARE(p[i], -99);
    }

    void thousandAgainstDirectTest()
    {
        QList<int32_t> p = marked(1001);
        ::primelist(p, 1000);
        QCOMPARE(p[1000], 7919);
        int32_t n = 1;
        for (int i = 1; i <= 1000; ++i) {
            ++n;
            while (!isPrime(n))
                ++n;
            QCOMPARE(p[i], n);
        }
    }

    void exactSizeIsEnough()
    {
        QList<int32_t> p(51);
        ::primelist(p, 50);
        QCOMPARE(p[50], 229);
    }

    void refusals()
    {
        QList<int32_t> p(10);
        try {
            ::primelist(p, 10); // index 10 does not exist
            QFAIL("no error raised");
        } catch (const VError& e) {
            QCOMPARE(e.number(), verr::SubscriptRange);
        }
        QCOMPARE(p, QList<int32_t>(10)); // nothing written
        // Refused before anything is allocated or written.
        try {
            QList<int32_t> none;
            ::primelist(none, kMaxPrimeCount + 1);
            QFAIL("no error raised");
        } catch (const VError& e) {
            QCOMPARE(e.number(), verr::Overflow);
        }
    }

    // Timers keep firing during a long search, but far less often than once
    // per candidate.
    void servesEventLoop()
    {
        int ticks = 0;
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start();
        QList<int32_t> p(200001);
        QElapsedTimer clock;
        clock.start();
        ::primelist(p, 200000);
        const qint64 ms = clock.elapsed();
        QCOMPARE(p[200000], 2750159);
        QVERIFY2(ticks >= 1 || ms < 15, qPrintable(QStringLiteral("%1 ms, %2 ticks").arg(ms).arg(ticks)));
        QVERIFY(ticks < 2750159 / 2 / 100);
    }
};

VOLTARIS_TEST(TestPrimes);
#include "test_primes.moc"
