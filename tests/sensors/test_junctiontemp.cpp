// The junction-temperature controller: its codec and arithmetic, and the
// window against a simulated 9767 board through a pseudo-terminal.

#include "junctionboard.h"

#include "support/controllerbench.h"
#include "support/alertsink.h"
#include "support/modal.h"
#include "support/oddfiles.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/numtext.h"
#include "common/picturebox.h"
#include "sensors/ctrl_9767_junctiontemp.h"
#include "sensors/junctiontemp.h"
#include "sensors/trendbuffer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetricsF>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace junctiontemp;

namespace {

struct Bench : ControllerBench<Ctrl_9767_junctiontemp, JunctionBoard> {
    using ControllerBench::ControllerBench;
    void set(const QString& name, const QString& value) const { edit(name)->setText(value); }
    QCheckBox* check(const QString& name) const { return w.form()->findChild<QCheckBox*>(name); }
    PictureBox* picture(const QString& name) const { return w.form()->findChild<PictureBox*>(name); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("cmmd", i)), Qt::LeftButton);
    }
    QString logPath() const { return tf.workFile("junctiontemp.csv"); }
};

// The pixel rows of a column of the plot that hold the colour.
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

bool onlyGrid(PictureBox* p)
{
    const QImage& img = p->image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c != Qt::white && c != Qt::black)
                return false;
        }
    return true;
}

const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 192, 0);

} // namespace

class JunctionTempTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replies_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("i");
        QTest::addColumn<QString>("v");
        QTest::addColumn<QString>("open");
        QTest::newRow("0020") << "00200F42400F4240FFFF8000" << true << "1.000000" << "0.500008" << "0.000000";
        QTest::newRow("0030 lower case") << "00300f4240ffff" << true << "0.000000" << "0.000000" << "1.000000";
        QTest::newRow("0040 open on the voltage scale") << "00400F424007A120FFFF80004000" << true << "1.000000"
                                                        << "0.250004" << "0.125002";
        QTest::newRow("0020 short") << "00200F42400F4240FFFF800" << false << "" << "" << "";
        QTest::newRow("0030 short") << "00300F4240FFF" << false << "" << "" << "";
        QTest::newRow("0040 short") << "00400F42400F4240FFFF8000400" << false << "" << "" << "";
        QTest::newRow("non-hex field") << "00200F42400F4240FFFF80G0" << false << "" << "" << "";
        QTest::newRow("blank in field") << "00200F4240 F4240FFFF8000" << false << "" << "" << "";
        QTest::newRow("other code") << "00500F42400F4240FFFF8000" << false << "" << "" << "";
    }
    void replies()
    {
        QFETCH(QString, frame);
        QFETCH(bool, ok);
        const auto r = parseReply(frame);
        QCOMPARE(r.has_value(), ok);
        if (!ok)
            return;
        QFETCH(QString, i);
        QFETCH(QString, v);
        QFETCH(QString, open);
        QCOMPARE(fmt(r->current, "0.000000"), i);
        QCOMPARE(fmt(r->voltage, "0.000000"), v);
        QCOMPARE(fmt(r->openVoltage, "0.000000"), open);
    }

    void thermal()
    {
        QCOMPARE(fmt(tcak(0.7, 0.4), "0.00000"), QStringLiteral("-1.81818"));
        QCOMPARE(fmt(junctionTemperature(0.500008, 0.7, -1.81818), "0.0"), QStringLiteral("70.0"));
        QCOMPARE(fmt(thetaJa(70.0, 25.0, 0.500008), "0.0"), QStringLiteral("90.0"));
        QCOMPARE(fmt(junctionTemperature(0.5, 0.7, 0), "0.0"), QStringLiteral("200.0"));
        QCOMPARE(fmt(thetaJa(70.0, 25.0, 0), "0.0"), QStringLiteral("9999.9"));
        QCOMPARE(fmt(thetaJa(70.0, 25.0, -1), "0.0"), QStringLiteral("9999.9"));
    }

    void plotUnits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("units");
        QTest::newRow("Tj 100.0") << 100.0 << 200.0 << 1000;
        QTest::newRow("P 0.640000") << 0.64 << 1.28 << 1000;
        QTest::newRow("negative floors down") << -0.0001 << 1.28 << -1;
        QTest::newRow("clamped high") << 5000.0 << 200.0 << 32767;
        QTest::newRow("clamped low") << -100.0 << 1.28 << -32768;
    }
    void plotUnits()
    {
        QFETCH(double, value);
        QFETCH(double, scale);
        QFETCH(int, units);
        QCOMPARE(int(plotValue(value, scale)), units);
    }

    void trendScrolls()
    {
        TrendBuffer t(2, 201);
        for (int k = 0; k < 202; ++k)
            t.add({qint16(k), qint16(-k)});
        QCOMPARE(t.count(), 201);
        QCOMPARE(int(t.at(0, 0)), 1);
        QCOMPARE(int(t.at(0, 200)), 201);
        QCOMPARE(int(t.at(1, 200)), -201);
        t.clear();
        QCOMPARE(t.count(), 0);
    }

    void logLineForm()
    {
        QCOMPARE(logLine({0.125, -1.81818, 85.3, 0}), QStringLiteral(" .125,-1.81818, 85.3, 0"));
    }

    void commandBytes_data()
    {
        QTest::addColumn<QString>("samples");
        QTest::addColumn<QString>("samples2");
        QTest::addColumn<bool>("heater");
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("left"); // samples afterwards
        QTest::newRow("Vf/If heater, 12") << "12" << "0" << true << 0 << QByteArray("$002007\r") << "7";
        QTest::newRow("Vf/If empty") << "" << "0" << true << 0 << QByteArray("$002000\r") << "0";
        QTest::newRow("Vf/If no heater") << "3" << "0" << false << 0 << QByteArray("$002103\r") << "3";
        QTest::newRow("On") << "3" << "0" << false << 1 << QByteArray("$001001\r") << "3";
        QTest::newRow("Off") << "3" << "0" << false << 2 << QByteArray("$001000\r") << "3";
        QTest::newRow("Vf heater") << "0" << "5" << true << 3 << QByteArray("$003005\r") << "0";
        QTest::newRow("Vf no heater") << "0" << "2" << false << 3 << QByteArray("$003102\r") << "0";
        QTest::newRow("Single") << "0" << "4" << false << 4 << QByteArray("$004004\r") << "0";
        QTest::newRow("Start Test") << "9" << "6" << false << 5 << QByteArray("$004106\r") << "7";
        QTest::newRow("Connection") << "9" << "1" << false << 6 << QByteArray() << "7";
    }
    void commandBytes()
    {
        QFETCH(QString, samples);
        QFETCH(QString, samples2);
        QFETCH(bool, heater);
        QFETCH(int, button);
        QFETCH(QByteArray, sent);
        QFETCH(QString, left);
        Bench b;
        b.sim.setSilent(true);
        b.set("samples", samples);
        b.set("samples2", samples2);
        b.check("hcontrol")->setChecked(heater);
        b.click(button);
        QTRY_COMPARE(b.sim.received(), sent);
        QCOMPARE(b.text("samples"), left);
    }

    void measurementsAndTest()
    {
        Bench b;
        b.set("vbelow", "0.70000");
        b.set("vbehigh", "0.40000");
        QCOMPARE(b.text("vbetc"), QStringLiteral("-1.81818"));
        b.set("tambient", "25.0");
        b.sim.setSilent(true);
        b.click(0);
        QCOMPARE(b.text("tcurrent"), QStringLiteral("---"));
        b.feed(b.sim.reply0020().toLatin1());
        QCOMPARE(b.text("tcurrent"), QStringLiteral("1.000000"));
        QCOMPARE(b.text("tvoltage"), QStringLiteral("0.500008"));
        QCOMPARE(b.text("tpower"), QStringLiteral("0.500008"));
        QCOMPARE(b.text("tvoltage2"), QStringLiteral("0.000000"));

        // The open voltage alone, then the heater switched: the board takes
        // the byte, and neither changes the other boxes.
        b.sim.setSilent(false);
        b.sim.open = 0x4000;
        b.click(3);
        QTRY_COMPARE(b.text("tvoltage2"), QStringLiteral("0.250004"));
        QCOMPARE(b.text("tcurrent"), QStringLiteral("1.000000"));
        b.click(1);
        b.click(2);
        QTRY_COMPARE(b.sim.heater, (QStringList{"01", "00"}));
        QCOMPARE(b.text("tpower"), QStringLiteral("0.500008"));
        b.sim.open = 0x8000;

        b.check("logtofile")->setChecked(true);
        b.click(4);
        QTRY_COMPARE(b.text("thetaja"), QStringLiteral("90.0"));
        QCOMPARE(b.text("tvoltage2"), QStringLiteral("0.500008"));
        QCOMPARE(b.text("jtemperature"), QStringLiteral("70.0"));
        QVERIFY(b.check("sampleticker")->isChecked());
        b.click(5);
        QTRY_VERIFY(!b.check("sampleticker")->isChecked());
        const QByteArray line = " 1, .500008, .500008, .500008, .7, .4,-1.81818, 25, 70, 90\r\n";
        QCOMPARE(readFile(b.logPath()),
                 "Iak,Vak(Heat),Pak(Heat),Vak(Open),Vak(-40),Vak(125),Tcak,Tambient,Tjunction,Thetaja\r\n"
                 "Amps,Volts,Watts,Volts,Volts,Volts,mV/DegC,DegC,DegC,Degc/W\r\n" +
                     line + line);
        QCOMPARE(b.w.plotdata.count(), 2);
    }

    void limitCases()
    {
        Bench b;
        b.set("vbelow", "0.5");
        b.set("vbehigh", "0.5");
        QCOMPARE(b.text("vbetc"), QStringLiteral("0.00000"));
        b.set("tambient", "25");
        b.sim.current = 0; // no power
        b.click(4);
        QTRY_COMPARE(b.text("jtemperature"), QStringLiteral("200.0"));
        QTRY_COMPARE(b.text("thetaja"), QStringLiteral("9999.9"));
        b.sim.current = 0xFFFF; // Tj 200 with power
        b.click(4);
        QTRY_COMPARE(b.text("thetaja"), QStringLiteral("350.0"));
    }

    // Short, garbled and unknown replies make no result; split and merged
    // ones each make one.
    void brokenReplies()
    {
        Bench b;
        b.check("logtofile")->setChecked(true);
        b.sim.setSilent(true);
        b.click(4);
        b.feed("!00200F42400F4240FFFF800\r!00400F42400F4240FFFF8000400\r!0040ZZZZZZ0F4240FFFF80004000\r"
               "\x01\xfe!0050\r!\r\r");
        for (const char* name : {"tcurrent", "tvoltage", "tvoltage2"})
            QCOMPARE(b.text(name), QStringLiteral("---"));
        QCOMPARE(b.w.plotdata.count(), 0);
        QVERIFY(!QFile::exists(b.logPath()));
        // A flood without a reply end stays within the buffer's bound.
        b.sim.sendRaw(QByteArray(300 * 1024, '7'));
        QTRY_VERIFY(b.sim.pending() == 0);
        QTest::qWait(30);
        QVERIFY(b.w.serial.ReceiveBuffer.size() <= receiveBufferLimit);
        QCOMPARE(b.w.plotdata.count(), 0);

        b.sim.setSilent(false);
        b.sim.setSplit(5);
        b.sim.setGarbage("junk\r");
        b.sim.tests = 3;
        b.click(5);
        QTRY_COMPARE(b.w.plotdata.count(), 3);
        b.sim.setSplit(0);
        b.sim.setMerge(true);
        b.click(5);
        QTRY_COMPARE(b.w.plotdata.count(), 6);
        QTRY_COMPARE(readFile(b.logPath()).count("\r\n"), 8);
    }

    void logThatCannotBeWritten()
    {
        Bench b;
        b.check("logtofile")->setChecked(true);
        const QString bad = b.tf.workFile("missing/junctiontemp.csv");
        b.set("logfilename", bad);
        ModalAnswer alert("Command1_0");
        b.click(4);
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Log file error"));
        QVERIFY(alert.text().contains(bad));
        ModalAnswer second("Command1_0", 300);
        b.click(4);
        QTRY_COMPARE(b.w.plotdata.count(), 2);
        QTest::qWait(100);
        QVERIFY(!second.answered());
        QCOMPARE(b.w.serial.portopen, -1);
        QCOMPARE(b.text("jtemperature"), QStringLiteral("200.0"));
        // Writable again: lines are written from then on.
        b.set("logfilename", b.logPath());
        b.click(4);
        QTRY_COMPARE(readFile(b.logPath()).count("\r\n"), 3);
    }

    void trendPlot()
    {
        Bench b;
        PictureBox* plot = b.picture("dataplot");
        b.set("vbelow", "0.70000");
        b.set("vbehigh", "0.40000");
        // Open 0.445461 V gives Tj 100.0; P = 1 A x 0.640000 V.
        b.sim.voltageScale = 640000;
        b.sim.voltage = 0xFFFF;
        b.sim.open = 45615;
        b.click(4);
        QTRY_COMPARE(b.w.plotdata.count(), 1);
        QCOMPARE(b.text("jtemperature"), QStringLiteral("100.0"));
        QCOMPARE(b.text("tpower"), QStringLiteral("0.640000"));
        QCOMPARE(int(b.w.plotdata.at(0, 0)), 1000);
        QCOMPARE(int(b.w.plotdata.at(1, 0)), 696);
        QCOMPARE(int(b.w.plotdata.at(2, 0)), 1000);
        QVERIFY(onlyGrid(plot));

        b.click(4);
        QTRY_COMPARE(b.w.plotdata.count(), 2);
        // Drawn last, the power trace covers the temperature at y = 1035.
        const int y1035 = plot->toPixel(0, 1035).y();
        const QList<int> g = rowsOf(plot, 0.5, green);
        QVERIFY(!g.isEmpty());
        QVERIFY(qAbs(g.first() - y1035) <= 2 && qAbs(g.last() - y1035) <= 2);
        const QList<int> bl = rowsOf(plot, 0.5, blue);
        QVERIFY(!bl.isEmpty());
        QVERIFY(qAbs(bl.first() - plot->toPixel(0, 2035 - 696).y()) <= 2);

        // The 202nd result drops the oldest; the newest stands at x = 200.
        b.sim.tests = 199;
        b.sim.setMerge(true);
        b.click(5);
        QTRY_COMPARE(b.w.plotdata.count(), 201);
        b.sim.tests = 1;
        b.sim.open = 0; // Tj far up (clamped), no open voltage
        b.click(4);
        QTRY_COMPARE(int(b.w.plotdata.at(1, 200)), 0);
        QCOMPARE(b.w.plotdata.count(), 201);
        QCOMPARE(int(b.w.plotdata.at(1, 199)), 696);
        const QList<int> newest = rowsOf(plot, 200, blue);
        QVERIFY(!newest.isEmpty());
        QVERIFY(qAbs(newest.last() - plot->toPixel(200, 2035).y()) <= 2);

        // A double click restarts the trend: only the grid is left.
        QTest::mouseDClick(plot, Qt::LeftButton);
        QCOMPARE(b.w.plotdata.count(), 0);
        QVERIFY(onlyGrid(plot));
        QCOMPARE(plot->image().pixelColor(plot->toPixel(100, 35)), QColor(Qt::black));
    }

    // The strips, compared with the same texts printed where the scale
    // puts them: in the plot's vertical units, so each number is level with
    // its grid line, and the bottom numbers whole.
    void scaleStrips()
    {
        Bench b(false);
        PictureBox* left = b.picture("vscaleleft");
        PictureBox* right = b.picture("vscaleright");
        PictureBox* plot = b.picture("dataplot");
        for (PictureBox* strip : {left, right})
            for (int k = 0; k <= 8; ++k)
                QCOMPARE(strip->toPixel(0, 35 + 250 * k).y(), plot->toPixel(0, 35 + 250 * k).y());
        PictureBox refLeft, refRight;
        for (auto [ref, strip] : {std::pair{&refLeft, left}, std::pair{&refRight, right}}) {
            ref->resize(strip->size());
            ref->setFont(strip->font());
            ref->setScale(0, 0, 200, 2070.0 * strip->height() / plot->height());
            ref->cls();
        }
        const QFontMetricsF m(left->font());
        const QStringList leftTexts{" 200", " 175", " 150", " 125", " 100", " 75", " 50", " 25", " 0"};
        const QStringList rightTexts{"1.280", "1.120", "0.960", "0.800", "0.640", "0.480", "0.320", "0.160", "0.000"};
        for (int k = 0; k <= 8; ++k) {
            refLeft.setCurrentX(std::round(179 - m.horizontalAdvance(leftTexts[k]) * 200.0 / left->width()));
            refLeft.setCurrentY(250 * k + 30);
            refLeft.print(leftTexts[k]);
            refRight.setCurrentX(0);
            refRight.setCurrentY(250 * k + 30);
            refRight.print(rightTexts[k]);
        }
        const QRect area(QPoint(0, 0), left->image().size());
        QCOMPARE(left->image(), refLeft.image().copy(area));
        QCOMPARE(right->image(), refRight.image().copy(area));
        // The numbers end near x = 179 of the strip.
        int rightmost = -1;
        const QImage& img = left->image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) != QColor(Qt::white))
                    rightmost = std::max(rightmost, x);
        QVERIFY(qAbs(rightmost - left->toPixel(179, 0).x()) <= 2);

        // "0" and "0.000" show as tall as the numbers above them: their ink
        // ends above the strips' lower edge.
        for (PictureBox* strip : {left, right}) {
            const QImage& ink = strip->image();
            auto inkRows = [&](int top, int bottom) {
                int first = -1, last = -1;
                for (int y = std::max(0, top); y < std::min(bottom, ink.height()); ++y)
                    for (int x = 0; x < ink.width(); ++x)
                        if (ink.pixelColor(x, y) != QColor(Qt::white)) {
                            if (first < 0)
                                first = y;
                            last = y;
                            break;
                        }
                return first < 0 ? 0 : last - first + 1;
            };
            const int row7 = strip->toPixel(0, 250 * 7 + 30).y();
            const int row8 = strip->toPixel(0, 250 * 8 + 30).y();
            const int whole = inkRows(row7, row8);
            QVERIFY(whole > 4);
            QCOMPARE(inkRows(row8, ink.height()), whole);
            for (int x = 0; x < ink.width(); ++x)
                QCOMPARE(ink.pixelColor(x, ink.height() - 1), QColor(Qt::white));
        }
    }

    void settingsFile()
    {
        Bench b(false);
        const QString ini = b.tf.appFile("9767.ini");
        QCOMPARE(readFile(ini), QByteArray("\r\n\r\n"));
        QCOMPARE(b.text("vbelow"), QStringLiteral("0.00000"));
        QCOMPARE(b.text("vbehigh"), QStringLiteral("0.00000"));
        QCOMPARE(b.text("tambient"), QStringLiteral("0.0"));
        b.set("vbelow", "0.70000");
        b.set("vbehigh", "0.40000");
        b.set("tambient", "");
        b.w.unload();
        const QList<QByteArray> lines = readFile(ini).split('\n');
        QCOMPARE(lines.mid(0, 4), (QList<QByteArray>{" .7\r", " .4\r", " 0\r", "\r"}));
        b.w.show();
        QCOMPARE(b.text("vbelow"), QStringLiteral("0.70000"));
        QCOMPARE(b.text("vbetc"), QStringLiteral("-1.81818"));
        b.w.unload();

        // Damaged: binary junk, a number with trailing text, a number too
        // long to be finite.
        QByteArray bytes("\x01\xff");
        bytes += '\0';
        bytes += "\r\n0.655abc\r\n" + QByteArray(3 << 20, '9') + "\r\n";
        writeFile(ini, bytes);
        b.w.show();
        QCOMPARE(b.text("vbelow"), QStringLiteral("0.00000"));
        QCOMPARE(b.text("vbehigh"), QStringLiteral("0.65500"));
        QCOMPARE(b.text("tambient"), QStringLiteral("0.0"));
        b.w.unload();

        // A file past the reader's size cap loads the lines of its first part.
        writeFile(ini, " .6\r\n .3\r\n-5\r\n" + QByteArray(17 << 20, 'x'));
        b.w.show();
        QCOMPARE(b.text("vbelow"), QStringLiteral("0.60000"));
        QCOMPARE(b.text("vbehigh"), QStringLiteral("0.30000"));
        QCOMPARE(b.text("tambient"), QStringLiteral("-5.0"));
    }

    // Something other than a regular file in the settings file's place: the
    // window loads with zeros (never waiting on a FIFO), and its close gives
    // one alert naming the file, leaves the thing alone and still closes.
    void settingsThatCannotBeSaved_data() { addOddFileRows(); }
    void settingsThatCannotBeSaved()
    {
        QFETCH(OddFile, odd);
        Bench b(false);
        b.w.unload();
        const QString ini = b.tf.appFile("9767.ini");
        makeOddFile(ini, odd);
        b.w.show();
        QCOMPARE(b.text("vbelow"), QStringLiteral("0.00000"));
        QCOMPARE(b.text("vbehigh"), QStringLiteral("0.00000"));
        AlertSink alerts;
        b.w.unload();
        QCOMPARE(alerts.titles, QStringList{"Settings file error"});
        QVERIFY(alerts.texts.first().contains(ini));
        QVERIFY(!b.w.isLoaded());
        QVERIFY(isOddFile(ini, odd));
    }

    void inputBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<int>("how"); // 0 Enter, 1 leave, 2 none (change only)
        QTest::addColumn<QString>("result");
        QTest::newRow("samples Enter") << "samples" << "9" << false << 0 << "7";
        QTest::newRow("samples leave") << "samples" << "0" << false << 1 << "0";
        QTest::newRow("samples refuses minus") << "samples" << "-3" << false << 1 << "3";
        QTest::newRow("samples2 on change") << "samples2" << "8" << false << 2 << "7";
        QTest::newRow("tambient") << "tambient" << "25.25" << false << 1 << "25.3";
        QTest::newRow("tambient letters") << "tambient" << "2a,5" << false << 0 << "25.0";
        QTest::newRow("vbelow") << "vbelow" << ".7" << false << 0 << "0.70000";
        QTest::newRow("pasted leading number") << "vbehigh" << "0.4V at 125" << true << 1 << "0.40000";
        QTest::newRow("pasted no number") << "tambient" << "warm" << true << 1 << "0.0";
    }
    void inputBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(bool, paste);
        QFETCH(int, how);
        QFETCH(QString, result);
        Bench b(false);
        QLineEdit* e = b.edit(box);
        if (paste) {
            giveFocus(e);
            e->selectAll();
            ::paste(e, keys);
        } else {
            retype(e, keys);
        }
        if (how == 0)
            pressEnter(e);
        else if (how == 1)
            leaveBox(e);
        QCOMPARE(e->text(), result);
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(4);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QCOMPARE(b.text("tvoltage2"), QStringLiteral("---"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
    }

    void boardVanishesDuringTest()
    {
        Bench b;
        b.sim.setSilent(true);
        b.click(5);
        ModalAnswer alert("Command1_0");
        b.sim.vanish();
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Com port error"));
        ModalAnswer second("Command1_0", 200);
        QTest::qWait(200);
        QVERIFY(!second.answered());
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.w.form()->findChild<QComboBox*>("portselect")->currentIndex(), 0);

        PtyPair pty2;
        JunctionBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        auto* ports = b.w.form()->findChild<QComboBox*>("portselect");
        ports->setCurrentIndex(ports->findText(pty2.path()));
        b.click(0);
        QTRY_COMPARE(b.text("tcurrent"), QStringLiteral("1.000000"));
    }

    // Closing the window, or quitting the program, while a command's pacing
    // wait runs and its result arrives.
    void closeDuringPacing_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void closeDuringPacing()
    {
        QFETCH(bool, quit);
        Bench b;
        QTimer::singleShot(20, [&] { closeOrQuit(b.w, quit); });
        b.click(4);
        // Gone by the time the handler returned, not some time later.
        const bool closedAtOnce = !b.w.isLoaded();
        QVERIFY(closedAndRecovered(b.w, quit));
        QVERIFY(closedAtOnce);
        QTest::qWait(50);
        b.w.show();
        QCOMPARE(b.text("jtemperature"), QStringLiteral("0.0"));
    }

    void connectionDrawing()
    {
        Bench b(false);
        QWidget* c = b.w.form()->findChild<QWidget*>("connector");
        QVERIFY(!c->isVisible());
        b.click(6);
        QVERIFY(c->isVisible());
        QTest::mouseClick(c, Qt::LeftButton);
        QVERIFY(!c->isVisible());
    }
};

VOLTARIS_TEST(JunctionTempTest);
#include "test_junctiontemp.moc"
