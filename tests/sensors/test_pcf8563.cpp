// The real-time-clock tester window against a simulated I2C bridge with its
// PCF8563 and a simulated counter board, each on its own pseudo-terminal.

#include "rtcboards.h"

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
#include "sensors/ctrl_8990_pcf8563.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QString timecheck = QStringLiteral("$0010120001A20102040001A30202020202020304");

// The clock and the counter board's line stand before the window loads, so
// that it starts on the test's time and lists both ports.
struct RtcRig {
    explicit RtcRig(const QDateTime& start) : clock(start) {}
    RunningClock clock;
    ClockOverride over{clock};
    PtyPair pty2;
    CrystalCounterBoard counter{pty2};
};

struct Bench : RtcRig, ControllerBench<Ctrl_8990_pcf8563, RtcBridge> {
    explicit Bench(const QDateTime& start = QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15)), bool connect = true)
        : RtcRig(start), ControllerBench(false)
    {
        if (connect) {
            choose(QStringLiteral("portselect"), pty.path());
            choose(QStringLiteral("portselect2"), pty2.path());
        }
    }
    void choose(const QString& selector, const QString& port) const
    {
        auto* ports = w.form()->findChild<QComboBox*>(selector);
        ports->setCurrentIndex(ports->findText(port));
    }
    QString stamp(int i) const { return text(arrayName(QStringLiteral("timestamp"), i)); }
    // Years, Months, Days, Weekday, Hours, Minutes, Seconds.
    QStringList chipBoxes() const
    {
        QStringList boxes;
        for (int i = 0; i <= 6; ++i)
            boxes << stamp(i);
        return boxes;
    }
    QCheckBox* check(const QString& name) const { return w.form()->findChild<QCheckBox*>(name); }
    QPushButton* button(const QString& name, int i) const
    {
        return w.form()->findChild<QPushButton*>(arrayName(name, i));
    }
    void click(int i) const { QTest::mouseClick(button(QStringLiteral("cmmd"), i), Qt::LeftButton); }
    void count(int i) const { QTest::mouseClick(button(QStringLiteral("cmmd2"), i), Qt::LeftButton); }
    int polls() const { return int(sim.commands().count(timecheck)); }
};

// The log's lines as written, each with its line end.
QStringList logLines()
{
    const QString text = QString::fromLatin1(readFile(Ctrl_8990_pcf8563::logPath()));
    QStringList lines;
    for (const QString& l : text.split(QStringLiteral("\r\n")))
        if (!l.isEmpty())
            lines << l;
    return lines;
}

} // namespace

