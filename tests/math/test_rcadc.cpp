#include "support/testmain.h"
#include "support/typing.h"

#include "common/numformat.h"
#include "common/picturebox.h"
#include "math/math_rcadc.h"
#include "math/rcadc.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);
const QColor curveGrey(200, 200, 200);
const QColor rampGrey(100, 100, 100);
const QString none = QStringLiteral("*********");

RcAdcInput defaults(bool ic = false)
{
    RcAdcInput in;
    in.icMode = ic;
    in.vfs = 3;
    in.mhz = 1;
    in.rOrI = 10;
    in.cuf = 0.1;
    in.count = 6;
    in.setpoint = {2, 1, 0.5};
    return in;
}
} // namespace

class TestRcAdc : public QObject {
    Q_OBJECT
    Math_rcadc& w() { return FormSlots::get<Math_rcadc>(); }
    QLineEdit* text1(int i) { return boxNamed(w(), QStringLiteral("Text1_%1").arg(i)); }
    QString t(int i) { return text1(i)->text(); }
    QString label1(int i) { return w().form()->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i))->text(); }
    QPushButton* button(const char* name) { return w().form()->findChild<QPushButton*>(name); }
    PictureBox* graph() { return w().form()->findChild<PictureBox*>("graph"); }
    void calculate() { QTest::mouseClick(button("Command1"), Qt::LeftButton); }
    // The colour drawn at a point or one pixel beside it (a line's pixels
    // may round a pixel away from the exact point).
    bool drawnNear(double x, double y, const QColor& c)
    {
        const QPoint p = graph()->toPixel(x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (graph()->image().pixelColor(p.x() + dx, p.y() + dy) == c)
                    return true;
        return false;
    }

private Q_SLOTS:
    void init()
    {
        popup("Math_rcadc");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    // Opening activates the window, which calculates with the defaults.
    void defaultsOnOpening()
    {
        QCOMPARE(w().caption(), QString("R/C time constant A-D conversion calculator"));
        const QStringList inputs{t(0), t(1), t(30), t(31), t(32), t(4), t(5), t(6)};
        QCOMPARE(inputs, QStringList({"3", "1", "10", "0.1", "6", "2", "1", "0.5"}));
        QCOMPARE(t(2), engformat(1e-3, "S"));
        QCOMPARE(t(7), engformat(1.0986e-3, "S"));
        QCOMPARE(t(8), engformat(0.4055e-3, "S"));
        QCOMPARE(t(9), engformat(0.1823e-3, "S"));
        QCOMPARE(QStringList({t(10), t(11), t(12), t(13), t(14), t(15)}),
                 QStringList({"1098", "405", "182", "274", "101", "45"}));
        QCOMPARE(w().form()->focusWidget(), text1(4));
    }

    // Each set-point row keeps its colour, and its text reads on it: a
    // contrast of at least 4.5 to 1 between text and background.
    void rowsReadOnTheirColours()
    {
        auto luminance = [](const QColor& c) {
            auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
        };
        const QColor rows[3] = {red, blue, QColor(0, 192, 0)};
        for (int k = 0; k < 3; ++k) {
            for (int first : {4, 7, 10, 13}) {
                QLineEdit* box = text1(first + k);
                const QColor back = box->palette().color(QPalette::Base);
                const QColor text = box->palette().color(QPalette::Text);
                QCOMPARE(back, rows[k]);
                const double a = luminance(back) + 0.05;
                const double b = luminance(text) + 0.05;
                QVERIFY2(std::max(a, b) / std::min(a, b) >= 4.5, qPrintable(box->objectName()));
            }
        }
    }

    void icMode()
    {
        // Values of the R/C mode the switch remembers.
        paste(text1(30), "4.7");
        paste(text1(31), "0.22");
        paste(text1(32), "3");
        QTest::mouseClick(button("rmode"), Qt::LeftButton);
        QCOMPARE(button("rmode")->text(), QString("I/C"));
        QCOMPARE(QStringList({label1(18), label1(23), label1(6)}), QStringList({"Iua", "1/1", "1/n"}));
        // Nothing remembered for I/C yet: the defaults.
        QCOMPARE(QStringList({t(30), t(31), t(32)}), QStringList({"10", "0.1", "6"}));
        // 10 uA into 0.1 uF ramps at 100 V/s: 3 V in 30 ms, 1 V in 10 ms.
        QCOMPARE(t(2), engformat(0.03, "S"));
        QCOMPARE(t(8), engformat(0.01, "S"));
        QCOMPARE(t(11), QString("10000"));
        QCOMPARE(t(14), QString("2500"));
        QCOMPARE(w().form()->focusWidget(), text1(4));

        paste(text1(30), "20");
        QTest::mouseClick(button("rmode"), Qt::LeftButton);
        QCOMPARE(button("rmode")->text(), QString("R/C"));
        QCOMPARE(QStringList({label1(18), label1(23), label1(6)}), QStringList({"Rk", "1TC", "TCs"}));
        QCOMPARE(QStringList({t(30), t(31), t(32)}), QStringList({"4.7", "0.22", "3"}));
        QTest::mouseClick(button("rmode"), Qt::LeftButton);
        QCOMPARE(QStringList({t(30), t(31), t(32)}), QStringList({"20", "0.1", "6"}));
    }

    void inputs_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("row1");
        QTest::addColumn<QStringList>("row2");
        const QStringList computed1{engformat(1.0986e-3, "S"), "1098", "274"};
        const QStringList computed2{engformat(0.4055e-3, "S"), "405", "101"};
        const QStringList noRow{none, none, none};
        QTest::newRow("set-point 2 above Vfs") << 5 << "5" << "5" << computed1 << noRow;
        QTest::newRow("set-point 2 at Vfs") << 5 << "3" << "3" << computed1 << noRow;
        QTest::newRow("set-point 1 above Vfs raises Vfs")
            << 4 << "4" << "4" << QStringList{engformat(1e-3 * std::log(4.01 / 0.01), "S"), "5993", "1498"}
            << QStringList{engformat(-1e-3 * std::log(3.01 / 4.01), "S"), "286", "71"};
        QTest::newRow("negative R gets its default") << 30 << "-5" << "10" << computed1 << computed2;
        QTest::newRow("garbage C gets its default") << 31 << "x" << "0.1" << computed1 << computed2;
        QTest::newRow("beyond doubles gets the default") << 0 << "1e999" << "3" << computed1 << computed2;
        QTest::newRow("huge Vfs") << 0 << "1e300" << "1e300" << QStringList{engformat(0, "S"), "0", "0"}
                                  << QStringList{engformat(0, "S"), "0", "0"};
        QTest::newRow("huge clock") << 1 << "1e305" << "1e305" << noRow << noRow;
    }
    void inputs()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QStringList, row1);
        QFETCH(QStringList, row2);
        paste(text1(field), text);
        calculate();
        QCOMPARE(t(field).toLower(), shown.toLower());
        QCOMPARE(QStringList({t(7), t(10), t(13)}), row1);
        QCOMPARE(QStringList({t(8), t(11), t(14)}), row2);
        if (field == 4)
            QCOMPARE(t(0), QString("4.01"));
    }

    void picture()
    {
        PictureBox* g = graph();
        // The set-point levels in their colours, clear of the curve at the right.
        QCOMPARE(g->point(1400, rcadcLevel(2, 3)), red);
        QCOMPARE(g->point(1400, rcadcLevel(1, 3)), blue);
        QCOMPARE(g->point(1400, rcadcLevel(0.5, 3)), green);
        QCOMPARE(g->point(8, 500), QColor(255, 255, 255));
        // The curve at three time constants (x 10 + 1500 * 3 / 6).
        const double v = 3 - 3 * std::exp(-3.0);
        QVERIFY(drawnNear(760, 1010 - 1000 * v / 3, curveGrey));
        // The ramp through the highest set-point's crossing.
        const double xs = 10 + 1500 * std::log(3.0) / 6;
        QVERIFY(drawnNear((10 + xs) / 2, (1010 + rcadcLevel(2, 3)) / 2, rampGrey));

        // I/C: a straight ramp that reaches Vfs / n at the full scale; no grey ramp.
        QTest::mouseClick(button("rmode"), Qt::LeftButton);
        QVERIFY(drawnNear(760, 1010 - 1000 * 0.5 / 6, curveGrey));
        QVERIFY(drawnNear(1510, 1010 - 1000 / 6.0, curveGrey));
        QVERIFY(!drawnNear((10 + xs) / 2, (1010 + rcadcLevel(2, 3)) / 2, rampGrey));
    }

    // Any count of time constants plots at once, up to the full scale.
    void hugeCount()
    {
        paste(text1(32), "1e12");
        calculate();
        QVERIFY(drawnNear(1510, 10, curveGrey));
        QVERIFY(drawnNear(760, 10, curveGrey));
    }

    void curvePoints_data()
    {
        QTest::addColumn<double>("count");
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("lastX");
        // Tenths of a time constant, one beyond the full scale.
        QTest::newRow("6 TCs") << 6.0 << 1 + 61 << 10 + 61 * 25.0;
        QTest::newRow("0.7 TCs") << 0.7 << 1 + 8 << 10 + 8 * 1500 / 7.0;
        QTest::newRow("150 TCs") << 150.0 << 1 + 1501 << 1511.0;
        // Beyond one point per drawing unit: 1500 points to the full scale.
        QTest::newRow("151 TCs") << 151.0 << 1 + 1500 << 1510.0;
        QTest::newRow("1e12 TCs") << 1e12 << 1 + 1500 << 1510.0;
    }
    void curvePoints()
    {
        QFETCH(double, count);
        QFETCH(int, points);
        QFETCH(double, lastX);
        RcAdcInput in = defaults();
        in.count = count;
        const std::vector<QPointF> pts = rcadcCurve(in);
        QCOMPARE(int(pts.size()), points);
        QCOMPARE(pts.front(), QPointF(10, 1010));
        QVERIFY(std::abs(pts.back().x() - lastX) < 1e-9);
        // The curve at the full scale: count time constants charged.
        const double full = 1010 - 1000 * (1 - std::exp(-count));
        if (count > 150)
            QVERIFY(std::abs(pts.back().y() - full) < 1e-6);
    }

    // The ramp takes the highest set-point that the curve crosses.
    void rampEnd()
    {
        RcAdcInput in = defaults();
        const QPointF end = *rcadcRampEnd(in);
        // Crosses 2 V at ln 3 time constants: 2/3 of the height over
        // 1500 ln 3 / 6 units.
        QVERIFY(std::abs(end.y() - (1010 - 666.6666667 * 1500 / (1500 * std::log(3.0) / 6))) < 1e-4);
        in.setpoint = {2, 5, 3};
        QCOMPARE(*rcadcRampEnd(in), end);
        in.icMode = true;
        QVERIFY(!rcadcRampEnd(in));
    }
};

VOLTARIS_TEST(TestRcAdc);
#include "test_rcadc.moc"
