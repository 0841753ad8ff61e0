#include "support/modal.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/picturebox.h"
#include "math/math_ffttester.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(QStringList)

namespace {
const QColor lightRed(255, 192, 192);
const QColor white(255, 255, 255);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);

QColor background(QLineEdit* box)
{
    return box->palette().color(QPalette::Base);
}
} // namespace

class TestFftTester : public QObject {
    Q_OBJECT
    Math_ffttester& w() { return FormSlots::get<Math_ffttester>(); }
    QLineEdit* box(const char* name) { return boxNamed(w(), QString::fromLatin1(name)); }
    QCheckBox* check(const char* name) { return w().form()->findChild<QCheckBox*>(QString::fromLatin1(name)); }
    PictureBox* graph() { return w().form()->findChild<PictureBox*>("graph"); }
    QStringList table() { return w().form()->findChild<QPlainTextEdit*>("resa")->toPlainText().split(u'\n'); }
    void plot() { QTest::mouseClick(w().form()->findChild<QPushButton*>("Command1"), Qt::LeftButton); }

    // Whether the spectrum has blue in bin k's column within the top
    // fraction of the picture (after a plot the spectrum's scale is current).
    bool blueNearTop(int k, double fraction)
    {
        PictureBox* g = graph();
        const int x = g->toPixel(k, 0).x();
        const int rows = int(g->image().height() * fraction);
        for (int y = 0; y < rows; ++y)
            if (g->image().pixelColor(x, y) == blue)
                return true;
        return false;
    }
    int countColour(const QImage& img, const QColor& c)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixelColor(x, y) == c;
        return n;
    }
    // The BinSize column of the table, by bin.
    std::vector<double> binSizes()
    {
        std::vector<double> sizes;
        const QStringList lines = table();
        for (qsizetype i = 1; i < lines.size(); ++i)
            sizes.push_back(lines[i].split(u'\t').value(2).toDouble());
        return sizes;
    }

