#include "support/testmain.h"

#include "common/clock.h"
#include "common/randomsource.h"

#include <QTest>

#include <set>
#include <vector>

class TestClock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void systemClockByDefault()
    {
        const QDateTime before = QDateTime::currentDateTime();
        const QDateTime now = currentClock().now();
        QVERIFY(now >= before && now <= QDateTime::currentDateTime());
        const qint64 t0 = currentClock().tickMs();
        QTest::qWait(20);
        QVERIFY(currentClock().tickMs() - t0 >= 15);
    }

    void steppingAcrossMidnightAndMonthEnds_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<double>("seconds");
        QTest::newRow("midnight") << QDateTime(QDate(2023, 6, 14), QTime(23, 59, 59, 250)) << qint64(1000)
                                  << QDate(2023, 6, 15) << 0.25;
        QTest::newRow("month end") << QDateTime(QDate(2023, 4, 30), QTime(23, 59, 0)) << qint64(90000)
                                   << QDate(2023, 5, 1) << 30.0;
        QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 28), QTime(23, 0)) << qint64(3600000)
                                  << QDate(2024, 2, 29) << 0.0;
        QTest::newRow("year end") << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999)) << qint64(2)
                                  << QDate(2024, 1, 1) << 0.001;
    }
    void steppingAcrossMidnightAndMonthEnds()
    {
        QFETCH(QDateTime, start);
        QFETCH(qint64, step);
        QFETCH(QDate, date);
        QFETCH(double, seconds);
        ManualClock manual(start);
        const ClockOverride use(manual);
        QCOMPARE(today(), start.date());
        QCOMPARE(timeOfDay(), start.time());
        const double before = timer();
        const qint64 tick = currentClock().tickMs();
        manual.advance(step);
        QCOMPARE(today(), date);
        QCOMPARE(timer(), seconds);
        QVERIFY(timer() < before); // the time of day starts again at midnight...
        QCOMPARE(currentClock().tickMs() - tick, step); // ...the tick does not
    }

    void settingTheDateLeavesTheTick()
    {
        ManualClock manual;
        {
            const ClockOverride use(manual);
            manual.advance(500);
            manual.setNow(QDateTime(QDate(1999, 12, 31), QTime(12, 0)));
            QCOMPARE(today(), QDate(1999, 12, 31));
            QCOMPARE(currentClock().tickMs(), qint64(500));
        }
        // Out of scope the system clock is back.
        QCOMPARE(today(), QDate::currentDate());
    }

    void fixedSeedRepeatsItsDraws()
    {
        RandomSource a(12345), b(12345);
        for (int k = 0; k < 100; ++k) {
            QCOMPARE(a.next(), b.next());
            QCOMPARE(a.below(62), b.below(62));
        }
        seedRandomSource(7);
        const double first = randomSource().next();
        seedRandomSource(7);
        QCOMPARE(randomSource().next(), first);
    }

    void defaultSourcesDiffer()
    {
        RandomSource a, b;
        std::vector<double> da, db;
        for (int k = 0; k < 8; ++k) {
            da.push_back(a.next());
            db.push_back(b.next());
        }
        QVERIFY(da != db);
    }

    void drawsStayInRangeAndCoverIt()
    {
        RandomSource r(99);
        std::set<int> seen;
        for (int k = 0; k < 2000; ++k) {
            const double x = r.next();
            QVERIFY(x >= 0.0 && x < 1.0);
            const int v = r.below(10);
            QVERIFY(v >= 0 && v < 10);
            seen.insert(v);
        }
        QCOMPARE(int(seen.size()), 10);
        QCOMPARE(r.below(1), 0);
        QCOMPARE(r.below(0), 0);
        QCOMPARE(r.below(-5), 0);
    }
};

VOLTARIS_TEST(TestClock);
#include "test_clock.moc"
