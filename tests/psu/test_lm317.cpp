#include "psutest.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "psu/psutil_lm317.h"
#include "psu/regulatorcalc.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class TestLm317 : public QObject {
    Q_OBJECT
    PSUtil_lm317& w() { return FormSlots::get<PSUtil_lm317>(); }
    QComboBox* potlist() { return w().form()->findChild<QComboBox*>("potlist"); }
    void choosePot(int i)
    {
        potlist()->setCurrentIndex(i);
        emit potlist()->activated(i);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(openFromMenu("zlm317"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void formulas_data()
    {
        QTest::addColumn<double>("rfb");
        QTest::addColumn<double>("rpot");
        QTest::addColumn<double>("rset");
        QTest::addColumn<double>("vmax");
        QTest::addColumn<double>("vmin");
        QTest::newRow("no pot") << 243.0 << 0.0 << 722.0 << 5.0 << 5.0;
        QTest::newRow("5k pot") << 243.0 << 5000.0 << 722.0 << 30.970 << 5.0;
    }
    void formulas()
    {
        QFETCH(double, rfb);
        QFETCH(double, rpot);
        QFETCH(double, rset);
        QFETCH(double, vmax);
        QFETCH(double, vmin);
        const Lm317Volts v = lm317Volts(rfb, rpot, rset);
        QVERIFY(qAbs(v.max - vmax) < 0.0006);
        QVERIFY(qAbs(v.min - vmin) < 0.0006);
        // and back again
        QVERIFY(qAbs(lm317Rset(rfb, v.min) - rset) < 1e-9);
        QVERIFY(qAbs(lm317Rpot(rfb, v.max, rset) - rpot) < 1e-9);
    }

    void opening()
    {
        QCOMPARE(boxMismatch(w(), "spec", "0=243.0;1=0.0;2=722.0;3=5.000;4=5.000"), QString());
        QCOMPARE(potlist()->currentText(), QString("100"));
        QCOMPARE(w().caption(), QString("LM317 Calculator"));
    }

    void examples_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expect");
        QTest::newRow("voltages give set and pot") << "t4:5;t3:12" << "2=722.0;1=1347.7;4=5.000;3=12";
        QTest::newRow("enter re-formats") << "t2:5;e2" << "2=5.0;3=1.276;4=1.276";
        QTest::newRow("leaving re-formats") << "t3:12;l3" << "3=12.000";
        QTest::newRow("cleared feedback comes back") << "t0:" << "0=243.0;3=5.000";
        QTest::newRow("zero feedback comes back") << "t0:0" << "0=243.0";
        QTest::newRow("low vmin gives negative set") << "t4:1;t3:1" << "2=-48.1;1=0.0";
        QTest::newRow("filter refuses sign and letters") << "t2:-7k e2" << "2=72;3=1.624";
        QTest::newRow("pasted garbage reads 0") << "t2:1;p2:abc" << "2=abc;3=1.250;4=1.250";
        QTest::newRow("pasted negative feedback") << "t2:1;p0:-5" << "0=243.0";
    }
    void examples()
    {
        QFETCH(QString, script);
        QFETCH(QString, expect);
        runScript(w(), "spec", script);
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    void potChoice_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("pot");
        QTest::addColumn<QString>("expect");
        QTest::newRow("100 forward") << "" << 0 << "1=100.0;3=5.519;4=5.000";
        QTest::newRow("5K forward") << "" << 5 << "1=5000.0;3=30.970;4=5.000";
        QTest::newRow("1K after a voltage key solves back")
            << "t4:5;t3:12" << 3 << "1=1347.7;2=722.0";
    }
    void potChoice()
    {
        QFETCH(QString, script);
        QFETCH(int, pot);
        QFETCH(QString, expect);
        runScript(w(), "spec", script);
        choosePot(pot);
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    void potlistTakesNoKeys()
    {
        giveFocus(potlist());
        QTest::keyClicks(potlist(), "5");
        QCOMPARE(potlist()->currentText(), QString("100"));
    }
};

VOLTARIS_TEST(TestLm317);
#include "test_lm317.moc"
