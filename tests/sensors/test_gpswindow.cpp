// The GPS module window against a simulated 9064 module through a
// pseudo-terminal: sentence decoding, the $PDME panel, the position
// analysis with its plot and log, the location and settings files, and a
// module that vanishes or a window that closes while sentences stream.

#include "gpsmodule.h"

#include "support/controllerbench.h"
#include "support/alertsink.h"
#include "support/quitting.h"
#include "support/filechoice.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/widetext.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/picturebox.h"
#include "common/owntext.h"
#include "common/rs232_comportscanner.h"
#include "common/z_alert.h"
#include "sensors/ctrl_9064_gps.h"
#include "sensors/gpsanalysis.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const double refLat = 48.1173;
const double refLon = 11.0 + 31.0 / 60;

// A fix the given errors (feet) away from the reference.
GpsModule::Fix offset(double latFeet, double lonFeet)
{
    return {refLat - latFeet / gps::feetPerDegreeLat, refLon - lonFeet / gps::feetPerDegreeLon, true};
}

struct Bench : ControllerBench<Ctrl_9064_gps, GpsModule> {
    using ControllerBench::ControllerBench;
    template <class T>
    T* ctl(const QString& name) const
    {
        T* c = w.form()->findChild<T*>(name);
        if (!c)
            qWarning("no control %s", qPrintable(name));
        return c;
    }
    QString gga(int i) const { return text(arrayName("gpgga", i)); }
    QString rmc(int i) const { return text(arrayName("gprmc", i)); }
    QString data(int i) const { return text(arrayName("cmmddata", i)); }
    QString response() const { return ctl<QPlainTextEdit>("cmmdresponse")->toPlainText(); }
    bool checked(const QString& name) const { return ctl<QCheckBox>(name)->isChecked(); }
    void check(const QString& name, bool on) const { ctl<QCheckBox>(name)->setChecked(on); }
    void click(const QString& name) const { QTest::mouseClick(ctl<QAbstractButton>(name), Qt::LeftButton); }
    QStringList variances() const
    {
        QStringList v;
        for (int i = 0; i < 8; ++i)
            v << text(arrayName("variances", i));
        return v;
    }
    // Every sentence sent so far has been handled once a marker reply sent
    // after them stands in the response box.
    void settle()
    {
        const QString marker = QStringLiteral("PDME,99,%1").arg(++markers);
        sim.send(GpsModule::sentence(marker, false));
        QTRY_VERIFY(response().contains(marker + "[CR]"));
    }
    // One second of sentences, handled.
    void second()
    {
        sim.burst();
        settle();
    }
    void mapOn(bool log = false) const
    {
        check("plotpoints", true);
        check("logdata", log);
    }

    int markers = 0;
};

