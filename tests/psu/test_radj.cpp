#include "support/testmain.h"

#include "common/numtext.h"
#include "psu/radj.h"

#include <QTest>

class TestRadj : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ground_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<double>("vout");
        QTest::addColumn<QString>("text");
        QTest::newRow("7621 170 V") << 0 << 170.0 << "55.887";
        QTest::newRow("7621 150 V") << 0 << 150.0 << "346.580";
        QTest::newRow("7621 open threshold") << 0 << 142.65 << "Open";
        QTest::newRow("7621 just above open") << 0 << 142.66 << fmt(radj::toGround(radj::board7621(), 142.66, 9.746), "0.000");
        QTest::newRow("7621 ground threshold") << 0 << 199.975 << "Ground";
        QTest::newRow("8657a 175 V") << 1 << 175.0 << "32.397";
        QTest::newRow("8657a bottom") << 1 << 151.032 << "Open";
        QTest::newRow("8657a top") << 1 << 200.796 << "Ground";
        QTest::newRow("8657b 60 V") << 2 << 60.0 << "61.675";
        QTest::newRow("8657b default") << 2 << 49.296 << "334.324";
        QTest::newRow("8657b top") << 2 << 82.558 << "Ground";
    }
    void ground()
    {
        QFETCH(int, board);
        QFETCH(double, vout);
        QFETCH(QString, text);
        const RadjBoard* b[] = {&radj::board7621(), &radj::board8657a(), &radj::board8657b()};
        QCOMPARE(radj::groundText(*b[board], vout, b[board]->vref), text);
    }

    void zeroDivisor()
    {
        QCOMPARE(fmt(radj::toGround(radj::board7621(), 170, 0), "0.000"), QString("---"));
        // A board whose pole lies between its thresholds: the pole shows
        // "---", never a huge number.
        RadjBoard b = radj::board7621();
        b.vref = 1;
        b.top = 1;
        b.bottom = 1;
        b.openAt = 0;
        QCOMPARE(radj::groundText(b, 2, 1), QString("---"));
    }

    void slider_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<int>("p");
        QTest::addColumn<QString>("text");
        QTest::newRow("7621 any") << 0 << 1700 << "170.000";
        QTest::newRow("7621 right end") << 0 << 2000 << "200.000";
        QTest::newRow("8657a right end") << 1 << 2010 << "200.796";
        QTest::newRow("8657a 2008") << 1 << 2008 << "200.796";
        QTest::newRow("8657a 2007") << 1 << 2007 << "200.700";
        QTest::newRow("8657a left end") << 1 << 1510 << "151.032";
        QTest::newRow("8657a 1511") << 1 << 1511 << "151.100";
        QTest::newRow("8657b right end") << 2 << 826 << "82.558";
        QTest::newRow("8657b left end") << 2 << 452 << "45.296";
        QTest::newRow("8657b 600") << 2 << 600 << "60.000";
    }
    void slider()
    {
        QFETCH(int, board);
        QFETCH(int, p);
        QFETCH(QString, text);
        const RadjBoard* b[] = {&radj::board7621(), &radj::board8657a(), &radj::board8657b()};
        QCOMPARE(radj::sliderText(*b[board], p), text);
    }

    void limits_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("below") << "120" << "142.500";
        QTest::newRow("above") << "250" << "200.000";
        QTest::newRow("inside") << "170" << "170.000";
        QTest::newRow("empty") << "" << "142.500";
    }
    void limits()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(radj::limitVout(radj::board7621(), in), out);
    }

    void vadj_data()
    {
        QTest::addColumn<double>("vout");
        QTest::addColumn<double>("vadj");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("negative");
        QTest::newRow("defaults") << 125.0 << 5.0 << "144.381" << false;
        QTest::newRow("Vadj 1 V") << 125.0 << 1.0 << "Negative" << true;
        QTest::newRow("151 V") << 151.0 << 5.0 << "Radj=Open" << false;
        QTest::newRow("above the standard range") << 175.0 << 5.0 << "Negative" << true;
        QTest::newRow("zero divisor") << 1.24 + 1208 * (1.24 / 10) << 5.0 << "Negative" << true;
    }
    void vadj()
    {
        QFETCH(double, vout);
        QFETCH(double, vadj);
        QFETCH(QString, text);
        QFETCH(bool, negative);
        const radj::VadjResult r = radj::toVadj(radj::board8657a(), vout, vadj);
        QCOMPARE(r.text, text);
        QCOMPARE(r.negative, negative);
    }
};

VOLTARIS_TEST(TestRadj);
#include "test_radj.moc"
