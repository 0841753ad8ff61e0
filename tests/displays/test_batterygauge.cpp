// The battery gauge diagnostic: its report decoding, and the window against
// a simulated 6141 board through a pseudo-terminal (a fake port for DTR and
// speed), with its log in a temporary work folder.

#include "gaugeboard.h"

#include "support/alertsink.h"
#include "support/controllerbench.h"
#include "support/fakeport.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/rs232_comportscanner.h"
#include "displays/batterygauge.h"
#include "displays/ctrl_6141_batterygauge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace batterygauge;

namespace {

// With a fake port listed, none is chosen.
struct Bench : ControllerBench<Ctrl_6141_batterygauge, GaugeBoard> {
    explicit Bench(const QString& extraPort = QString()) : ControllerBench(extraPort.isEmpty(), extraPort) {}
    // The board's reports stop before the window goes.
    ~Bench() { sim.stop(); }
    template <class T>
    T* ctl(const QString& name) const
    {
        return w.form()->findChild<T*>(name);
    }
    QStringList shown() const
    {
        QStringList s;
        for (int i = 0; i < 3; ++i)
            s << ctl<QLineEdit>(arrayName("dataval", i))->text();
        return s;
    }
    QRadioButton* indicator() const { return ctl<QRadioButton>("Option1"); }
    QCheckBox* logBox() const { return ctl<QCheckBox>("Check1"); }
    static QByteArray logged() { return readFile(logPath()); }
};

QByteArray lines(const QList<int>& hundredths)
{
    QByteArray out;
    for (int v : hundredths)
        out += fmt(v / 100.0, "0.000").toLatin1() + "\r\n";
    return out;
}

} // namespace

class BatteryGaugeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reports_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("trend");
        QTest::addColumn<bool>("valid");
        QTest::newRow("falling") << "04D21" << "12.340" << "DOWN" << true;
        QTest::newRow("rising") << "04D20" << "12.340" << "UP" << true;
        QTest::newRow("no trend") << "0064" << "1.000" << "---" << true;
        QTest::newRow("other trend") << "00642" << "1.000" << "---" << true;
        QTest::newRow("full scale, extra") << "FFFF1xyz" << "655.350" << "DOWN" << true;
        QTest::newRow("lower case") << "04d20" << "12.340" << "UP" << true;
        QTest::newRow("zero") << "00000" << "0.000" << "UP" << true;
        QTest::newRow("garbled") << "zz121" << "---" << "DOWN" << false;
        QTest::newRow("hex digit missing") << "04 D21" << "---" << "---" << false;
        QTest::newRow("short") << "04D" << "---" << "---" << false;
        QTest::newRow("empty") << "" << "---" << "---" << false;
        QTest::newRow("binary") << QString::fromLatin1("\xff\x01\x80\x7f" "0") << "---" << "UP" << false;
    }
    void reports()
    {
        QFETCH(QString, frame);
        QFETCH(QString, value);
        QFETCH(QString, trend);
        QFETCH(bool, valid);
        const Report r = decodeReport(frame);
        QCOMPARE(r.value, value);
        QCOMPARE(r.trend, trend);
        QCOMPARE(r.valid, valid);
    }

    // Each report is shown, flips the indicator, and with the log on adds
    // one line; three in one read are three of each.
    void reportsShownAndLogged()
    {
        Bench b;
        QVERIFY(!b.logBox()->isChecked());
        QSignalSpy flips(b.indicator(), &QRadioButton::toggled);
        b.sim.send(GaugeBoard::report(1234, '1'));
        QTRY_COMPARE(b.shown(), (QStringList{"04D21", "12.340", "DOWN"}));
        QCOMPARE(flips.size(), 1);
        QVERIFY(b.indicator()->isChecked());
        b.sim.send("!0064\r");
        QTRY_COMPARE(b.shown(), (QStringList{"0064", "1.000", "---"}));
        QVERIFY(!b.indicator()->isChecked());
        QTest::qWait(30);
        QVERIFY(!QFile::exists(logPath())); // the log is off
        b.logBox()->setChecked(true);
        flips.clear();
        b.sim.send(GaugeBoard::report(1234, '1') + GaugeBoard::report(1241, '0') + GaugeBoard::report(1248, '0'));
        QTRY_COMPARE(flips.size(), 3);
        QCOMPARE(b.shown(), (QStringList{"04E00", "12.480", "UP"}));
        QCOMPARE(Bench::logged(), QByteArray("12.340\r\n12.410\r\n12.480\r\n"));
    }

    // A garbled report is shown and flips the indicator, but is no reading:
    // no value, and nothing in the log.
    void garbledReportNotLogged()
    {
        Bench b;
        b.logBox()->setChecked(true);
        QSignalSpy flips(b.indicator(), &QRadioButton::toggled);
        b.sim.send("!0064\r!zz121\r");
        QTRY_COMPARE(flips.size(), 2);
        QCOMPARE(b.shown(), (QStringList{"zz121", "---", "DOWN"}));
        QCOMPARE(Bench::logged(), QByteArray("1.000\r\n"));
        QVERIFY(b.logBox()->isChecked());
    }

    // A log that cannot be written: one alert, logging off, reports still
    // shown.
    void logFailure_data()
    {
        QTest::addColumn<bool>("missingFolder");
        QTest::newRow("folder in the log's place") << false;
        QTest::newRow("missing work folder") << true;
    }
    void logFailure()
    {
        QFETCH(bool, missingFolder);
        Bench b;
        const QByteArray work = qgetenv("VOLTARIS_TEMP");
        if (missingFolder) {
            // Under a plain file, so the folder cannot be made either.
            writeFile(b.tf.workFile("plain"), "x");
            qputenv("VOLTARIS_TEMP", QDir(b.tf.workFile("plain")).filePath("work").toLocal8Bit());
        } else {
            QDir().mkpath(logPath());
        }
        b.logBox()->setChecked(true);
        AlertSink alerts;
        QSignalSpy flips(b.indicator(), &QRadioButton::toggled);
        b.sim.burst = 4;
        b.sim.start(20);
        QTRY_VERIFY(flips.size() >= 12);
        b.sim.stop();
        QTest::qWait(50);
        qputenv("VOLTARIS_TEMP", work);
        QCOMPARE(alerts.titles, QStringList{"Log file error"});
        QVERIFY(alerts.texts.first().contains("gaugelog.csv"));
        QVERIFY(!b.logBox()->isChecked());
        QCOMPARE(b.shown()[1], fmt(b.sim.streamed.last() / 100.0, "0.000"));
    }

    // The window closed while the log alert is up: the rest of the reports
    // are left alone and nothing touches the destroyed form.
    void closeDuringLogAlert()
    {
        Bench b;
        QDir().mkpath(logPath());
        b.logBox()->setChecked(true);
        ModalAnswer alert("Command1_0");
        alert.setWindowName("Z_alert");
        alert.setBeforePress([&](QWidget*) { closeOrQuit(b.w, false); });
        b.sim.send(GaugeBoard::report(1, '0') + GaugeBoard::report(2, '0') + GaugeBoard::report(3, '0'));
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Log file error"));
        QTRY_VERIFY(!b.w.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b.w.serial.rs232.isOpen());
        b.w.load();
        QCOMPARE(b.shown(), (QStringList{"", "", ""}));
    }

    // A stream in bursts, cut in small pieces, with noise before every
    // report: every value is logged once, in order.
    void streamSplitAndNoisy()
    {
        Bench b;
        b.logBox()->setChecked(true);
        b.sim.burst = 5;
        b.sim.pieceBytes = 3;
        b.sim.noise = QByteArray("\x01\xfezz\x80", 5);
        b.sim.start(40);
        QTRY_VERIFY(b.sim.streamed.size() >= 40);
        b.sim.stop();
        QTRY_COMPARE(Bench::logged(), lines(b.sim.streamed));
    }

    // Random bytes and a flood neither crash the window nor strand the
    // report that follows them.
    void garbageFlood()
    {
        Bench b;
        QRandomGenerator random(6141);
        QByteArray junk(512 * 1024, Qt::Uninitialized);
        for (char& c : junk)
            c = char(random.bounded(256));
        b.sim.sendRaw(junk);
        b.sim.sendRaw(QByteArray(256 * 1024, '!'));
        b.sim.sendRaw("\r!0BB81\r");
        QTRY_VERIFY_WITH_TIMEOUT(b.sim.pending() == 0, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(b.shown(), (QStringList{"0BB81", "30.000", "DOWN"}), 20000);
        QCOMPARE(b.w.serial.portopen, -1);
    }

    // 9600 baud, DTR on; the port closes with the window.
    void portSettingsAndUnload()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-gauge");
        Bench b(QStringLiteral("fake-gauge"));
        b.choose("fake-gauge");
        QVERIFY(line->open);
        QCOMPARE(line->baud, 9600);
        QVERIFY(line->outputs & portline::DTR);
        line->feed("!04D20\r");
        QTRY_COMPARE(b.shown()[2], QStringLiteral("UP"));
        QVERIFY(line->written.isEmpty());
        b.w.unload();
        QVERIFY(!line->open);
        QVERIFY(!b.w.serial.rs232.isOpen());
    }

    // The board vanishes: one alert, the port closed, and the window works
    // again on another port.
    void boardVanishes()
    {
        Bench b;
        b.sim.start(20);
        QTRY_VERIFY(!b.shown()[0].isEmpty());
        AlertSink alerts;
        b.sim.vanish();
        QTRY_VERIFY(!alerts.titles.isEmpty());
        QTest::qWait(300);
        QCOMPARE(alerts.titles, QStringList{"Com port error"});
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.ctl<QComboBox>("portselect")->currentIndex(), 0);
        QVERIFY(!b.w.serial.rs232.isOpen());
        PtyPair pty2;
        GaugeBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        b.choose(pty2.path());
        QCOMPARE(b.w.serial.portopen, -1);
        sim2.send("!00011\r");
        QTRY_COMPARE(b.shown(), (QStringList{"00011", "0.010", "DOWN"}));
    }
};

VOLTARIS_TEST(BatteryGaugeTest);
#include "test_batterygauge.moc"