QList<QByteArray> fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class GpsWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensFromMenuName()
    {
        TempFolders tf;
        popup("Ctrl_9064_gps");
        auto& w = FormSlots::get<Ctrl_9064_gps>();
        QVERIFY(w.visible());
        QCOMPARE(w.caption(), QStringLiteral("RVM 9064 GPS RTC module NMEA message decode and analysis "));
        QWidget* f = w.form();
        QCOMPARE(f->findChild<QComboBox*>("portselect")->currentText(), QStringLiteral("Select"));
        QCOMPARE(f->findChild<QPushButton*>("cmmd_6")->text(), QStringLiteral("Get Leap Secs"));
        QCOMPARE(f->findChild<QLineEdit*>("variances_7")->text(), QStringLiteral("0.0"));
        QCOMPARE(f->findChild<QLineEdit*>("poscounts")->text(), QStringLiteral("0"));
        QVERIFY(f->findChild<QCheckBox*>("pointshape_0")->isChecked());
        QVERIFY(f->findChild<QCheckBox*>("countmode_0")->isChecked());
        QCOMPARE(f->findChild<QCheckBox*>("countmode_1")->text(), QStringLiteral("#"));
        QCOMPARE(w.locfolder, tf.work());
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }

    void sentencesDecoded()
    {
        Bench b;
        QCOMPARE(b.w.serial.portopen, -1);
        b.second();
        QCOMPARE(b.gga(0), QStringLiteral("12:35:19.000"));
        QCOMPARE(b.gga(1), QStringLiteral("4807.03800"));
        QCOMPARE(b.gga(2), QStringLiteral("N"));
        QCOMPARE(b.gga(3), QStringLiteral("01131.00000"));
        QCOMPARE(b.gga(4), QStringLiteral("E"));
        QCOMPARE(b.gga(5), QStringLiteral("1"));
        QCOMPARE(b.gga(6), QStringLiteral("08"));
        QCOMPARE(b.gga(7), QStringLiteral("0.9"));
        QCOMPARE(b.gga(8), QStringLiteral("545.4"));
        QCOMPARE(b.gga(9), QStringLiteral("46.9"));
        QCOMPARE(b.rmc(0), QStringLiteral("03/23/94"));
        QCOMPARE(b.rmc(1), QStringLiteral("12:35:19.000"));
        QCOMPARE(b.rmc(6), QStringLiteral("022.4"));
        QCOMPARE(b.rmc(7), QStringLiteral("084.4"));
        QCOMPARE(b.rmc(8), QStringLiteral("A"));

        // Without checksums the boxes are the same: "*hh" never reaches them.
        b.w.Label1_Click();
        b.sim.checksums = false;
        b.sim.utc = "101010.500";
        b.second();
        QCOMPARE(b.gga(0), QStringLiteral("10:10:10.500"));
        QCOMPARE(b.gga(9), QStringLiteral("46.9"));
        QCOMPARE(b.rmc(2), QStringLiteral("4807.03800"));
        QCOMPARE(b.rmc(3), QStringLiteral("N"));

        // Only GGA flips the ticker; GSV and VTG only tick.
        b.w.Label1_Click();
        b.sim.send(GpsModule::sentence("GPGSV,1,1,01,01,40,083,46", true));
        b.sim.send(GpsModule::sentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K", true));
        b.settle();
        QVERIFY(b.checked("Check1_2"));
        QVERIFY(b.checked("Check1_3"));
        QVERIFY(!b.checked("Check1_0") && !b.checked("Check1_5") && !b.checked("msgticker"));
        QCOMPARE(b.gga(0), QStringLiteral("10:10:10.500"));
        for (const bool expect : {true, false, true}) {
            b.sim.send(GpsModule::sentence("gpgga,123519,4807.038,N,01131.000,E,1,05,0.9,1.0,M,2.0,M,,", false));
            b.settle();
            QCOMPARE(b.checked("msgticker"), expect);
        }
        QCOMPARE(b.gga(6), QStringLiteral("05")); // lower-case name decodes

        // Any label clears every indicator.
        b.sim.burst();
        QTRY_VERIFY(b.checked("Check1_5"));
        for (int i = 0; i < 6; ++i)
            QVERIFY(b.checked(arrayName("Check1", i)));
        QTest::mouseClick(b.ctl<QLabel>("Label1_3"), Qt::LeftButton);
        for (int i = 0; i < 6; ++i)
            QVERIFY(!b.checked(arrayName("Check1", i)));
        QVERIFY(!b.checked("msgticker"));
    }

    void splitMergedAndOtherTalkers()
    {
        Bench b;
        // A sentence cut in two is decoded once whole.
        const QByteArray s = GpsModule::sentence("GPGGA,111111.000,4807.038,N,01131.000,E,1,07,1.0,2.0,M,3.0,M,,", true);
        b.sim.send(s.left(30));
        QTest::qWait(150);
        QCOMPARE(b.gga(0), QString());
        QVERIFY(!b.checked("msgticker"));
        b.sim.send(s.mid(30));
        QTRY_COMPARE(b.gga(0), QStringLiteral("11:11:11.000"));
        QCOMPARE(b.gga(6), QStringLiteral("07"));
        QVERIFY(b.checked("msgticker"));

        // A whole second in one write: every sentence at once.
        b.w.Label1_Click();
        b.sim.oneWrite = true;
        b.sim.utc = "222222.000";
        b.sim.burst();
        QTRY_VERIFY(b.checked("Check1_5"));
        for (int i = 0; i < 6; ++i)
            QVERIFY(b.checked(arrayName("Check1", i)));
        QCOMPARE(b.gga(0), QStringLiteral("22:22:22.000"));
        QCOMPARE(b.rmc(1), QStringLiteral("22:22:22.000"));

        // Another talker's sentences match no type and change nothing.
        b.w.Label1_Click();
        b.sim.talker = "GN";
        b.sim.utc = "333333.000";
        b.mapOn();
        b.second();
        for (int i = 0; i < 6; ++i)
            QVERIFY(!b.checked(arrayName("Check1", i)));
        QCOMPARE(b.gga(0), QStringLiteral("22:22:22.000"));
        QCOMPARE(b.text("latlon_0"), QString());
    }

    void garbageNeverCrashesNorFixes()
    {
        Bench b;
        b.mapOn(true);
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk += char((i * 37 + 11) & 0xff);
        b.sim.sendRaw(junk);
        b.sim.sendRaw("$GPGGA,12x519,48O7.038,N,O1131.000,E,l,08,0.9,545.4,M,46.9,M,,\r\n");
        b.sim.sendRaw("$GPRMC,\x01\x02,A,,,,,,,\xff\r\n");
        b.sim.sendRaw("$$$,,,\r\r\n\n$\r");
        b.sim.sendRaw("$GPGGA," + QByteArray(200 * 1024, '7')); // a "$" with no CR for long
        b.settle();
        QCOMPARE(b.gga(1), QStringLiteral("48O7.038")); // shown as received
        QCOMPARE(b.text("latlon_0"), QString());        // never a reference
        QCOMPARE(b.text("poscounts"), QStringLiteral("0"));
        QVERIFY(!QFile::exists(Ctrl_9064_gps::logPath()));
        QCOMPARE(b.w.serial.portopen, -1);
        // The line still works.
        b.second();
        QCOMPARE(b.gga(1), QStringLiteral("4807.03800"));
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11730000"));
    }

    void shortSentencesKeepThePortOpen()
    {
        Bench b;
        b.mapOn();
        AlertSink alerts;
        b.sim.send(GpsModule::sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08", true));
        b.sim.send(GpsModule::sentence("GPRMC,123519,A,4807.038,N", true));
        b.settle();
        QCOMPARE(b.gga(0), QStringLiteral("12:35:19"));
        const QByteArray sent = GpsModule::sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08", true);
        QVERIFY(sent.contains("08*"));
        QCOMPARE(b.gga(6), QStringLiteral("08")); // the checksum cut off
        QCOMPARE(b.gga(7), QString());
        QCOMPARE(b.gga(9), QString());
        QCOMPARE(b.rmc(1), QStringLiteral("12:35:19"));
        QCOMPARE(b.rmc(2), QStringLiteral("4807.038"));
        QCOMPARE(b.rmc(0), QString());
        QCOMPARE(b.rmc(6), QString());
        QCOMPARE(b.text("latlon_0"), QString()); // a short GGA is not analysed
        QTest::qWait(50);
        QVERIFY(alerts.titles.isEmpty());
        QCOMPARE(b.w.serial.portopen, -1);
        QCOMPARE(b.ctl<QComboBox>("portselect")->currentText(), b.pty.path());
    }

    // A short RMC carries its checksum on the heading: neither the box nor
    // the log shows it.
    void checksumNeverReachesBoxOrLog()
    {
        Bench b;
        b.mapOn(true);
        b.second();
        b.sim.send(GpsModule::sentence("GPRMC,123520,A,4807.038,N,01131.000,E,022.4,309.62", true));
        b.settle();
        QCOMPARE(b.rmc(7), QStringLiteral("309.62"));
        QCOMPARE(b.rmc(6), QStringLiteral("022.4"));
        b.sim.send(GpsModule::sentence("GPGGA,123521,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9*", false));
        b.settle();
        QCOMPARE(b.gga(9), QStringLiteral("46.9"));
        const QList<QByteArray> lines = fileLines(Ctrl_9064_gps::logPath());
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.last().endsWith(",022.4,309.62\r"), lines.last().constData());
        QVERIFY(!lines.last().contains('*'));
    }

    // Replies whose value ends in the digit of their sub-command.
    void repliesEndingInTheirSubCommand()
    {
        Bench b;
        b.sim.checksums = false;
        b.sim.mask = 7;
        b.click("cmmd_1");
        QTRY_COMPARE(b.data(0), QStringLiteral("7"));
        b.sim.estError = QStringLiteral("3,5");
        b.click("cmmd_5");
        QTRY_COMPARE(b.data(1), QStringLiteral("9.84"));
        QCOMPARE(b.data(2), QStringLiteral("16.40"));
        b.sim.leapSeconds = QStringLiteral("6");
        b.click("cmmd_6");
        QTRY_COMPARE(b.data(3), QStringLiteral("6"));
    }

    void noFixIsNeverAnalysed_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("empty latitude") << "GPGGA,123519,,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
        QTest::newRow("empty longitude") << "GPGGA,123519,4807.038,N,,E,1,08,0.9,545.4,M,46.9,M,,";
        QTest::newRow("latitude not a number") << "GPGGA,123519,48-7.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
        QTest::newRow("quality 0") << "GPGGA,123519,4807.038,N,01131.000,E,0,08,0.9,545.4,M,46.9,M,,";
        QTest::newRow("no fix at all") << "GPGGA,123519,,,,,0,00,,,M,,M,,";
        QTest::newRow("short") << "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9";
    }
    void noFixIsNeverAnalysed()
    {
        QFETCH(QString, body);
        Bench b;
        // Re-Center stays ticked and the empty reference stays empty.
        b.check("capture", true);
        b.mapOn(true);
        b.sim.send(GpsModule::sentence(body, true));
        b.settle();
        QCOMPARE(b.gga(0), QStringLiteral("12:35:19"));
        QVERIFY(b.checked("capture"));
        QCOMPARE(b.text("latlon_0"), QString());
        QCOMPARE(b.text("latlon_1"), QString());

        // With a reference it is neither plotted, counted nor logged.
        b.check("capture", false);
        b.second();
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11730000"));
        b.second();
        QCOMPARE(b.text("poscounts"), QStringLiteral("1"));
        const QList<QByteArray> before = fileLines(Ctrl_9064_gps::logPath());
        QCOMPARE(before.size(), 2);
        const QImage plot = b.ctl<PictureBox>("location")->image();
        b.sim.send(GpsModule::sentence(body, true));
        b.settle();
        QCOMPARE(b.text("poscounts"), QStringLiteral("1"));
        QCOMPARE(b.variances()[0], QStringLiteral("100.0"));
        QCOMPARE(fileLines(Ctrl_9064_gps::logPath()), before);
        QCOMPARE(b.ctl<PictureBox>("location")->image(), plot);
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11730000"));
    }

    void commandBytesAndReplies()
    {
        Bench b;
        const QString crlf = QStringLiteral("[CR][LF]");
        b.click("cmmd_5");
        QCOMPARE(b.data(1), QStringLiteral("---"));
        QTRY_COMPARE(b.data(1), QStringLiteral("14.76"));
        QCOMPARE(b.data(2), QStringLiteral("22.97"));
        QCOMPARE(b.sim.received(), QByteArray("$PDME,12,5\r\n"));
        QTRY_COMPARE(b.response(), "[O] $PDME,12,5" + crlf + "\n[I]   $PDME,12,5,4.5,7.0*2C" + crlf + "\n");

        // An empty reply leaves the marks.
        b.sim.estError.clear();
        b.sim.checksums = false;
        b.click("cmmd_5");
        QTRY_COMPARE(b.response(), "[O] $PDME,12,5" + crlf + "\n[I]   $PDME,12,5" + crlf + "\n");
        QCOMPARE(b.data(1), QStringLiteral("---"));
        QCOMPARE(b.data(2), QStringLiteral("---"));

        b.sim.checksums = true;
        b.sim.mask = 10;
        b.click("cmmd_1");
        QCOMPARE(b.data(0), QStringLiteral("---"));
        QTRY_COMPARE(b.data(0), QStringLiteral("10"));
        QVERIFY(b.response().contains("$PDME,7,10*"));

        b.click("cmmd_6");
        QCOMPARE(b.data(3), QStringLiteral("---"));
        QTRY_COMPARE(b.data(3), QStringLiteral("13"));

        b.sim.clearRecord();
        for (const QString n : {"0", "1", "2"}) {
            b.click("cmmd_" + QString::number(n.toInt() + 2));
            QTRY_COMPARE(b.response(), "[O] $PDME," + n + crlf + "\n[I]   $PDME," + n + "*0" + n + crlf + "\n");
        }
        QCOMPARE(b.sim.received(), QByteArray("$PDME,0\r\n$PDME,1\r\n$PDME,2\r\n"));

        // Two replies between commands, arriving in one read, stand on two
        // lines.
        b.sim.send(GpsModule::sentence("PDME,12,6,17", false) + GpsModule::sentence("PDME,7,20", false));
        QTRY_COMPARE(b.data(0), QStringLiteral("20"));
        QCOMPARE(b.data(3), QStringLiteral("17"));
        QCOMPARE(b.response(), "[O] $PDME,2" + crlf + "\n[I]   $PDME,2*02" + crlf + "\n[I]   $PDME,12,6,17" + crlf +
                                   "\n[I]   $PDME,7,20" + crlf + "\n");
    }

    void setMaskSendsOnlyANumber_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("sent"); // empty: refused with a message
        QTest::newRow("whole") << "15" << QByteArray("$PDME,8,15\r\n");
        QTest::newRow("rounded") << "15.6" << QByteArray("$PDME,8,16\r\n");
        QTest::newRow("empty") << "" << QByteArray("$PDME,8,\r\n");
        QTest::newRow("marks") << "---" << QByteArray();
        QTest::newRow("second command") << "5\r\n$PDME,0" << QByteArray();
    }
    void setMaskSendsOnlyANumber()
    {
        QFETCH(QString, box);
        QFETCH(QByteArray, sent);
        Bench b;
        paste(b.ctl<QLineEdit>("cmmddata_0"), box);
        AlertSink alerts;
        b.click("cmmd_0");
        if (sent.isEmpty()) {
            QTRY_COMPARE(alerts.titles, QStringList{"Set Mask Deg"});
            QTest::qWait(100);
            QVERIFY(b.sim.received().isEmpty());
            QCOMPARE(b.response(), QString());
        } else {
            QTRY_COMPARE(b.sim.received(), sent);
            QVERIFY(b.response().startsWith("[O] " + QString::fromLatin1(sent.chopped(2)) + "[CR][LF]\n"));
            QVERIFY(alerts.titles.isEmpty());
        }
    }

    void maskBoxTakesDigitsOnly()
    {
        Bench b(false);
        QLineEdit* mask = b.ctl<QLineEdit>("cmmddata_0");
        retype(mask, "-1.5e2x7");
        QCOMPARE(mask->text(), QStringLiteral("1527"));
        for (int i = 1; i < 4; ++i)
            QVERIFY(b.ctl<QLineEdit>(arrayName("cmmddata", i))->isReadOnly());
    }

    void commandWithoutPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click("cmmd_2");
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QCOMPARE(b.response(), QStringLiteral("[O] $PDME,0[CR][LF]\n"));
        QVERIFY(b.sim.received().isEmpty());
    }

    void errorsRingsAndPlot()
    {
        Bench b;
        b.mapOn();
        // The first fix becomes the reference and is not plotted.
        b.second();
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11730000"));
        QCOMPARE(b.text("latlon_1"), QStringLiteral("11.51666667"));
        QCOMPARE(b.text("poscounts"), QStringLiteral("0"));

        b.second();
        QCOMPARE(b.text("poscounts"), QStringLiteral("1"));
        QCOMPARE(b.text("xlaterror"), QStringLiteral("0.0"));
        QCOMPARE(b.text("xlonerror"), QStringLiteral("0.0"));
        QCOMPARE(b.variances()[0], QStringLiteral("100.0"));

        b.sim.track = {GpsModule::Fix{refLat - 0.0001, refLon, true}};
        b.second();
        QCOMPARE(b.text("xlaterror"), QStringLiteral("36.4"));
        QCOMPARE(b.variances()[3], QStringLiteral("50.0"));

        b.sim.track = {offset(80, 0)};
        b.second();
        QCOMPARE(b.text("xlaterror"), QStringLiteral("75.0"));
        QCOMPARE(b.variances()[7], QStringLiteral("33.3"));

        // Four fixes after a reset: three in the first ring, one far off.
        QTest::mouseDClick(b.ctl<PictureBox>("location"), Qt::LeftButton);
        QCOMPARE(b.text("poscounts"), QStringLiteral("0"));
        QCOMPARE(b.variances(), QStringList(8, QStringLiteral("0.0")));
        b.sim.track = {offset(2, 3), offset(-5, 9), offset(0, -9), offset(-5, 200)};
        for (int i = 0; i < 4; ++i)
            b.second();
        QCOMPARE(b.variances(), QStringList({"75.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0", "25.0"}));
        QCOMPARE(b.text("xlonerror"), QStringLiteral("75.0"));
        // Counts take effect with the next fix.
        b.click("countmode_1");
        QVERIFY(b.checked("countmode_1") && !b.checked("countmode_0"));
        b.click("countmode_1"); // a second click keeps the choice
        QVERIFY(b.checked("countmode_1") && !b.checked("countmode_0"));
        QCOMPARE(b.variances()[0], QStringLiteral("75.0"));
        b.sim.track = {offset(5, 25)};
        b.second();
        QCOMPARE(b.variances(), QStringList({"3", "0", "1", "0", "0", "0", "0", "1"}));
        QCOMPARE(b.text("poscounts"), QStringLiteral("5"));

        // The plot: the current fix blue, the previous one a red outline
        // filled white, the grid over both.
        QTest::mouseDClick(b.ctl<PictureBox>("location"), Qt::LeftButton);
        b.sim.track = {offset(20, 15), offset(-25, -25)};
        b.second();
        b.second();
        PictureBox* plot = b.ctl<PictureBox>("location");
        QCOMPARE(plot->point(75 - 25, 75 - 25), QColor(0, 0, 255));
        QCOMPARE(plot->point(75 + 20, 75 + 15), QColor(255, 255, 255));
        bool red = false;
        for (double dx = -3; dx <= 3; dx += 0.25)
            for (double dy = -3; dy <= 3; dy += 0.25)
                red = red || plot->point(95 + dx, 90 + dy) == QColor(255, 0, 0);
        QVERIFY(red);
        QCOMPARE(plot->point(75, 10), QColor(0, 0, 0)); // the vertical axis
        QCOMPARE(plot->point(75 + 70, 75), QColor(0, 0, 0));

        // Squares from now on.
        b.click("pointshape_1");
        QVERIFY(b.checked("pointshape_1") && !b.checked("pointshape_0"));
        b.sim.track = {offset(-25, 25)};
        b.second();
        QCOMPARE(plot->point(75 - 25 + 1.5, 75 + 25 + 1.5), QColor(0, 0, 255)); // a square's corner
        QCOMPARE(plot->point(75 - 25, 75 - 25), QColor(255, 255, 255));
    }

    void reCenterSequence()
    {
        Bench b;
        b.mapOn();
        b.second();
        b.sim.track = {offset(30, 30)};
        b.second();
        QCOMPARE(b.text("poscounts"), QStringLiteral("1"));
        // Ticking clears; the next fix becomes the reference and clears
        // again; the one after plots at the centre.
        b.check("capture", true);
        QCOMPARE(b.text("poscounts"), QStringLiteral("0"));
        QCOMPARE(b.variances()[2], QStringLiteral("0.0"));
        b.second();
        QVERIFY(!b.checked("capture"));
        QCOMPARE(b.text("poscounts"), QStringLiteral("0"));
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11721767"));
        b.second();
        QCOMPARE(b.text("poscounts"), QStringLiteral("1"));
        QCOMPARE(b.text("xlaterror"), QStringLiteral("0.0"));
        QCOMPARE(b.text("xlonerror"), QStringLiteral("0.0"));
        QCOMPARE(b.ctl<PictureBox>("location")->point(76, 76), QColor(0, 0, 255));
        // Re-Center also works with the map off.
        b.check("plotpoints", false);
        b.sim.track = {offset(0, 0)};
        b.check("capture", true);
        b.second();
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11730000"));
    }

    void logLines()
    {
        Bench b;
        b.mapOn(true);
        b.second();
        b.sim.track = {offset(80, -0.25)};
        b.second();
        const QList<QByteArray> lines = fileLines(Ctrl_9064_gps::logPath());
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QByteArray("Date,UTC,Lat,,Lon,,LatErr-Ft,LonErr-Ft,Alt-M,Qual,Sats,Dilution,Speed-Kn,Heading\r"));
        QVERIFY2(lines[1].startsWith("[03/23/94],[12:35:19.000], 48.117"), lines[1].constData());
        QVERIFY(lines[1].endsWith(",545.4,1,08,0.9,022.4,084.4\r"));
        const QList<QByteArray> f = lines[1].chopped(1).split(',');
        QCOMPARE(f.size(), 14);
        QCOMPARE(f[3], QByteArray("N"));
        QCOMPARE(f[5], QByteArray("E"));
        QVERIFY(std::abs(f[6].toDouble() - 80) < 0.1); // logged unclamped
        QVERIFY(f[6].startsWith(' '));
        QCOMPARE(b.text("xlaterror"), QStringLiteral("75.0"));
        QCOMPARE(b.variances()[7], QStringLiteral("100.0"));

        b.sim.track = {offset(0, 0)};
        b.second();
        const QList<QByteArray> more = fileLines(Ctrl_9064_gps::logPath());
        QCOMPARE(more.size(), 3);
        QVERIFY(more[2].startsWith("[03/23/94],[12:35:19.000], 48.1173,N, 11.5166666666667,E,"));
    }

    void logFailureOneAlertAnalysisGoesOn()
    {
        Bench b;
        QDir().mkpath(Ctrl_9064_gps::logPath()); // a folder where the log belongs
        b.mapOn(true);
        AlertSink alerts;
        b.second();
        for (int i = 0; i < 3; ++i)
            b.second();
        QTRY_COMPARE(alerts.titles, QStringList{"Log file error"});
        QVERIFY(alerts.texts.first().contains("rvm9064.csv"));
        QCOMPARE(b.text("poscounts"), QStringLiteral("3"));
        QCOMPARE(b.w.serial.portopen, -1);
    }

    void locationFileThroughChooser_data()
    {
        addWideTextRows(QStringLiteral("Pomiary-"), QString(), false);
        QTest::newRow("sites") << QStringLiteral("sites");
    }
    void locationFileThroughChooser()
    {
        QFETCH(QString, wide);
        Bench b(false);
        const QString folder = b.tf.workFile(wide);
        const QString site = writeFile(folder + "/roof.txt", "48.11730000\r\n11.51666667\r\nroof antenna\r\n");
        {
            FileChoiceAnswer answer(site);
            QTest::mouseDClick(b.ctl<QLineEdit>("latlon_1"), Qt::LeftButton);
            QCOMPARE(answer.asked(), 1);
            QCOMPARE(answer.choosers.at(0).folder, b.tf.work());
            QCOMPARE(answer.choosers.at(0).title, QStringLiteral("Select location file"));
        }
        QCOMPARE(b.text("latlon_0"), QStringLiteral("48.11730000"));
        QCOMPARE(b.text("latlon_1"), QStringLiteral("11.51666667"));
        QCOMPARE(b.w.locfolder, folder);

        // The folder survives closing and reopening.
        b.w.unload();
        QCOMPARE(decodeOwnText(readFile(Ctrl_9064_gps::settingsPath())), folder + "\r\n");
        b.w.locfolder.clear();
        b.w.load();
        b.w.show();
        QCOMPARE(b.w.locfolder, folder);
        {
            FileChoiceAnswer cancel = FileChoiceAnswer::cancel();
            QTest::mouseDClick(b.ctl<QLineEdit>("latlon_0"), Qt::LeftButton);
            QCOMPARE(cancel.choosers.at(0).folder, folder);
        }
        QCOMPARE(b.text("latlon_0"), QString());
    }

    // A settings file written before (Latin-1 bytes) still names its folder.
    void oldLatin1LocationFolder()
    {
        Bench b(false);
        const QString folder = b.tf.workFile(QString::fromLatin1(muenchenLatin1()));
        QDir().mkpath(folder);
        b.w.unload();
        writeFile(Ctrl_9064_gps::settingsPath(), folder.toLatin1() + "\r\n");
        b.w.load();
        QCOMPARE(b.w.locfolder, folder);
        b.w.unload();
        QCOMPARE(readFile(Ctrl_9064_gps::settingsPath()), folder.toLatin1() + "\r\n");
        b.w.load();
    }

    // A location file past the cap is refused whole, with the cap named.
    void oversizedLocationFileRefused()
    {
        Bench b(false);
        QByteArray big = "1.5\r\n2.25\r\n";
        const QString fits = writeFile(b.tf.workFile("fits.txt"), big + QByteArray(1024 * 1024 - big.size(), ' '));
        {
            FileChoiceAnswer answer(fits);
            QTest::mouseDClick(b.ctl<QLineEdit>("latlon_0"), Qt::LeftButton);
        }
        QCOMPARE(b.text("latlon_0"), QStringLiteral("1.50000000"));
        const QString over = writeFile(b.tf.workFile("over.txt"), "3.5\r\n4.25\r\n" + QByteArray(1024 * 1024, ' '));
        FileChoiceAnswer answer(over);
        AlertSink alerts;
        QTest::mouseDClick(b.ctl<QLineEdit>("latlon_0"), Qt::LeftButton);
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains(over));
        QVERIFY2(alerts.texts[0].contains("1 MiB"), qPrintable(alerts.texts[0]));
        QCOMPARE(b.text("latlon_0"), QStringLiteral("1.50000000"));
    }

    void badLocationFilesRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one line") << QByteArray("48.1173\r\n");
        QTest::newRow("text") << QByteArray("home\r\nantenna\r\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16);
        QTest::newRow("second not a number") << QByteArray("48.1173\n11.5 E\n");
    }
    void badLocationFilesRefused()
    {
        QFETCH(QByteArray, bytes);
        Bench b(false);
        const QString good = writeFile(b.tf.workFile("good.txt"), "1.5\n2.25\n");
        const QString bad = writeFile(b.tf.workFile("bad.txt"), bytes);
        {
            FileChoiceAnswer answer(good);
            QTest::mouseDClick(b.ctl<QLineEdit>("latlon_0"), Qt::LeftButton);
        }
        QCOMPARE(b.text("latlon_0"), QStringLiteral("1.50000000"));
        FileChoiceAnswer answer(bad);
        ModalAnswer alert("Command1_0");
        alert.setWindowName("Z_alert");
        QTest::mouseDClick(b.ctl<QLineEdit>("latlon_0"), Qt::LeftButton);
        QTRY_VERIFY(alert.answered());
        QVERIFY2(alert.text().contains(bad), qPrintable(alert.text()));
        QCOMPARE(b.text("latlon_0"), QStringLiteral("1.50000000"));
        QCOMPARE(b.text("latlon_1"), QStringLiteral("2.25000000"));
    }

    void settingsFileFallsBackToWorkFolder_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "-": no file
        QTest::newRow("missing") << QByteArray("-");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\x01\xfe\xff\r\n", 6);
        QTest::newRow("no such folder") << QByteArray("/nonexistent/voltaris/sites\r\n");
    }
    void settingsFileFallsBackToWorkFolder()
    {
        QFETCH(QByteArray, bytes);
        TempFolders tf;
        QFile::remove(Ctrl_9064_gps::settingsPath());
        if (bytes != "-")
            writeFile(Ctrl_9064_gps::settingsPath(), bytes);
        auto& w = FormSlots::get<Ctrl_9064_gps>();
        w.load();
        QCOMPARE(w.locfolder, tf.work());
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }

    void moduleVanishesMidStream()
    {
        Bench b;
        b.mapOn(true);
        AlertSink alerts;
        b.sim.stream(20);
        QTRY_VERIFY(b.text("poscounts").toInt() >= 2);
        b.sim.vanish();
        QTRY_COMPARE(alerts.titles, QStringList{"Com port error"});
        QTest::qWait(200);
        QCOMPARE(alerts.titles.size(), 1);
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.ctl<QComboBox>("portselect")->currentIndex(), 0);

        // The window reopens and works on another module.
        b.w.unload();
        PtyPair pty2;
        GpsModule sim2(pty2);
        b.w.load();
        b.w.show();
        b.choose(pty2.path());
        QCOMPARE(b.w.serial.portopen, -1);
        sim2.utc = "010203.000";
        sim2.burst();
        QTRY_COMPARE(b.gga(0), QStringLiteral("01:02:03.000"));
    }

    void closingWhileStreaming()
    {
        Bench b;
        b.mapOn();
        b.sim.oneWrite = true;
        b.sim.stream(5);
        QTRY_VERIFY(b.text("poscounts").toInt() >= 1);
        b.w.unload();
        QTest::qWait(100);
        QVERIFY(!b.w.isLoaded());
        // Through the close box, while a log alert raised inside the data
        // event is open.
        QDir().mkpath(Ctrl_9064_gps::logPath());
        b.w.load();
        b.w.show();
        ModalAnswer alert("Command1_0");
        alert.setWindowName("Z_alert");
        alert.setBeforePress([&](QWidget*) {
            if (QMdiSubWindow* sub = b.w.subWindow())
                sub->close();
            else
                b.w.unload();
        });
        b.mapOn(true);
        b.choose(b.pty.path());
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Log file error"));
        QTRY_VERIFY(!b.w.isLoaded());
        QTest::qWait(100);
        b.sim.stop();
        b.w.load();
        QCOMPARE(b.text("poscounts"), QStringLiteral("0"));
    }

    void quittingWhileStreaming()
    {
        Bench b;
        b.mapOn(true);
        b.sim.stream(5);
        QTRY_VERIFY(b.text("poscounts").toInt() >= 1);
        closeOrQuit(b.w, true);
        const bool closedAtOnce = !b.w.isLoaded();
        b.sim.stop();
        QVERIFY(closedAndRecovered(b.w, true));
        QVERIFY(closedAtOnce);
        QCOMPARE(readFile(Ctrl_9064_gps::settingsPath()), (b.tf.work() + "\r\n").toLatin1());
    }
};

VOLTARIS_TEST(GpsWindowTest);
#include "test_gpswindow.moc"
