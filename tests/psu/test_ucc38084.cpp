#include "psutest.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "psu/psutil_ucc38084.h"
#include "psu/ucc38084calc.h"

#include <QLineEdit>
#include <QSlider>
#include <QTest>

class TestUcc38084 : public QObject {
    Q_OBJECT
    PSUtil_ucc38084& w() { return FormSlots::get<PSUtil_ucc38084>(); }
    QSlider* slider() { return w().form()->findChild<QSlider*>("rtiming"); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(openFromMenu("zucc38084"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void formulas()
    {
        QVERIFY(qAbs(uccFosc(25) - 1089.918256) < 1e-5);
        QVERIFY(qAbs(uccFosc(698) - 49.4252) < 5e-5);
        QCOMPARE(uccRtOfSlider(0), 25.0);
        QCOMPARE(uccRtOfSlider(100), 698.0);
        QVERIFY(qAbs(uccRset(1, 0.15, 1.5) - 50) < 1e-9);
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("UCC3808x PWM Controller"));
        QCOMPARE(boxMismatch(w(), "spec",
                             "0=25.0000;1=1089.9183;2=544.9591;11=0.9175;4=7.5000;5=50;6=30.0000;7=150.0000;8=1.5000"),
                 QString());
        QVERIFY(boxNamed(w(), "spec_1")->isReadOnly());
        QCOMPARE(boxNamed(w(), "spec_1")->palette().color(QPalette::Base), QColor(192, 255, 255));
    }

    void examples_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expect");
        QTest::newRow("low Rtiming while typing") << "t0:10" << "0=10;1=RT Error;2=RT Error;11=0.9175";
        QTest::newRow("low Rtiming on Enter") << "t0:10;e0" << "0=25.0000;1=1089.9183;2=544.9591";
        QTest::newRow("low Rtiming on leaving") << "t0:10;l0" << "0=25.0000;1=1089.9183";
        QTest::newRow("high Rtiming on Enter") << "t0:900;e0" << "0=698.0000;1=49.4252";
        QTest::newRow("cleared Vramp-peak") << "t9:;e9" << "9=0.5000;5=15";
        QTest::newRow("cleared Vramp-peak while typing") << "t9:" << "5=Vramppk Error;6=Rset Error;7=Rset Error";
        QTest::newRow("cleared Rsense while typing") << "t3:" << "4=Error in Rlim";
        QTest::newRow("cleared Rsense on Enter") << "t3:;e3" << "3=0.1000;4=7.5000";
        QTest::newRow("cleared Rfeedback on Enter") << "t10:;e10" << "10=1.0000;5=50";
        QTest::newRow("Rsense of 0.5") << "t3:.5;e3" << "3=0.5000;4=1.5000";
        QTest::newRow("filter refuses letters and sign") << "t3:-2x" << "3=2;4=0.3750";
        QTest::newRow("pasted negative Rfeedback, then a key") << "p10:-1;a3:0" << "5=-50;6=Rset Error;7=Rset Error";
        QTest::newRow("pasted garbage Vramp-peak, then a key") << "p9:abc;a3:0" << "9=abc;5=Vramppk Error;6=Rset Error;7=Rset Error";
    }
    void examples()
    {
        QFETCH(QString, script);
        QFETCH(QString, expect);
        runScript(w(), "spec", script);
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    void sliderCases_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expect");
        QTest::newRow("100") << 100 << "0=698.0000;1=49.4252";
        QTest::newRow("50") << 50 << "0=361.5000";
        QTest::newRow("0") << 0 << "0=25.0000;1=1089.9183";
    }
    void sliderCases()
    {
        QFETCH(int, position);
        QFETCH(QString, expect);
        if (position == 0)
            slider()->setValue(50); // so that 0 is a move
        slider()->setValue(position);
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    void typingDoesNotMoveSlider()
    {
        runScript(w(), "spec", "t0:361.5;e0");
        QCOMPARE(slider()->value(), 0);
    }

    void focusSelectsAll()
    {
        QLineEdit* b = boxNamed(w(), "spec_3");
        giveFocus(b);
        QCOMPARE(b->selectedText(), QString("0.1000"));
        QTest::keyClicks(b, "2");
        QCOMPARE(b->text(), QString("2"));
    }
};

VOLTARIS_TEST(TestUcc38084);
#include "test_ucc38084.moc"
