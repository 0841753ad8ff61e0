#include "support/testmain.h"

#include "components/passivecalc.h"

#include <QTest>

#include <cmath>

class TestPassiveCalc : public QObject {
    Q_OBJECT
    // wire diameter in inches of a gauge number (8/0 is -7)
    static double awg(int n) { return 0.005 * std::pow(92.0, (36 - n) / 39.0); }
private Q_SLOTS:
    void busBarLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sections"); // "w*h*l" joined by " "
        QTest::newRow("fourth field ignored") << "1,1,1,9\r\n" << "1*1*1";
        QTest::newRow("blanks vanish") << "1 , 1 , 2\r\n" << "1*1*2";
        QTest::newRow("minus sign dropped") << "-2,1,1\r\n" << "2*1*1";
        QTest::newRow("zero and short lines dropped") << "0,1,5\r\n1,0,5\r\n1,0\r\n,,\r\n" << "";
        QTest::newRow("last line without end") << "1,2,3\r\n4,5,6" << "1*2*3 4*5*6";
        QTest::newRow("letters and dots") << "to a 1x1x5 bus.\r\nw=3,h=.5,l=2 in\r\n" << "3*0.5*2";
        QTest::newRow("two dots read as leading number") << "1..5,1,1\r\n" << "1*1*1";
        QTest::newRow("LF alone does not end a line") << "1,1,1\n2,2,2\r\n" << "1*1*12";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("binary") << QString::fromLatin1("\x01\xff,\x00\r\r\r", 7) << "";
    }
    void busBarLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, sections);
        QStringList got;
        for (const BusSection& s : parseBusBars(text))
            got << QStringLiteral("%1*%2*%3").arg(s.width).arg(s.height).arg(s.length);
        QCOMPARE(got.join(u' '), sections);
    }

    void busBarListHasNoLineLimit()
    {
        QString text;
        for (int i = 0; i < 2500; ++i)
            text += QStringLiteral("1,1,%1\r\n").arg(i % 2 ? 2 : 1);
        const auto sections = parseBusBars(text);
        QCOMPARE(int(sections.size()), 2500);
        double length = 0;
        for (const BusSection& s : sections)
            length += s.length;
        QCOMPARE(length, 3750.0);
    }

    void lists()
    {
        const QStringList awg = awgSizes();
        QCOMPARE(awg.size(), 88);
        QCOMPARE(awg.first(), QString("00000000"));
        QCOMPARE(awg[7], QString("0"));
        QCOMPARE(awg[8], QString("1"));
        QCOMPARE(awg.last(), QString("80"));
        const QStringList metals = metalNames();
        QCOMPARE(metals.size(), 26);
        QCOMPARE(metals.first(), QString("Aluminum"));
        QCOMPARE(metals.last(), QString("Zinc"));
    }

    void solenoidCases_data()
    {
        QTest::addColumn<double>("turns");
        QTest::addColumn<double>("id");
        QTest::addColumn<double>("wanted");
        QTest::addColumn<double>("wire");
        QTest::addColumn<QList<double>>("expect"); // spacing, actual, od, inductance, wire length
        // AWG 8/0 does not fit: close-wound and longer than wanted
        QTest::newRow("close wound") << 15.0 << 1.0 << 1.0 << awg(-7)
                                     << QList<double>{0, 10.971430, 2.462857, 1.818591, 81.591653};
        QTest::newRow("AWG 20 in one inch") << 15.0 << 1.0 << 1.0 << awg(20)
                                            << QList<double>{0.034705, 1.0, 1.063923, 4.035147, 48.630038};
        QTest::newRow("zero wanted length") << 2.0 << 1.0 << 0.0 << 0.5
                                            << QList<double>{0, 1.0, 2.0, 17 * std::pow(2.0, 1.3) * std::pow(1.5, 1.7) / std::pow(0.5, 0.7) / 1000,
                                                             3.141592654 * 3};
    }
    void solenoidCases()
    {
        QFETCH(double, turns);
        QFETCH(double, id);
        QFETCH(double, wanted);
        QFETCH(double, wire);
        QFETCH(QList<double>, expect);
        const Solenoid s = solenoid(turns, id, wanted, wire, 1);
        const double got[5] = {s.spacing, s.lengthActual, s.od, s.inductance, s.wireLength};
        for (int i = 0; i < 5; ++i)
            QVERIFY2(qAbs(got[i] - expect[i]) < 2e-6, qPrintable(QStringLiteral("%1: %2").arg(i).arg(got[i], 0, 'f', 7)));
    }

    void capacitor()
    {
        // 12 x 12 in, 0.01 in glass (K 4, 300 V/mil), one layer, 0.001 in plates, 3000 V
        const PlateCapacitor c = plateCapacitor(12, 12, 0.01, 1, 1, 0.001, 3000, 4, 300);
        QCOMPARE(c.area, 144.0);
        QVERIFY(qAbs(c.farads - 12954.24e-12) < 1e-18);
        QVERIFY(qAbs(c.breakdown - 3000) < 1e-9);
        QVERIFY(qAbs(c.energy - 0.0582940800) < 1e-9);
        QVERIFY(qAbs(c.height - 0.012) < 1e-12);
        // layers count as a whole number
        const PlateCapacitor two = plateCapacitor(12, 12, 0.01, 1, 2.7, 0.001, 0, 4, 300);
        QVERIFY(qAbs(two.farads - 2 * c.farads) < 1e-18);
        QVERIFY(qAbs(two.height - 0.023) < 1e-12);
    }
};

VOLTARIS_TEST(TestPassiveCalc);
#include "test_passivecalc.moc"
