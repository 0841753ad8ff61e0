// The four-channel load-cell controller: its codec, and the window against
// a simulated 8842 board through a pseudo-terminal.

#include "loadcellmultiboard.h"

#include "support/controllerbench.h"
#include "support/alertsink.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "sensors/ctrl_8842_loadcellmulti.h"
#include "sensors/loadcellmulti.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace loadcellmulti;

namespace {

struct Bench : ControllerBench<Ctrl_8842_loadcellmulti, LoadCellMultiBoard> {
    using ControllerBench::ControllerBench;
    QCheckBox* check(const QString& name) const { return w.form()->findChild<QCheckBox*>(name); }
    // sensordata first .. first + 3
    QStringList column(int first) const
    {
        QStringList out;
        for (int k = first; k < first + 4; ++k)
            out << edit(arrayName("sensordata", k))->text();
        return out;
    }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    // Sends replies and waits until every complete one has been handled; a
    // partial reply may stay in the buffer.
    void feed(const QByteArray& bytes)
    {
        sim.send(bytes);
        QTRY_VERIFY(sim.pending() == 0 && !framerHasReply("\r", w.serial.ReceiveBuffer));
        QTest::qWait(20);
    }
    QByteArray log() const
    {
        QFile f(tf.workFile("loadcell.csv"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const QStringList dashes{"---", "---", "---", "---"};

} // namespace

class LoadCellMultiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands()
    {
        const QStringList sent{"$0011", "$0010", "$0012", "$0013", "$0040", "$0041", "$0050", "$003f"};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(command(i), sent[i] + "\r\n");
        QCOMPARE(command(8), QString());
        QCOMPARE(command(-1), QString());
    }

    void replies_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("dashes");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QString>("log");
        QTest::newRow("pounds") << "0020,1.25,0,-0.125,12.5" << 0
                                << QStringList{"1.250", "0.000", "-0.125", "12.500"} << 4 << true
                                << "Pounds,1.250,0.000,-0.125,12.500";
        QTest::newRow("pounds, one field") << "0020,1.5" << 0 << QStringList{"1.500", "0.000", "0.000", "0.000"} << 4
                                           << true << "Pounds,1.500,0.000,0.000,0.000";
        QTest::newRow("pounds, garbled") << "0020,abc,1e400x,,7kg" << 0
                                         << QStringList{"0.000", "---", "0.000", "7.000"} << 4 << true
                                         << "Pounds,0.000,---,0.000,7.000";
        QTest::newRow("counts") << "0021,100,200,300,400" << 4 << QStringList{"100", "200", "300", "400"} << 0 << true
                                << "Counts,100,200,300,400";
        QTest::newRow("counts, short") << "0021,7" << 4 << QStringList{"7", "", "", ""} << 0 << true
                                       << "Counts,7,,,";
        QTest::newRow("scalers") << "003F,10,20,30,40" << 16 << QStringList{"10", "20", "30", "40"} << -1 << false
                                 << "";
        QTest::newRow("report pounds") << "0012" << -1 << QStringList{} << 4 << false << "";
        QTest::newRow("report counts") << "0013" << -1 << QStringList{} << 0 << false << "";
        QTest::newRow("ack") << "0050" << -1 << QStringList{} << -1 << false << "";
        QTest::newRow("unknown") << "0099,1,2,3,4" << -1 << QStringList{} << -1 << false << "";
        QTest::newRow("binary") << QString::fromLatin1("\x01\xff,\x7f") << -1 << QStringList{} << -1 << false << "";
    }
    void replies()
    {
        QFETCH(QString, frame);
        QFETCH(int, column);
        QFETCH(QStringList, values);
        QFETCH(int, dashes);
        QFETCH(bool, reading);
        QFETCH(QString, log);
        const Reply r = decodeReply(frame);
        QCOMPARE(r.column, column);
        QCOMPARE(r.values, values);
        QCOMPARE(r.dashes, dashes);
        QCOMPARE(r.reading, reading);
        QCOMPARE(r.logLine, log);
    }

    // Each button's bytes, and the board's answers in the table.
    void buttons()
    {
        Bench b;
        for (int i = 2; i < 8; ++i)
            b.click(i);
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$0012", "$0013", "$0040", "$0041", "$0050", "$003f"}));
        QCOMPARE(b.sim.received(), QByteArray("$0012\r\n$0013\r\n$0040\r\n$0041\r\n$0050\r\n$003f\r\n"));
        QTRY_COMPARE(b.column(16), (QStringList{"10", "20", "30", "40"}));
        QCOMPARE(b.column(0), dashes);
        QCOMPARE(b.column(4), dashes);
        QCOMPARE(b.w.activitycount, 0);
    }

    // Readings fill their column, clear the other and go to the log when
    // it is ticked.
    void readingsAndLog()
    {
        Bench b;
        b.feed("!0020,1.25,0,-0.125,12.5\r");
        QCOMPARE(b.column(0), (QStringList{"1.250", "0.000", "-0.125", "12.500"}));
        QCOMPARE(b.column(4), dashes);
        QVERIFY(b.log().isEmpty());
        b.check("logtofile")->setChecked(true);
        b.feed("!0020,1.25,0,-0.125,12.5\r!0021,100,200,300,400\r");
        QCOMPARE(b.column(4), (QStringList{"100", "200", "300", "400"}));
        QCOMPARE(b.column(0), dashes);
        b.sim.setSplit(4);
        b.feed("junk\r!002x\r!0020,1.5\r");
        QCOMPARE(b.column(0), (QStringList{"1.500", "0.000", "0.000", "0.000"}));
        QCOMPARE(b.log(), QByteArray("Pounds,1.250,0.000,-0.125,12.500\r\nCounts,100,200,300,400\r\n"
                                     "Pounds,1.500,0.000,0.000,0.000\r\n"));
    }

    void activity()
    {
        Bench b;
        QSignalSpy flips(b.check("reportactivity"), &QCheckBox::toggled);
        QByteArray ten;
        for (int k = 0; k < 10; ++k)
            ten += k % 2 ? "!0021,1,2,3,4\r" : "!0020,1,2,3,4\r";
        b.feed("!0020,1\r!0020,1\r!0020,1\r!0020,1\r!0012\r!0013\r!003F,1,2,3,4\r!0040\r");
        QCOMPARE(flips.count(), 0);
        QCOMPARE(b.w.activitycount, 4);
        b.feed("!0021,1\r");
        QCOMPARE(flips.count(), 1);
        QVERIFY(b.check("reportactivity")->isChecked());
        b.feed(ten);
        QCOMPARE(flips.count(), 3);
        QVERIFY(b.check("reportactivity")->isChecked());
        QCOMPARE(b.w.activitycount, 0);
    }

    // The editable columns take up to five digits; Enter is not kept.
    void typing()
    {
        Bench b(false);
        QLineEdit* dac = b.edit("sensordata_8");
        retype(dac, "12a.3-456789");
        QCOMPARE(dac->text(), QStringLiteral("12345"));
        pressEnter(dac);
        QCOMPARE(dac->text(), QStringLiteral("12345"));
        QVERIFY(b.edit("sensordata_0")->isReadOnly());
        QVERIFY(b.edit("sensordata_16")->isReadOnly());
        QVERIFY(!b.edit("sensordata_15")->isReadOnly());
    }

    // A log that cannot be written: one alert, the port stays open and the
    // readings go on; writable again, lines follow.
    void logThatCannotBeWritten()
    {
        Bench b;
        const QString bad = b.tf.workFile("missing/loadcell.csv");
        b.edit("datafilename")->setText(bad);
        b.check("logtofile")->setChecked(true);
        AlertSink alerts;
        b.feed("!0020,1\r!0020,2\r!0020,3\r");
        QTRY_COMPARE(alerts.titles, QStringList{"Log file error"});
        QVERIFY(alerts.texts.first().contains(bad));
        QCOMPARE(b.column(0).first(), QStringLiteral("3.000"));
        QCOMPARE(b.w.serial.portopen, -1);
        b.edit("datafilename")->setText(b.tf.workFile("loadcell.csv"));
        b.feed("!0020,4\r");
        QCOMPARE(b.log(), QByteArray("Pounds,4.000,0.000,0.000,0.000\r\n"));
        QCOMPARE(alerts.titles.size(), 1);
    }

    // The stream as fast as the line carries it, logged: one line for every
    // reading sent.
    void streamLogged_data()
    {
        QTest::addColumn<bool>("counts");
        QTest::newRow("pounds") << false;
        QTest::newRow("counts") << true;
    }
    void streamLogged()
    {
        QFETCH(bool, counts);
        Bench b;
        b.check("logtofile")->setChecked(true);
        b.click(counts ? 3 : 2);
        QTRY_COMPARE(b.sim.counts, counts);
        b.sim.burst = 32;
        QElapsedTimer t;
        t.start();
        b.click(0);
        QTRY_VERIFY(b.sim.streamed >= 2000);
        b.click(1);
        QTRY_VERIFY(!b.sim.streaming());
        QTRY_VERIFY(b.sim.pending() == 0);
        QTRY_COMPARE(b.log().count("\r\n"), qsizetype(b.sim.streamed));
        const double seconds = t.elapsed() / 1000.0;
        qInfo("four-channel stream, logged: %ld readings in %.2f s, %.0f/s", b.sim.streamed, seconds,
              b.sim.streamed / seconds);
        const QByteArray log = b.log();
        QVERIFY(log.startsWith(counts ? "Counts,0,200,-3,0\r\n" : "Pounds,0.500,0.000,-0.125,12.500\r\n"));
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(7);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
    }

    void vanishMidStream()
    {
        Bench b;
        b.click(0);
        QTRY_VERIFY(b.sim.streamed >= 100);
        ModalAnswer alert("Command1_0");
        b.sim.vanish();
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Com port error"));
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.w.form()->findChild<QComboBox*>("portselect")->currentIndex(), 0);
        PtyPair pty2;
        LoadCellMultiBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        auto* ports = b.w.form()->findChild<QComboBox*>("portselect");
        ports->setCurrentIndex(ports->findText(pty2.path()));
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(7);
        QTRY_COMPARE(b.column(16), (QStringList{"10", "20", "30", "40"}));
    }

    void quitDuringPacing()
    {
        Bench b;
        QTimer::singleShot(20, [&] { closeOrQuit(b.w, true); });
        b.click(7);
        // Gone by the time the handler returned, not some time later.
        const bool closedAtOnce = !b.w.isLoaded();
        QVERIFY(closedAndRecovered(b.w, true));
        QVERIFY(closedAtOnce);
        QTRY_COMPARE(b.sim.commands(), QStringList{"$003f"});
    }
};

VOLTARIS_TEST(LoadCellMultiTest);
#include "test_loadcellmulti.moc"
