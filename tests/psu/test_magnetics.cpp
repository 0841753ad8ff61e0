#include "support/testmain.h"

#include "common/numtext.h"
#include "psu/magnetics.h"

#include <QTest>
#include <cmath>

using namespace magnetics;

class TestMagnetics : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void coreInductor_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("want");
        QTest::newRow("turns for 100 uH, Al 100") << fmt(turnsForInductance(100, 100), "0.0000") << "31.6228";
        QTest::newRow("20 turns, Al 100") << fmt(inductanceForTurns(20, 100), "0.0000") << "40.0000";
        QTest::newRow("no Al, no turns") << fmt(turnsForInductance(100, 0), "0.0000") << "0.0000";
        QTest::newRow("negative inductance") << fmt(turnsForInductance(-100, 100), "0.0000") << "---";
        QTest::newRow("working flux 60 %") << fmt(workingFlux(3300, 60), "0") << "1980";
        QTest::newRow("energy") << fmt(coreEnergy(2000, 1, 100), "0.0000") << "4.0000";
        QTest::newRow("energy without Al") << fmt(coreEnergy(2000, 1, 0), "0.0000") << "0.0000";
        // E = L I^2: 4 mJ in 40 uH is 10 A.
        QTest::newRow("current") << fmt(throughputCurrent(4, 40), "0.0000") << "10.0000";
        QTest::newRow("current without inductance") << fmt(throughputCurrent(4, 0), "0.0000") << "0.0000";
        QTest::newRow("current from a negative energy") << fmt(throughputCurrent(-4, 40), "0.0000") << "---";
    }
    void coreInductor()
    {
        QFETCH(QString, got);
        QFETCH(QString, want);
        QCOMPARE(got, want);
    }

    void lcFilter_data()
    {
        QTest::addColumn<bool>("pushPull");
        QTest::addColumn<double>("vo");
        QTest::addColumn<double>("vi");
        QTest::addColumn<double>("imin");
        QTest::addColumn<double>("vr");
        QTest::addColumn<QString>("ff");
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("c");
        QTest::newRow("single") << false << 5.0 << 14.0 << 0.5 << 0.03 << "100.0000" << "82.6531" << "428.5714";
        QTest::newRow("push-pull") << true << 5.0 << 14.0 << 0.5 << 0.03 << "200.0000" << "41.3265" << "214.2857";
        QTest::newRow("no input voltage") << false << 5.0 << 0.0 << 0.5 << 0.03 << "100.0000" << "---" << "---";
        QTest::newRow("no load") << false << 5.0 << 14.0 << 0.0 << 0.03 << "100.0000" << "---" << "428.5714";
        QTest::newRow("no ripple") << false << 5.0 << 14.0 << 0.5 << 0.0 << "100.0000" << "82.6531" << "---";
        QTest::newRow("Vout = Vin") << false << 14.0 << 14.0 << 0.5 << 0.03 << "100.0000" << "0.0000" << "0.0000";
    }
    void lcFilter()
    {
        QFETCH(bool, pushPull);
        QFETCH(double, vo);
        QFETCH(double, vi);
        QFETCH(double, imin);
        QFETCH(double, vr);
        QFETCH(QString, ff);
        QFETCH(QString, l);
        QFETCH(QString, c);
        const double f = filterFrequency(100, pushPull);
        QCOMPARE(fmt(f, "0.0000"), ff);
        QCOMPARE(fmt(lcMinInductance(vo, vi, imin, f) * 1000, "0.0000"), l);
        QCOMPARE(fmt(lcMinCapacitance(vo, vi, 2, f, vr), "0.0000"), c);
    }
    void lcEsr()
    {
        QCOMPARE(fmt(lcMaxEsr(0.03, 2), "0.0000"), QString("0.0150"));
        QCOMPARE(fmt(lcMaxEsr(0.03, 0), "0.0000"), QString("---"));
    }

    void shuttle_data()
    {
        QTest::addColumn<double>("fill");
        QTest::addColumn<QString>("turnLength");
        QTest::newRow("10 %") << 10.0 << "28.000";
        QTest::newRow("100 %") << 100.0 << "46.000";
        QTest::newRow("0 %") << 0.0 << "---";
        QTest::newRow("above 100 %") << 101.0 << "---";
    }
    void shuttle()
    {
        QFETCH(double, fill);
        QFETCH(QString, turnLength);
        QCOMPARE(fmt(shuttleTurnLength(2.0, 1.0, 0.8, fill), "0.000"), turnLength);
    }

    void pushPull_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("up");
        QTest::newRow("7.25") << 7.25 << 8.0;
        QTest::newRow("7.00") << 7.0 << 7.0;
        QTest::newRow("0") << 0.0 << 0.0;
        QTest::newRow("tiny above a whole number") << 7.00000001 << 7.0;
    }
    void pushPull()
    {
        QFETCH(double, x);
        QFETCH(double, up);
        QCOMPARE(roundUp(x), up);
    }
    void pushPullTurns()
    {
        QCOMPARE(fmt(minPrimaryTurns(95, 24, 2000, 1.0, 100), "0.00"), QString("2.85"));
        QCOMPARE(fmt(minPrimaryTurns(95, 24, 2000, 0, 100), "0.00"), QString("---"));
        // 12 V from 24 V at 95 % duty with 10 primary turns.
        QCOMPARE(fmt(minSecondaryTurns(12, 24, 10, 95), "0.00"), QString("5.26"));
        QCOMPARE(fmt(minSecondaryTurns(12, 24, 10, 0), "0.00"), QString("---"));
        QCOMPARE(fmt(secondaryVoltage(5, 10, 24), "0.0000"), QString("12.0000"));
        QCOMPARE(fmt(secondaryVoltage(5, 0, 24), "0.0000"), QString("---"));
    }
};

VOLTARIS_TEST(TestMagnetics);
#include "test_magnetics.moc"