class Pcf8563Test : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixedScripts()
    {
        Bench b;
        b.click(0);
        b.click(2);
        b.click(3);
        QTRY_COMPARE(b.sim.received(), QByteArray("$0010120001A20102040001A30202020202020304\r"
                                                  "$0010090001A2010D018304\r"
                                                  "$0010090001A2010D010304\r"));
        QVERIFY(b.sim.faults().isEmpty());
        QCOMPARE(b.sim.registers[0x0D], 0x03);
    }

    // The set-time script for the PC time at the click, sent when the clock
    // reaches the written time plus the delay plus 0.3 s; "Auto" comes back.
    void syncTime_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QDateTime>("sendAt");
        const QDate wed(2026, 12, 9);
        QTest::newRow("wednesday") << QDateTime(wed, QTime(7, 15, 15, 600)) << "0"
                                   << "$0010150001A20102011701150107010901030112012604"
                                   << QDateTime(wed, QTime(7, 15, 17, 300));
        QTest::newRow("leading 1.5 s") << QDateTime(wed, QTime(7, 15, 15, 100)) << "-1.5"
                                       << "$0010150001A20102011701150107010901030112012604"
                                       << QDateTime(wed, QTime(7, 15, 15, 800));
        QTest::newRow("hour carry") << QDateTime(wed, QTime(10, 59, 58, 500)) << "-3"
                                    << "$0010150001A20102010001000111010901030112012604" << QDateTime();
        QTest::newRow("year 2105") << QDateTime(QDate(2105, 3, 4), QTime(5, 6, 7)) << "-3"
                                   << "$0010150001A20102010901060105010401030103010504" << QDateTime();
        QTest::newRow("new year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)) << "-3"
                                  << "$0010150001A20102010001000100010101050101012704" << QDateTime();
    }
    void syncTime()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, delay);
        QFETCH(QString, sent);
        QFETCH(QDateTime, sendAt);
        Bench b(start);
        paste(b.edit("comdelay"), delay);
        QStringList during;
        QTimer::singleShot(50, [&] { during = b.chipBoxes(); });
        // The clock is set just before the click, so the window's loading
        // on a busy machine cannot move the second it reads.
        b.clock.setNow(start);
        const QDateTime clicked = b.clock.now();
        b.click(1);
        QCOMPARE(during, QStringList(7, QStringLiteral("---")));
        QCOMPARE(b.sim.commands().value(0), sent);
        const QDateTime arrived = b.sim.arrivals().value(0);
        // The script leaves within a few milliseconds of its moment (a loaded
        // machine may add some more), never before it.
        const QDateTime due = sendAt.isValid() ? sendAt : clicked;
        QVERIFY2(arrived >= due && arrived <= due.addMSecs(250), qPrintable(arrived.toString("yyyy-MM-dd HH:mm:ss.zzz ") + due.toString("yyyy-MM-dd HH:mm:ss.zzz")));
        QVERIFY(b.check("autocheck")->isChecked());
        QVERIFY(b.button("cmmd", 1)->isEnabled() && b.button("cmmd2", 2)->isEnabled());
        QTRY_VERIFY(b.sim.commands().size() > 1);
        QCOMPARE(b.sim.commands().value(1), timecheck);
        QVERIFY(b.sim.faults().isEmpty());
    }

    // The wait serves the event loop with the buttons and "Auto" held off;
    // closing the window or quitting ends it and nothing is sent.
    void syncWaitEnds_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void syncWaitEnds()
    {
        QFETCH(bool, quit);
        Bench b;
        paste(b.edit("comdelay"), "30");
        b.check("autocheck")->setChecked(true);
        QTRY_VERIFY(b.polls() > 0);
        b.sim.setSilent(true);
        bool held = false;
        QTimer::singleShot(100, [&] {
            held = !b.button("cmmd", 0)->isEnabled() && !b.button("cmmd", 1)->isEnabled()
                   && !b.button("cmmd2", 1)->isEnabled() && !b.check("autocheck")->isEnabled() && !b.check("autocheck")->isChecked();
            b.sim.clearRecord();
        });
        QTimer::singleShot(200, [&] { closeOrQuit(b.w, quit); });
        b.click(1);
        QVERIFY(held);
        QVERIFY(closedAndRecovered(b.w, quit));
        QTest::qWait(100);
        QVERIFY(b.sim.commands().isEmpty());
    }

    // Losing the bridge in the set-time wait ends the wait at once: one
    // alert, the buttons and "Auto" back, nothing sent, long before the
    // target moment.
    void bridgeLostDuringSyncWait()
    {
        Bench b;
        paste(b.edit("comdelay"), "30");
        AlertSink alerts;
        QTimer::singleShot(200, [&] { b.sim.vanish(); });
        QElapsedTimer waited;
        waited.start();
        b.click(1);
        QVERIFY2(waited.elapsed() < 10000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(alerts.titles, QStringList{"Com port error"});
        QCOMPARE(b.w.serial.portopen, 0);
        for (int i = 0; i < 4; ++i)
            QVERIFY(b.button("cmmd", i)->isEnabled());
        QVERIFY(b.button("cmmd2", 1)->isEnabled() && b.button("cmmd2", 2)->isEnabled());
        QVERIFY(b.check("autocheck")->isEnabled());
        QVERIFY(!b.check("autocheck")->isChecked());
        QVERIFY(b.sim.commands().isEmpty());
    }

    // The timers run only while a tick has work. Unless "Auto" polls an
    // open bridge port the measurement timer only keeps "PC Sec" up to
    // date, waking once a second just after the change; while polling both
    // keep their periods.
    void timersQuietWhenIdle()
    {
        Bench b(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15, 500)), false);
        auto* poll = b.w.form()->findChild<QTimer*>("Timer1");
        auto* measure = b.w.form()->findChild<QTimer*>("Timer2");
        QVERIFY(!poll->isActive());
        QTRY_COMPARE(b.stamp(7), QString::number(b.clock.now().time().second()));
        QSignalSpy ticks(measure, &QTimer::timeout);
        QElapsedTimer run;
        run.start();
        int late = 0;
        while (run.elapsed() < 2500) {
            QTest::qWait(90);
            const QTime now = b.clock.now().time();
            // Shown is the clock's second, or the one before just after a
            // change (generously: a loaded machine may run the tick late).
            const QString shown = b.stamp(7);
            if (shown != QString::number(now.second())
                && !(now.msec() < 600 && shown == QString::number((now.second() + 59) % 60)))
                ++late;
        }
        QCOMPARE(late, 0);
        QVERIFY2(ticks.size() <= 6, qPrintable(QString::number(ticks.size())));

        b.check("autocheck")->setChecked(true);
        QVERIFY(!poll->isActive());
        b.choose("portselect", b.pty.path());
        QVERIFY(poll->isActive() && measure->isActive());
        QCOMPARE(poll->interval(), 20);
        QCOMPARE(measure->interval(), 5);
        QTRY_VERIFY(b.polls() > 2);
        // The port stays open but nothing polls: back to once a second.
        b.check("autocheck")->setChecked(false);
        QVERIFY(!poll->isActive());
        QVERIFY(b.w.serial.portopen);
        ticks.clear();
        QTest::qWait(1100);
        QVERIFY(measure->isActive());
        QVERIFY2(ticks.size() <= 3, qPrintable(QString::number(ticks.size())));
        b.choose("portselect", "Select");
        QTRY_VERIFY(measure->interval() > 5);
        QVERIFY(!poll->isActive());
    }

    void badDelay_data()
    {
        QTest::addColumn<QString>("delay");
        QTest::newRow("word") << "abc";
        QTest::newRow("exponent") << "1e3";
        QTest::newRow("empty") << "";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("past any date") << "99999999999999";
        QTest::newRow("not finite") << QString(400, u'9');
    }
    void badDelay()
    {
        QFETCH(QString, delay);
        Bench b;
        b.sim.setSilent(true);
        b.click(0);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        paste(b.edit("comdelay"), delay);
        ModalAnswer alert("Command1_0");
        b.click(1);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Delay error"));
        QTest::qWait(50);
        QCOMPARE(b.sim.commands(), QStringList{timecheck});
        QVERIFY(b.button("cmmd", 1)->isEnabled());
    }

    // Readings through the bridge: flag bits masked, weekday names, a byte
    // that is not BCD shown as it is and counted by its leading digits.
    void decoding_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<bool>("flags"); // low voltage and century
        QTest::addColumn<QList<int>>("raw"); // register, byte
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<double>("chipTime");
        const QDateTime wed(QDate(2026, 12, 9), QTime(7, 15, 5));
        QTest::newRow("plain") << wed << false << QList<int>{} << QStringList{"2026", "12", "9", "WED", "7", "15", "5"}
                               << 7 * 3600. + 15 * 60 + 5;
        QTest::newRow("flag bits") << wed << true << QList<int>{}
                                   << QStringList{"2026", "12", "9", "WED", "7", "15", "5"} << 7 * 3600. + 15 * 60 + 5;
        QTest::newRow("sunday") << QDateTime(QDate(2026, 12, 13), QTime(23, 59, 0)) << true << QList<int>{}
                                << QStringList{"2026", "12", "13", "SUN", "23", "59", "0"} << 23 * 3600. + 59 * 60;
        QTest::newRow("weekday 7") << wed << false << QList<int>{6, 0x07}
                                   << QStringList{"2026", "12", "9", "---", "7", "15", "5"} << 7 * 3600. + 15 * 60 + 5;
        QTest::newRow("minutes 3A") << wed << false << QList<int>{3, 0x3A}
                                    << QStringList{"2026", "12", "9", "WED", "7", "3A", "5"} << 7 * 3600. + 3 * 60 + 5;
    }
    void decoding()
    {
        QFETCH(QDateTime, start);
        QFETCH(bool, flags);
        QFETCH(QList<int>, raw);
        QFETCH(QStringList, boxes);
        QFETCH(double, chipTime);
        Bench b(start.addMSecs(200));
        b.sim.lowVoltage = flags;
        b.sim.century = flags;
        for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
            b.sim.raw[raw[i]] = raw[i + 1];
        b.clock.setNow(start.addMSecs(200));
        b.click(0);
        QTRY_COMPARE(b.chipBoxes(), boxes);
        QCOMPARE(b.w.chipTime, chipTime);
    }

    // Replies split, merged, behind garbage; other lengths ignored.
    void replyConditions()
    {
        Bench b;
        b.sim.setSplit(5);
        b.sim.setGarbage("\x01\xff!zz\r\r!00");
        b.click(0);
        QTRY_COMPARE(b.chipBoxes(), (QStringList{"2026", "12", "9", "WED", "7", "15", "15"}));
        b.sim.setSplit(0);
        b.sim.setGarbage("");
        const QString shorter = RtcBridge::readReply({0x30, 0x20, 0x10, 0x01, 0x05, 0x02, 0x27}).remove(45, 1);
        const QString longer = RtcBridge::readReply({0x30, 0x20, 0x10, 0x01, 0x05, 0x02, 0x27, 0x00});
        QCOMPARE(shorter.size(), 1 + 47 + 1);
        const QStringList first = b.chipBoxes();
        b.sim.send(shorter.toLatin1() + longer.toLatin1());
        QTest::qWait(100);
        QCOMPARE(b.chipBoxes(), first);
        // Forty-eight characters of noise read as the reply table reads them.
        b.sim.send("!" + QByteArray(48, '\xff') + "\r");
        QTRY_COMPARE(b.chipBoxes(), (QStringList{QString::fromLatin1("20\xff\xff"), "0", "0", "SUN", "0", "0", "0"}));
        // Two readings in one write: the later one is shown.
        b.sim.send((RtcBridge::readReply({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x27})
                    + RtcBridge::readReply({0x41, 0x42, 0x13, 0x24, 0x00, 0x11, 0x28}))
                       .toLatin1());
        QTRY_COMPARE(b.chipBoxes(), (QStringList{"2028", "11", "24", "SUN", "13", "42", "41"}));
    }

    // Noise of a reading's length between two readings of the same second
    // is no change of the chip's seconds: nothing is measured.
    void noiseMeasuresNothing()
    {
        Bench b;
        b.sim.setSilent(true);
        b.check("autocheck")->setChecked(true);
        const QByteArray reading = RtcBridge::readReply({0x15, 0x15, 0x07, 0x09, 0x03, 0x12, 0x26}).toLatin1();
        b.sim.send(reading);
        QTRY_COMPARE(b.stamp(6), QStringLiteral("15"));
        b.sim.send("!" + QByteArray(48, 'z') + "\r");
        QTRY_COMPARE(b.stamp(6), QStringLiteral("0"));
        b.sim.send(reading);
        QTRY_COMPARE(b.stamp(6), QStringLiteral("15"));
        QTest::qWait(50);
        QCOMPARE(b.stamp(8), QString());
        // A real change is measured.
        b.sim.send(RtcBridge::readReply({0x16, 0x15, 0x07, 0x09, 0x03, 0x12, 0x26}).toLatin1());
        QTRY_VERIFY(!b.stamp(8).isEmpty());
    }

    // "Auto" polls the chip; "Read Time" and "Sync Time" untick it; with the
    // board port closed nothing is sent and nothing said.
    void autoPolling()
    {
        Bench b;
        b.check("autocheck")->setChecked(true);
        QTRY_VERIFY(b.polls() >= 5);
        b.click(0);
        QVERIFY(!b.check("autocheck")->isChecked());
        QTest::qWait(60);
        const int sent = b.polls();
        QTest::qWait(100);
        QCOMPARE(b.polls(), sent);
        b.choose("portselect", "Select");
        QCOMPARE(b.w.serial.portopen, 0);
        b.sim.clearRecord();
        AlertSink alerts;
        b.check("autocheck")->setChecked(true);
        b.click(2);
        QTest::qWait(100);
        QVERIFY(b.sim.received().isEmpty());
        QVERIFY(alerts.titles.isEmpty());
    }

    // A chip ahead of or behind the PC, measured at every change of its
    // seconds and across midnight; each result logged as "date-time,delta"
    // with CR LF. A result lies within one poll (and the line's latency on
    // a loaded machine) below the true offset, never above it.
    void offsets_data()
    {
        QTest::addColumn<qint64>("lead");
        QTest::newRow("ahead 250 ms") << qint64(250);
        QTest::newRow("behind 300 ms") << qint64(-300);
    }
    void offsets()
    {
        QFETCH(qint64, lead);
        Bench b(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58, 600)));
        b.sim.offsetMs = lead;
        b.check("logtofile")->setChecked(true);
        b.check("autocheck")->setChecked(true);
        auto pastMidnight = [] {
            const QStringList lines = logLines();
            return !lines.isEmpty() && lines.last().startsWith(QLatin1String("2026-12-10 00:00:0"));
        };
        QTRY_VERIFY_WITH_TIMEOUT(pastMidnight(), 6000);
        const QStringList lines = logLines();
        QVERIFY2(lines.size() >= 2, qPrintable(lines.join('|')));
        static const QRegularExpression form(QStringLiteral("^2026-12-(09 23:59:5\\d|10 00:00:0\\d),(-?\\d+)$"));
        for (const QString& line : lines) {
            const auto m = form.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            const qint64 delta = m.captured(2).toLongLong();
            QVERIFY2(delta <= lead + 1 && delta >= lead - 250, qPrintable(line));
        }
        QCOMPARE(QString::fromLatin1(readFile(Ctrl_8990_pcf8563::logPath())).count(QStringLiteral("\r\n")),
                 lines.size());
        QCOMPARE(b.stamp(8), lines.last().section(u',', 1));
    }

    // With "Auto" off "Delta-mS" keeps its text, "PC Sec" counts and
    // nothing is logged.
    void autoOff()
    {
        Bench b(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15, 700)));
        b.sim.offsetMs = 250;
        b.check("logtofile")->setChecked(true);
        b.check("autocheck")->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(!b.stamp(8).isEmpty(), 3000);
        b.check("autocheck")->setChecked(false);
        const QString delta = b.stamp(8);
        const int logged = int(logLines().size());
        const QString pcSec = b.stamp(7);
        QTRY_VERIFY_WITH_TIMEOUT(b.stamp(7) != pcSec, 1500);
        QCOMPARE(b.stamp(7), QString::number(b.clock.now().time().second()));
        QCOMPARE(b.stamp(8), delta);
        QCOMPARE(logLines().size(), logged);
    }

    // A log that cannot be written: one alert, the measurements go on.
    void logFailure()
    {
        AlertSink alerts;
        Bench b(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15, 700)));
        QVERIFY(QDir().mkpath(Ctrl_8990_pcf8563::logPath())); // a folder in the file's place
        b.sim.offsetMs = 250;
        b.check("logtofile")->setChecked(true);
        b.check("autocheck")->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(!b.stamp(8).isEmpty(), 3000);
        b.edit(arrayName("timestamp", 8))->setText(QString());
        QTRY_VERIFY_WITH_TIMEOUT(!b.stamp(8).isEmpty(), 3000);
        QCOMPARE(alerts.titles, QStringList{"Log file error"});
    }

    // Counts, their errors and the trim through the counter board.
    void counter_data()
    {
        QTest::addColumn<quint32>("c0");
        QTest::addColumn<quint32>("c1");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QStringList>("shown"); // counts 0, ppm 0, counts 1, ppm 1, trim
        QTest::newRow("on frequency") << 100000000u << 99998000u << "0.380"
                                      << QStringList{"100000000", "0.00", "99998000", "-20.00", "0"};
        QTest::newRow("fast") << 100001500u << 99999500u << "1"
                              << QStringList{"100001500", "15.00", "99999500", "-5.00", "15"};
        QTest::newRow("all ones") << 0xFFFFFFFFu << 99998000u << "1"
                                  << QStringList{"-1", "-1000000.01", "99998000", "-20.00", "20.0004000079962"};
        QTest::newRow("equal") << 99998000u << 99998000u << "1"
                               << QStringList{"99998000", "-20.00", "99998000", "-20.00", "---"};
    }
    void counter()
    {
        QFETCH(quint32, c0);
        QFETCH(quint32, c1);
        QFETCH(QString, scale);
        QFETCH(QStringList, shown);
        Bench b;
        retype(b.edit("scaler"), scale);
        leaveBox(b.edit("scaler"));
        b.counter.count = c0;
        b.count(1);
        QTRY_COMPARE(b.text("countresult_0"), shown[0]);
        b.counter.count = c1;
        b.count(2);
        QTRY_COMPARE(b.text("countresult_1"), shown[2]);
        QCOMPARE(b.text("errorppm_0"), shown[1]);
        QCOMPARE(b.text("errorppm_1"), shown[3]);
        QCOMPARE(b.text("trimvalue"), shown[4]);
        QCOMPARE(b.counter.commands(), (QStringList{"$002082", "$002001", "$002082", "$002001"}));
    }

    // Replies that are not a count leave the slot "---"; the 0 pF box
    // awaiting its count gives no trim.
    void counterReplies()
    {
        Bench b;
        b.counter.setSplit(3);
        b.counter.setGarbage("\x02junk\r!0011\r");
        b.counter.count = 100000100;
        b.count(1);
        QTRY_COMPARE(b.text("countresult_0"), QStringLiteral("100000100"));
        QCOMPARE(b.text("errorppm_0"), QStringLiteral("1.00"));
        b.counter.setSplit(0);
        b.counter.setGarbage("");
        for (const char* digits : {"1234567", "ZZZZZZZZ", "-0000001", "\xff\xff\xff\xff\xff\xff\xff\xff"}) {
            b.counter.countText = QString::fromLatin1(digits);
            b.count(2);
            QTest::qWait(20);
            QCOMPARE(b.text("countresult_1"), QStringLiteral("---"));
            QCOMPARE(b.text("errorppm_1"), QStringLiteral("---"));
        }
        b.counter.countText.clear();
        b.counter.count = 99999900;
        b.count(2);
        QTRY_COMPARE(b.text("trimvalue"), QStringLiteral("3.8")); // -100 / -200 x 20 x 0.380
        b.counter.setSilent(true);
        b.count(1);
        QTest::qWait(20);
        b.counter.setSilent(false);
        b.count(2);
        QTRY_COMPARE(b.text("countresult_1"), QStringLiteral("99999900"));
        QCOMPARE(b.text("countresult_0"), QStringLiteral("---"));
        QCOMPARE(b.text("trimvalue"), QStringLiteral("---"));
    }

    // "Scale" takes decimal keys only, rewrites itself on Enter and on
    // leaving, and reads pasted text by its leading number.
    void scaleBox()
    {
        Bench b(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15)), false);
        QLineEdit* s = b.edit("scaler");
        retype(s, "-1.5x");
        leaveBox(s);
        QCOMPARE(s->text(), QStringLiteral("1.500"));
        retype(s, "2");
        pressEnter(s);
        QCOMPARE(s->text(), QStringLiteral("2.000"));
        paste(s, "0.25 pF");
        giveFocus(s);
        leaveBox(s);
        QCOMPARE(s->text(), QStringLiteral("0.250"));
    }

    // Closing the window in a count's pacing wait ends the count there.
    void counterClosed()
    {
        Bench b;
        b.counter.setSilent(true);
        QTimer::singleShot(50, [&] { closeOrQuit(b.w, false); });
        b.count(1);
        QVERIFY(closedAndRecovered(b.w, false));
        QTest::qWait(300);
        QCOMPARE(b.counter.commands(), QStringList{"$002082"});
    }

    // The counter port closed: the common alert for each command.
    void counterNoPort()
    {
        Bench b(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15)), false);
        AlertSink alerts;
        b.count(1);
        QCOMPARE(alerts.titles, (QStringList{"Serial port error", "Serial port error"}));
        QCOMPARE(b.text("countresult_0"), QStringLiteral("---"));
        QCOMPARE(b.text("errorppm_0"), QStringLiteral("---"));
    }

    // Each port fails on its own: the counter board vanishing closes only
    // the counter port while polling goes on; the bridge vanishing under
    // "Auto" gives one alert and a window that opens a port again.
    void portsApart()
    {
        Bench b;
        b.check("autocheck")->setChecked(true);
        QTRY_VERIFY(b.polls() > 2);
        {
            AlertSink alerts;
            b.counter.vanish();
            QTRY_COMPARE(alerts.titles, QStringList{"Secondary Com port error"});
            QCOMPARE(b.w.serial2.portopen, 0);
            QCOMPARE(b.w.form()->findChild<QComboBox*>("portselect2")->currentIndex(), 0);
            QCOMPARE(b.w.serial.portopen, -1);
            const int before = b.polls();
            QTRY_VERIFY(b.polls() > before + 3);
            QTest::qWait(200);
            QCOMPARE(alerts.titles.size(), 1);
        }
        {
            AlertSink alerts;
            b.sim.vanish();
            QTRY_COMPARE(alerts.titles, QStringList{"Com port error"});
            QTest::qWait(300);
            QCOMPARE(alerts.titles.size(), 1);
            QCOMPARE(b.w.serial.portopen, 0);
        }
        PtyPair pty3;
        RtcBridge sim3(pty3);
        b.w.unload();
        b.w.show();
        b.choose("portselect", pty3.path());
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(0);
        QTRY_COMPARE(b.stamp(6), QString::number(b.clock.now().time().second()));
        b.w.unload();
    }
};

VOLTARIS_TEST(Pcf8563Test);
#include "test_pcf8563.moc"
