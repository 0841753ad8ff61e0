// The diode leakage controller: its codec and plot arithmetic, and the
// window against a simulated 9619 board through a pseudo-terminal.

#include "support/controllerbench.h"
#include "diodeboard.h"

#include "support/alertsink.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/picturebox.h"
#include "sensors/ctrl_9619_diodeir.h"
#include "sensors/diodeir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace diodeir;

namespace {

struct Bench : ControllerBench<Ctrl_9619_diodeir, DiodeBoard> {
    using ControllerBench::ControllerBench;
    QCheckBox* check(const QString& name) const { return w.form()->findChild<QCheckBox*>(name); }
    QSlider* slider() const { return w.form()->findChild<QSlider*>("Slider1"); }
    QComboBox* scale() const { return w.form()->findChild<QComboBox*>("scalefactor"); }
    PictureBox* plot() const { return w.form()->findChild<PictureBox*>("dataplot"); }
    QStringList labels() const
    {
        QStringList out;
        for (int k = 0; k < 5; ++k)
            out << w.form()->findChild<QLabel*>(arrayName("yscale2", k))->text();
        return out;
    }
    QColor tempsetColour() const { return edit("tempset")->palette().color(QPalette::Base); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("cmmd", i)), Qt::LeftButton);
    }
    // The user drags the thumb to a value and lets go.
    void drag(int value) const
    {
        QSlider* s = slider();
        s->setSliderDown(true);
        s->setSliderPosition(value);
        s->setSliderDown(false);
    }
    QString log(int k) const { return tf.workFile(QStringLiteral("OutputFile%1.csv").arg(k + 1)); }
};

// The pixel rows of a plot column that hold the colour.
QList<int> rowsOf(PictureBox* p, double x, const QColor& c)
{
    const QImage& img = p->image();
    const int px = p->toPixel(x, 0).x();
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (img.pixelColor(px, y) == c)
            rows << y;
    return rows;
}

bool near(const QList<int>& rows, int y)
{
    return !rows.isEmpty() && std::abs(rows.first() - y) <= 2 && std::abs(rows.last() - y) <= 2;
}

const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 255, 0);

} // namespace

class DiodeIrTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reports_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("mode");
        QTest::newRow("worked example") << "0020,2512,100,1" << "25.12" << "4.957" << "Continuous";
        QTest::newRow("pulsed, negative") << "0020,-1000,0,0" << "-10.00" << "0.000" << "Pulsed";
        QTest::newRow("missing fields") << "0020" << "0.00" << "0.000" << "";
        QTest::newRow("letters read as 0") << "0020,ab,12x,2" << "0.00" << "0.595" << "";
        QTest::newRow("mode with blank") << "0020,100,1, 1" << "1.00" << "0.050" << "";
    }
    void reports()
    {
        QFETCH(QString, frame);
        const Report r = parseReport(frame);
        QTEST(fmt(r.temperature, "0.00"), "temperature");
        QTEST(fmt(r.current, "0.000"), "current");
        QTEST(r.mode, "mode");
    }

    void trendUnits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("scale"); // 0: a temperature
        QTest::addColumn<int>("units");
        QTest::newRow("25.12 degC") << 25.12 << 0.0 << 25;
        QTest::newRow("4.957 mA on 50") << 4.957 << 50.0 << 14;
        QTest::newRow("-10 degC") << -10.0 << 0.0 << -4;
        QTest::newRow("-4.5 floors below") << -4.5 << 0.0 << -4;
        QTest::newRow("154.9") << 154.9 << 0.0 << 154;
        QTest::newRow("160 degC") << 160.0 << 0.0 << 154;
        QTest::newRow("full scale on 2.5") << 2.5 << 2.5 << 150;
        // 3247.6 mA against 1 mA is 487140 units: past 16 bits, held, not wrapped.
        QTest::newRow("huge current, small scale") << 3247.6 << 1.0 << 154;
        QTest::newRow("not a number") << std::nan("") << 0.0 << -4;
    }
    void trendUnits()
    {
        QFETCH(double, value);
        QFETCH(double, scale);
        QFETCH(int, units);
        QCOMPARE(int(scale == 0 ? trendValue(value) : currentTrendValue(value, scale)), units);
    }

    void scaleAndCommands()
    {
        QCOMPARE(scaleLabels("50"), (QStringList{"0", "10", "20", "30", "40"}));
        QCOMPARE(scaleLabels("15"), (QStringList{"0", "3", "6", "9", "12"}));
        QCOMPARE(scaleLabels("3.0"), (QStringList{"0.0", "0.6", "1.2", "1.8", "2.4"}));
        QCOMPARE(scaleLabels("2.5"), (QStringList{"0.0", "0.5", "1.0", "1.5", "2.0"}));
        QCOMPARE(scaleLabels("1.0"), (QStringList{"0.0", "0.2", "0.4", "0.6", "0.8"}));
        QCOMPARE(setpointCommand(25), QStringLiteral("$006009C4\r"));
        QCOMPARE(setpointCommand(100), QStringLiteral("$00602710\r"));
        QCOMPARE(setpointCommand(150), QStringLiteral("$00603A98\r"));
        QVERIFY(confirms("25", "006002500"));
        QVERIFY(!confirms("25", "006002400"));
        QVERIFY(confirms("25.12", "006002512"));
        QVERIFY(!confirms("25", "0060"));
        QVERIFY(confirms("", "006000000x"));
    }

    void buttonsAndSlider()
    {
        Bench b;
        b.sim.setSilent(true);
        for (int i = 0; i < 4; ++i)
            b.click(i);
        QTRY_COMPARE(b.sim.received(), QByteArray("$0040\r$0041\r$0051\r$0050\r"));
        QCOMPARE(b.sim.mode, 1);
        QVERIFY(!b.sim.heater);
        b.sim.clearRecord();

        // A drag: the box follows the thumb, the command goes on release.
        QSlider* s = b.slider();
        s->setSliderDown(true);
        s->setSliderPosition(70);
        QCOMPARE(b.text("tempset"), QStringLiteral("70"));
        s->setSliderPosition(100);
        QCOMPARE(b.text("tempset"), QStringLiteral("100"));
        QTest::qWait(20);
        QVERIFY(b.sim.received().isEmpty());
        s->setSliderDown(false);
        QTRY_COMPARE(b.sim.received(), QByteArray("$00602710\r"));
        QCOMPARE(b.tempsetColour(), red);
        b.drag(25);
        QTRY_COMPARE(b.sim.received(), QByteArray("$00602710\r$006009C4\r"));
        QCOMPARE(b.text("tempset"), QStringLiteral("25"));
        // A click beside the thumb moves it a step and sends at once.
        s->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QTRY_COMPARE(b.sim.received(), QByteArray("$00602710\r$006009C4\r$00600A28\r"));
        QCOMPARE(b.text("tempset"), QStringLiteral("26"));
        // A drag that ends where it began, a value set by code, text typed
        // into the box and keys on the slider send nothing.
        b.drag(26);
        s->setValue(60);
        retype(b.edit("tempset"), "99");
        QTest::keyClicks(s, "5");
        QTest::qWait(150);
        QCOMPARE(b.sim.received(), QByteArray("$00602710\r$006009C4\r$00600A28\r"));
        QCOMPARE(s->value(), 60);
    }

    void confirmation()
    {
        Bench b;
        b.sim.confirmWrong = true;
        b.drag(25 + 1);
        b.drag(25);
        QTRY_COMPARE(b.sim.commands().size(), 2);
        b.settle();
        QCOMPARE(b.tempsetColour(), red); // "02400" for 25
        b.sim.confirmWrong = false;
        b.drag(40);
        QTRY_COMPARE(b.tempsetColour(), green);
        b.feed("!006002500\r"); // a late echo of an older target
        QCOMPARE(b.tempsetColour(), green);
        b.drag(25);
        QTRY_COMPARE(b.tempsetColour(), green);
        QCOMPARE(b.sim.setpoint, 2500);
        // Text typed into the box takes part in the test.
        b.sim.setSilent(true);
        b.drag(31);
        QTRY_COMPARE(b.sim.commands().last(), QStringLiteral("$00600C1C"));
        QCOMPARE(b.tempsetColour(), red);
        retype(b.edit("tempset"), "30");
        b.feed("!006003000\r");
        QCOMPARE(b.tempsetColour(), green);
        QCOMPARE(b.sim.commands().size(), 5);
    }

    void noPortSlider()
    {
        Bench b(false);
        AlertSink alerts;
        b.drag(80);
        QCOMPARE(b.slider()->value(), 25);
        QCOMPARE(b.text("tempset"), QStringLiteral("25"));
        b.slider()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(b.slider()->value(), 25);
        QTest::qWait(50);
        QVERIFY(alerts.titles.isEmpty());
        QVERIFY(b.sim.received().isEmpty());
        // The buttons do say there is no port.
        b.click(2);
        QCOMPARE(alerts.titles, QStringList{"Serial port error"});
    }

    void reportsShownPlottedLogged()
    {
        Bench b;
        for (int k = 0; k < 2; ++k)
            b.check(arrayName("logtofile", k))->setChecked(true);
        b.feed("!0020,2512,100,1\r!0020,2512,100,1\r");
        QCOMPARE(b.text("temperature"), QStringLiteral("25.12"));
        QCOMPARE(b.text("current"), QStringLiteral("4.957"));
        QCOMPARE(b.text("samplemode"), QStringLiteral("Continuous"));
        QVERIFY(!b.check("sampleticker")->isChecked()); // flipped twice
        QCOMPARE(b.w.plotdata.count(), 2);
        QCOMPARE(int(b.w.plotdata.at(0, 1)), 25);
        QCOMPARE(int(b.w.plotdata.at(1, 1)), 14);
        QVERIFY(near(rowsOf(b.plot(), 0.5, red), b.plot()->toPixel(0, 155 - 25).y()));
        QVERIFY(near(rowsOf(b.plot(), 0.5, blue), b.plot()->toPixel(0, 155 - 14).y()));
        const QByteArray line = "0020,2512,100,1,25.12,4.957\r\n";
        QCOMPARE(readFile(b.log(0)), line + line);
        QCOMPARE(readFile(b.log(1)), line + line);

        // Clamped at both ends; a mode field that is neither leaves the mode.
        b.check("logtofile_1")->setChecked(false);
        b.feed("!0020,-1000,0,0\r!0020,16000,0,7\r");
        QCOMPARE(int(b.w.plotdata.at(0, 2)), -4);
        QCOMPARE(int(b.w.plotdata.at(0, 3)), 154);
        QCOMPARE(b.text("samplemode"), QStringLiteral("Pulsed"));
        QCOMPARE(readFile(b.log(0)).count("\r\n"), 4);
        QCOMPARE(readFile(b.log(1)).count("\r\n"), 2);
        QVERIFY(near(rowsOf(b.plot(), 2.5, red), b.plot()->toPixel(0, 1).y()) ||
                rowsOf(b.plot(), 2.5, red).contains(b.plot()->toPixel(0, 1).y()));

        // The 52nd report drops the oldest point.
        QByteArray more;
        for (int k = 4; k < 51; ++k)
            more += "!0020," + QByteArray::number(k * 100) + ",0,1\r";
        b.feed(more);
        QCOMPARE(b.w.plotdata.count(), 51);
        QCOMPARE(int(b.w.plotdata.at(0, 0)), 25);
        b.feed("!0020,5100,0,1\r");
        QCOMPARE(b.w.plotdata.count(), 51);
        QCOMPARE(int(b.w.plotdata.at(0, 0)), 25); // the second of the first two
        QCOMPARE(int(b.w.plotdata.at(0, 1)), -4);
        QCOMPARE(int(b.w.plotdata.at(0, 50)), 51);
        QVERIFY(!rowsOf(b.plot(), 49.5, red).isEmpty());

        // A new scale: its labels, and the trend starts again.
        QCOMPARE(b.labels(), (QStringList{"0", "10", "20", "30", "40"}));
        b.scale()->setCurrentIndex(b.scale()->findText("2.5"));
        QCOMPARE(b.labels(), (QStringList{"0.0", "0.5", "1.0", "1.5", "2.0"}));
        QCOMPARE(b.w.plotdata.count(), 0);
        QVERIFY(rowsOf(b.plot(), 0.5, red).isEmpty());
        // A current far past the small scale stays on the plot's top edge.
        b.feed("!0020,2500,65535,1\r");
        QCOMPARE(int(b.w.plotdata.at(1, 0)), 154);
        b.scale()->setCurrentIndex(0);
        QCOMPARE(b.labels(), (QStringList{"0", "10", "20", "30", "40"}));
        QCOMPARE(b.w.plotdata.count(), 0);
        // Keys on the scale list change nothing; a double click clears.
        QTest::keyClicks(b.scale(), "2");
        QCOMPARE(b.scale()->currentIndex(), 0);
        b.feed("!0020,2500,100,1\r!0020,2500,100,1\r");
        QTest::mouseDClick(b.plot(), Qt::LeftButton);
        QCOMPARE(b.w.plotdata.count(), 0);
    }

    // A stream split into small pieces, with garbage between the reports,
    // gives the same log as a clean one.
    void brokenStream()
    {
        Bench b;
        b.check("logtofile_0")->setChecked(true);
        b.sim.setpoint = 9000;
        b.sim.stream(40);
        b.settle();
        const QByteArray clean = readFile(b.log(0));
        QCOMPARE(clean.count("\r\n"), 40);
        QFile::remove(b.log(0));
        b.sim.temperature = 2500;
        b.sim.stream(40, 7, "\x01\xfe!00\r junk");
        QTRY_COMPARE(readFile(b.log(0)).count("\r\n"), 40);
        QCOMPARE(readFile(b.log(0)), clean);
        QCOMPARE(b.w.plotdata.count(), 51);
        // Garbage and short frames alone change nothing but what they say.
        b.feed("!0021,1,2,3\r!0060\r\r!!\rxyz");
        b.sim.sendRaw(QByteArray(70 * 1024, 'x'));
        QTRY_VERIFY(b.sim.pending() == 0);
        QTest::qWait(30);
        QCOMPARE(readFile(b.log(0)), clean);
        QVERIFY(b.w.serial.ReceiveBuffer.size() <= 64 * 1024);
    }

    void logThatCannotBeWritten()
    {
        Bench b;
        const QString bad = b.tf.workFile("missing/OutputFile1.csv");
        b.edit("outfilename_0")->setText(bad);
        b.check("logtofile_0")->setChecked(true);
        b.check("logtofile_1")->setChecked(true);
        AlertSink alerts;
        b.sim.stream(5);
        QTRY_COMPARE(readFile(b.log(1)).count("\r\n"), 5);
        QTest::qWait(50);
        QCOMPARE(alerts.titles, QStringList{"Log file error"});
        QVERIFY(alerts.texts.first().contains(bad));
        QCOMPARE(b.w.serial.portopen, -1);
        QCOMPARE(b.w.plotdata.count(), 5);
        // Once it can be written, lines go there again; nothing is lost in
        // the other log.
        b.edit("outfilename_0")->setText(b.log(0));
        b.sim.stream(2);
        QTRY_COMPARE(readFile(b.log(0)).count("\r\n"), 2);
        QCOMPARE(readFile(b.log(1)).count("\r\n"), 7);
    }

    void boardVanishesMidStream()
    {
        Bench b;
        b.sim.stream(2000);
        QTRY_VERIFY(b.w.plotdata.count() > 0);
        b.vanish();

        PtyPair pty2;
        DiodeBoard sim2(pty2);
        b.reopen(pty2.path());
        b.click(3);
        QTRY_COMPARE(sim2.received(), QByteArray("$0050\r"));
        sim2.send("!0020,3000,0,0\r");
        QTRY_COMPARE(b.text("temperature"), QStringLiteral("30.00"));
    }

    void closeMidStream_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void closeMidStream()
    {
        QFETCH(bool, quit);
        Bench b;
        b.check("logtofile_0")->setChecked(true);
        b.sim.stream(3000);
        QTimer::singleShot(30, [&] { b.close(quit); });
        b.click(0); // its pacing wait runs while the window closes
        b.closed(quit);
        b.w.show();
        QCOMPARE(b.text("temperature"), QStringLiteral("---"));
        QCOMPARE(b.w.plotdata.count(), 0);
    }
};

VOLTARIS_TEST(DiodeIrTest);
#include "test_diodeir.moc"
