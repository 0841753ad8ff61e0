#include "psutest.h"
#include "support/testmain.h"

#include "psu/flybackcalc.h"
#include "psu/psutil_flyback.h"
#include "psu/psutil_flybacksch.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

class TestFlyback : public QObject {
    Q_OBJECT
    PSUtil_flyback& w() { return FormSlots::get<PSUtil_flyback>(); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(openFromMenu("zflyback"));
        QVERIFY(w().visible());
    }
    void cleanup()
    {
        w().unload();
        FormSlots::get<PSUtil_flybacksch>().unload();
    }

    void formulas()
    {
        FlybackInputs in;
        in.vinMax = 7.5;
        in.vswSat = 0.05;
        in.vout1Max = 200;
        in.vout1Min = 150;
        in.vf1 = 0.7;
        in.vf2 = 0.25;
        in.np = 7.5;
        in.ns1 = 50;
        in.ns2 = 3;
        FlybackResults r = flyback(in);
        QVERIFY(r.valid);
        QVERIFY(qAbs(r.vout2Max - 11.792) < 0.0005);
        QVERIFY(qAbs(r.vout2Rev - (7.45 * 3 / 7.5 + r.vout2Max)) < 1e-12); // from the unrounded VOUT2-Max
        in.np = 0;
        QVERIFY(!flyback(in).valid);
    }

    void examples_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expect");
        QTest::newRow("defaults") << "" << "12=11.792;13=8.792;9=37.605;11=249.667;15=14.772";
        QTest::newRow("NS1 of 0") << "t7:0" << "12=---;13=---;9=---;11=---;15=---";
        QTest::newRow("NP cleared") << "t6:" << "12=---;13=---;9=---;11=---;15=---";
        QTest::newRow("NS2 of 0") << "t8:0" << "12=-0.250;13=-0.250";
        QTest::newRow("VIN-Min changes nothing") << "t14:99;e14" << "14=99.000;12=11.792;13=8.792;9=37.605;11=249.667;15=14.772";
        QTest::newRow("Enter re-formats") << "t2:100;e2" << "2=100.000;12=5.792";
        QTest::newRow("leaving re-formats") << "t5:1;l5" << "5=1.000";
        QTest::newRow("filter refuses sign and letters") << "t8:-6z" << "8=6";
        QTest::newRow("pasted negative NS1") << "p7:-50" << "12=---;9=---";
        QTest::newRow("pasted garbage NP") << "p6:turns" << "12=---;15=---";
        QTest::newRow("pasted number with letters") << "p8:3turns" << "12=11.792";
        QTest::newRow("overflow") << "p2:1e308;p8:1e308" << "12=---";
    }
    void examples()
    {
        QFETCH(QString, script);
        QFETCH(QString, expect);
        runScript(w(), "spec", script);
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    void resultLook()
    {
        QCOMPARE(w().caption(), QString("Flyback Transformer"));
        QLineEdit* b = w().form()->findChild<QLineEdit*>("spec_9");
        QVERIFY(b->isReadOnly());
        QCOMPARE(b->palette().color(QPalette::Base), QColor(255, 224, 192));
    }

    // Once beside the calculator; a second press neither opens another
    // window nor moves it.
    void schematicOpensOnce()
    {
        auto* button = w().form()->findChild<QPushButton*>("Command1");
        QVERIFY(button);
        PSUtil_flybacksch& sch = FormSlots::get<PSUtil_flybacksch>();
        sch.unload();
        button->click();
        QVERIFY(sch.visible());
        QCOMPARE(sch.caption(), QString("Flyback basic schematic"));
        QCOMPARE(sch.top(), w().top());
        QVERIFY(sch.left() > w().left());
        sch.setTop(900);
        const double left = sch.left();
        button->click();
        QCOMPARE(sch.top(), 900.0);
        QCOMPARE(sch.left(), left);
        QCOMPARE(sch.form()->findChildren<QWidget*>("Picture1").size(), qsizetype(1));
    }

    // The drawing: a white 400 x 283 surface with the circuit in black,
    // the winding dots among it.
    void schematicDrawing()
    {
        QImage img(400, 283, QImage::Format_RGB32);
        img.fill(Qt::red);
        {
            QPainter p(&img);
            drawFlybackSchematic(p);
        }
        int black = 0, red = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (qGray(c) < 60)
                    ++black;
                if (c == qRgb(255, 0, 0))
                    ++red;
            }
        QCOMPARE(red, 0);     // every pixel drawn
        QVERIFY(black > 1500); // lines, windings, labels
        QVERIFY(qGray(img.pixel(128, 146)) < 60); // the primary's VSW dot
        QVERIFY(qGray(img.pixel(210, 44)) < 60);  // NS1's diode-end dot
    }
};

VOLTARIS_TEST(TestFlyback);
#include "test_flyback.moc"