private Q_SLOTS:
    void init()
    {
        popup("Math_ffttester");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void defaults()
    {
        QCOMPARE(w().caption(), QString("FFT Test"));
        QCOMPARE(box("samplecount")->text(), QString("1024"));
        check("datatable")->setChecked(true);
        plot();
        QCOMPARE(box("samplecount")->text(), QString("1024"));
        QCOMPARE(box("frequency")->text(), QString("200.000"));
        QCOMPARE(box("freq2")->text(), QString("----"));
        QCOMPARE(box("status1")->text(), QString());

        const QStringList lines = table();
        QCOMPARE(lines.size(), 1 + 512);
        QCOMPARE(lines[0], QString("Sample\tFreqBin\tBinSize\tSine"));
        QVERIFY(lines[1].startsWith(" 0\t 0\t"));
        QVERIFY(lines[512].startsWith(" 511\t 499\t"));
        // The peak of a tone at bin 204.8 is "FFT Max", and lies in bin 205.
        const std::vector<double> sizes = binSizes();
        const auto peak = std::max_element(sizes.begin(), sizes.end());
        QCOMPARE(peak - sizes.begin(), 205);
        QCOMPARE(box("fftmax")->text(), QString::number(*peak));
        // Integer mode lists the rounded-down samples: floor(100 sin(2 pi / 5)) = 95.
        QVERIFY(lines[2].endsWith("\t 95"));

        QVERIFY(blueNearTop(205, 0.1));
        QVERIFY(!blueNearTop(300, 0.5));
        QVERIFY(countColour(graph()->image(), red) > 100);
    }

    void doubleMode()
    {
        check("floatnint")->setChecked(false);
        check("datatable")->setChecked(true);
        plot();
        const QStringList lines = table();
        QVERIFY(lines[2].contains("\t 95.1056516")); // the sample itself, not rounded down
        QCOMPARE(binSizes().at(205), box("fftmax")->text().toDouble());
        QVERIFY(blueNearTop(205, 0.1));
    }

    void exponent_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("countTyped"); // samplecount before "Plot"
        QTest::addColumn<QString>("clamped");
        QTest::addColumn<QString>("count");
        QTest::newRow("zero") << "0" << "1" << "10" << "1024";
        QTest::newRow("empty") << "" << "1" << "10" << "1024";
        QTest::newRow("above 16") << "17" << "131072" << "16" << "65536";
        QTest::newRow("huge") << "99999" << "----" << "16" << "65536";
        QTest::newRow("fraction below 1") << "0.5" << "1" << "1" << "2";
        QTest::newRow("fraction rounds down") << "3.9" << "8" << "3.9" << "8";
    }
    void exponent()
    {
        QFETCH(QString, typed);
        QFETCH(QString, countTyped);
        QFETCH(QString, clamped);
        QFETCH(QString, count);
        paste(box("sampleroot"), typed);
        QCOMPARE(box("samplecount")->text(), countTyped);
        plot();
        QCOMPARE(box("sampleroot")->text(), clamped);
        QCOMPARE(box("samplecount")->text(), count);
        QVERIFY(!box("fftmax")->text().isEmpty());
    }

    void keyFilters()
    {
        retype(box("sampleroot"), "1a-2.");
        QCOMPARE(box("sampleroot")->text(), QString("12"));
        QCOMPARE(box("samplecount")->text(), QString("4096"));
        retype(box("period"), "2.5e-");
        QCOMPARE(box("period")->text(), QString("2.5"));
        pressEnter(box("period"));
        QCOMPARE(box("period")->text(), QString("2.5"));
        QCOMPARE(box("fftmax")->text(), QString()); // Enter does not plot
    }

    void twoTones()
    {
        check("multitone")->setChecked(true);
        check("datatable")->setChecked(true);
        paste(box("multiple"), "2");
        plot();
        QCOMPARE(box("freq2")->text(), QString("400.000"));
        // The second tone at bin 409.6 is as tall as the first.
        const std::vector<double> sizes = binSizes();
        const auto second = std::max_element(sizes.begin() + 300, sizes.end());
        QVERIFY(second - sizes.begin() == 409 || second - sizes.begin() == 410);
        QVERIFY(*second > 0.5 * box("fftmax")->text().toDouble());
        QVERIFY(blueNearTop(int(second - sizes.begin()), 0.3));

        // A multiplier of 0 or less is taken as 1 and shown.
        paste(box("multiple"), "-3");
        plot();
        QCOMPARE(box("multiple")->text(), QString("1"));
        QCOMPARE(box("freq2")->text(), QString("200.000"));
    }

    void negativeFrequencies()
    {
        check("showneg")->setChecked(true);
        check("datatable")->setChecked(true);
        plot();
        const QStringList lines = table();
        QCOMPARE(lines.size(), 1 + 1024);
        QVERIFY(lines[1024].startsWith(" 1023\t-1\t"));
        QVERIFY(lines[513].startsWith(" 512\t 500\t"));
        // The mirror of the peak fills the right half.
        QVERIFY(blueNearTop(205, 0.1));
        QVERIFY(blueNearTop(1024 - 205, 0.1));
    }

    void clearBeforePlot()
    {
        plot();
        const QImage first = graph()->image().copy();
        check("clearlast")->setChecked(false);
        paste(box("period"), "16");
        plot();
        const QImage second = graph()->image().copy();
        QVERIFY(second != first);
        // Every trace pixel of the first plot is still there.
        for (int y = 0; y < first.height(); ++y)
            for (int x = 0; x < first.width(); ++x)
                if (first.pixelColor(x, y) != white)
                    QVERIFY2(second.pixelColor(x, y) != white, qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
        check("clearlast")->setChecked(true);
        plot();
        QVERIFY(countColour(graph()->image(), white) > countColour(second, white));
    }

    void zeroRateOrPeriod_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero rate") << "samplerate" << "0";
        QTest::newRow("empty rate") << "samplerate" << "";
        QTest::newRow("zero period") << "period" << "0";
        QTest::newRow("period of garbage") << "period" << ".";
    }
    void zeroRateOrPeriod()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        const QByteArray name = field.toLatin1();
        const QString good = box(name)->text();
        paste(box(name), text);
        plot();
        QCOMPARE(background(box(name)), lightRed);
        QCOMPARE(box("frequency")->text(), QString("200")); // nothing was computed
        QCOMPARE(box("fftmax")->text(), QString());
        QCOMPARE(countColour(graph()->image(), white), graph()->image().width() * graph()->image().height());

        paste(box(name), good);
        plot();
        QCOMPARE(background(box(name)), white);
        QCOMPARE(box("frequency")->text(), QString("200.000"));
    }

    // Results beyond the 32-bit range are errors, shown; the window works on.
    void overflow_data()
    {
        QTest::addColumn<QString>("scale");
        QTest::addColumn<bool>("integer");
        QTest::newRow("integer bins") << "100000000" << true;
        QTest::newRow("rounded-down signal") << "99999999999" << false;
    }
    void overflow()
    {
        QFETCH(QString, scale);
        QFETCH(bool, integer);
        check("floatnint")->setChecked(integer);
        paste(box("pscale"), scale);
        {
            ModalAnswer alert("Command1_0");
            plot();
            QVERIFY(alert.answered());
            QVERIFY2(alert.text().startsWith("Error Code:  6"), qPrintable(alert.text()));
        }
        QCOMPARE(box("status1")->text(), QString());
        paste(box("pscale"), "100");
        plot();
        QVERIFY(box("fftmax")->text().toDouble() > 0);
    }

    void doubleModeHasNoLimit()
    {
        check("floatnint")->setChecked(false);
        paste(box("pscale"), "100000000");
        plot();
        QVERIFY(box("fftmax")->text().toDouble() > 1e10);
    }

    // Two samples, lower half: one bin, yet the spectrum keeps its own scale.
    void twoSamples()
    {
        paste(box("sampleroot"), "1");
        check("datatable")->setChecked(true);
        plot();
        QCOMPARE(box("samplecount")->text(), QString("2"));
        QCOMPARE(table().size(), 2);
        // Samples 0 and 95: bin 0 is 95, the peak; the spectrum's height is
        // floor(95 * 1.1) and its base 4.75 above the bottom.
        QCOMPARE(box("fftmax")->text(), QString("95"));
        PictureBox* g = graph();
        QCOMPARE(g->scaleWidth(), 1.0);
        QCOMPARE(g->scaleHeight(), 104.0);
        QCOMPARE(g->point(0, 104 - 95.0 / 20 - 95), blue);
    }
};

VOLTARIS_TEST(TestFftTester);
#include "test_ffttester.moc"
