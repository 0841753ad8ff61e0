#include "support/testmain.h"

#include "components/rcolorcode.h"
#include "components/rlc_rcolor.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

class TestRcolor : public QObject {
    Q_OBJECT
    RLC_rcolor& w() { return FormSlots::get<RLC_rcolor>(); }
    template <class T>
    T* control(const QString& name) { return w().form()->findChild<T*>(name); }
    QString value() { return control<QLineEdit>("Text1")->text(); }

    // Clicks the swatches named in a list such as "1,10,20".
    void click(const QString& elements)
    {
        for (const QString& e : elements.split(u',', Qt::SkipEmptyParts)) {
            auto* s = control<QLabel>("bcolor_" + e);
            QVERIFY2(s, qPrintable(e));
            QTest::mouseClick(s, Qt::LeftButton);
        }
    }
    void chooseBands(int n) { QTest::mouseClick(control<QRadioButton>(n == 3 ? "bands_0" : "bands_1"), Qt::LeftButton); }
    // The colour painted at the middle of a band of the drawing.
    QColor painted(int band)
    {
        QFrame* b = control<QFrame>("ccode_" + QString::number(band));
        const QImage img = w().form()->grab().toImage();
        return img.pixelColor(b->mapTo(w().form(), b->rect().center()));
    }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("RLC_rcolor"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void start()
    {
        QCOMPARE(w().caption(), QString("Resistor Decoder"));
        QCOMPARE(value(), QString("1.00 kOhms 1%"));
        QCOMPARE(control<QLineEdit>("Text2")->text(), QString("200ppm/DegC"));
        QVERIFY(control<QRadioButton>("bands_1")->isChecked());
        QVERIFY(control<QLabel>("bcolor_49")->isHidden());
        QVERIFY(!control<QLabel>("bcolor_51")->isHidden());
        QVERIFY(control<QFrame>("outline_2")->isHidden());
        QVERIFY(!control<QFrame>("outline_3")->isHidden());
        const int codes[] = {1, 0, 0, 1, 1, -1, 12};
        for (int band : {0, 1, 2, 3, 4, 6})
            QCOMPARE(painted(band), bandColor(codes[band]));
    }

    void decode_data()
    {
        QTest::addColumn<int>("bands");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("text");
        QTest::newRow("4-7-2") << 3 << "4,17,22" << "4.70 kOhms 1%";
        QTest::newRow("4-7 gold") << 3 << "4,17,49" << "4.70 Ohms 1%";
        QTest::newRow("4-7 silver") << 3 << "4,17,50" << "0.47 Ohms 1%";
        QTest::newRow("1-0-9") << 3 << "1,10,29" << "10.0 GOhms 1%";
        QTest::newRow("1-0-0 three bands") << 3 << "1,10,20" << "10.0 Ohms 1%";
        QTest::newRow("1-0-1 three bands") << 3 << "1,10,21" << "100 Ohms 1%";
        QTest::newRow("1-0-5 three bands") << 3 << "1,10,25" << "1.00 MOhms 1%";
        QTest::newRow("1-0-0-0") << 4 << "1,10,20,30" << "100 Ohms 1%";
        QTest::newRow("1-0-0-9") << 4 << "1,10,20,39" << "100 GOhms 1%";
        QTest::newRow("4-7-5 gold") << 4 << "4,17,25,51" << "47.5 Ohms 1%";
        QTest::newRow("4-7-5 silver") << 4 << "4,17,25,52" << "4.75 Ohms 1%";
        QTest::newRow("2-4-9-4") << 4 << "2,14,29,34" << "2.49 MOhms 1%";
        QTest::newRow("grey tolerance") << 4 << "56" << "1.00 kOhms 0.05%";
        QTest::newRow("gold tolerance") << 4 << "42" << "1.00 kOhms 5%";
        QTest::newRow("B4 ignored with 3 bands") << 3 << "1,10,22,35,51" << "1.00 kOhms 1%";
    }
    void decode()
    {
        QFETCH(int, bands);
        QFETCH(QString, clicks);
        if (bands == 3)
            chooseBands(3);
        click(clicks);
        QTEST(value(), "text");
    }

    void bandsPaintTheDrawing()
    {
        click("4,17,25,34,55,47");
        const int codes[] = {4, 7, 5, 4, 7, -1, 3};
        for (int band : {0, 1, 2, 3, 4, 6})
            QCOMPARE(painted(band), bandColor(codes[band]));
        QCOMPARE(control<QLineEdit>("digit_4")->text(), QString("0.10"));
        QCOMPARE(control<QLineEdit>("Text2")->text(), QString("15ppm/DegC"));
        click("57");
        QCOMPARE(control<QLineEdit>("Text2")->text(), QString("200ppm/DegC"));
        QCOMPARE(painted(6), bandColor(12));
    }

    void switchingBands()
    {
        click("4,17,25");
        chooseBands(3);
        QVERIFY(control<QLineEdit>("digit_3")->isHidden());
        QVERIFY(control<QFrame>("ccode_3")->isHidden());
        QVERIFY(!control<QLabel>("bcolor_49")->isHidden());
        QVERIFY(control<QLabel>("bcolor_52")->isHidden());
        QVERIFY(!control<QFrame>("outline_2")->isHidden());
        QVERIFY(control<QFrame>("outline_3")->isHidden());
        QCOMPARE(value(), QString("4.70 MOhms 1%"));
        // a B4 swatch changes neither the drawing nor the texts
        const QImage before = w().form()->grab().toImage();
        click("36");
        QCOMPARE(w().form()->grab().toImage(), before);
        QCOMPARE(value(), QString("4.70 MOhms 1%"));
        QCOMPARE(control<QLineEdit>("digit_3")->text(), QString("1"));
        // back to 4 bands: B4 is repainted as its digit
        chooseBands(4);
        QVERIFY(!control<QLineEdit>("digit_3")->isHidden());
        QCOMPARE(value(), QString("4.75 kOhms 1%"));
        click("52");
        QCOMPARE(value(), QString("4.75 Ohms 1%"));
        chooseBands(3);
        chooseBands(4); // a silver B4 becomes black "0"
        QCOMPARE(control<QLineEdit>("digit_3")->text(), QString("0"));
        QCOMPARE(painted(3), bandColor(0));
        QCOMPARE(value(), QString("475 Ohms 1%"));
    }

    void unknownMultiplier()
    {
        const BandValue v = bandValue(true, 1, 0, 0, 0.5);
        QCOMPARE(v.value, 1.0);
        QCOMPARE(v.unit, QString());
        QCOMPARE(bandValueText(100), QString("100"));
        QCOMPARE(bandValueText(0.47), QString("0.47"));
    }
};

VOLTARIS_TEST(TestRcolor);
#include "test_rcolor.moc"
