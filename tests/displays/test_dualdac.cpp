// The dual DAC controller: its codec, and the window against a simulated
// 7547 board through a pseudo-terminal (a fake port for DTR and speed).

#include "dacboard.h"

#include "support/alertsink.h"
#include "support/controllerbench.h"
#include "support/fakeport.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/newestfirstlog.h"
#include "common/numtext.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_7547_dualdac.h"
#include "displays/dualdac.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>

#include <optional>

using namespace dualdac;

namespace {

struct Bench : ControllerBench<Ctrl_7547_dualdac, DacBoard> {
    // Loads the window with `extraPort` (a fake's name) among its ports and
    // chooses `port` (the pseudo-terminal by default, none when "").
    explicit Bench(std::optional<QString> port = std::nullopt, const QString& extraPort = QString())
        : ControllerBench(false, extraPort)
    {
        const QString chosen = port.value_or(pty.path());
        if (!chosen.isEmpty())
            choose(chosen);
    }
    template <class T>
    T* ctl(const QString& name) const
    {
        return w.form()->findChild<T*>(name);
    }
    QComboBox* baud() const { return ctl<QComboBox>("baudrateselect"); }
    QScrollBar* bar(int i) const { return ctl<QScrollBar>(arrayName("vset", i)); }
    QLineEdit* box(const QString& name, int i) const { return ctl<QLineEdit>(arrayName(name, i)); }
    QString text(const QString& name, int i) const { return box(name, i)->text(); }
    QStringList log(const char* name) const
    {
        return ctl<NewestFirstLog>(name)->lines();
    }
    void logOn(int i) const { ctl<QCheckBox>(arrayName("datatoscreen", i))->setChecked(true); }
    void click(int i) const { QTest::mouseClick(ctl<QPushButton>(arrayName("serialcmmd", i)), Qt::LeftButton); }
    // A drag of the thumb to a value, released when `release` says so.
    void drag(int i, int value, bool release = true) const
    {
        bar(i)->setSliderDown(true);
        bar(i)->setSliderPosition(value);
        if (release)
            bar(i)->setSliderDown(false);
    }
};

} // namespace

class DualDacTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readings_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QString>("ch0");
        QTest::addColumn<QString>("ch1");
        QTest::newRow("read") << "00101234502500" << true << "1.2345" << "0.2500";
        QTest::newRow("write") << "00115000000001" << true << "5.0000" << "0.0001";
        QTest::newRow("other code") << "0020" << false << "0.0000" << "0.0000";
        QTest::newRow("codes end in 10") << "AB1012345" << true << "1.2345" << "0.0000";
        QTest::newRow("short") << "0010" << true << "0.0000" << "0.0000";
        QTest::newRow("not digits") << "0010ab123 4567" << true << "0.0000" << "0.0000";
        QTest::newRow("sign") << "0010-1234+1234" << true << "0.0000" << "0.0000";
        QTest::newRow("number stops") << "001012.3499999" << true << "0.0012" << "9.9999";
        QTest::newRow("digits then garbage") << "001042\x01zz9x" << true << "0.0042" << "0.0009";
        QTest::newRow("garbage") << QString::fromLatin1("\xff\x80" "10\xfe\x01") << true << "0.0000" << "0.0000";
        QTest::newRow("empty") << "" << false << "0.0000" << "0.0000";
    }
    void readings()
    {
        QFETCH(QString, frame);
        QFETCH(bool, reading);
        QFETCH(QString, ch0);
        QFETCH(QString, ch1);
        QCOMPARE(isReading(frame), reading);
        QCOMPARE(fmt(readingVolts(frame, 0), "0.0000"), ch0);
        QCOMPARE(fmt(readingVolts(frame, 1), "0.0000"), ch1);
    }

    // Typed codes: one decimal number, rounded half to even, 0..65535.
    void dacCodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code"); // -1: refused
        const QList<QPair<const char*, int>> cases{
            {"100", 100},   {"4095", 4095},   {" 65535 ", 65535}, {"0", 0},      {"65535.4", 65535},
            {"2.5", 2},     {"3.5", 4},       {"-0.4", 0},        {"1e3", 1000}, {".5", 0},
            {"65535.5", -1}, {"65536", -1},   {"-1", -1},         {"", -1},      {"  ", -1},
            {"12abc", -1},  {"abc", -1},      {"0x10", -1},       {"nan", -1},   {"inf", -1},
            {"1e999", -1},  {"1 2", -1},      {"1,5", -1}};
        for (const auto& [text, code] : cases)
            QTest::newRow(qPrintable(QStringLiteral("\"%1\"").arg(QString::fromLatin1(text)))) << text << code;
    }
    void dacCodes()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        const auto got = dacCode(text);
        QCOMPARE(got.value_or(-1), code);
    }

    void commandsAndLimits()
    {
        QCOMPARE(writeCommand(100, 4095), QStringLiteral("$001100640FFF\r"));
        QCOMPARE(writeCommand(2129, 0), QStringLiteral("$001108510000\r"));
        QCOMPARE(readCommand(), QStringLiteral("$0010\r"));
        QCOMPARE(txLogLine("$0010\r"), QStringLiteral("$0010[cr]"));
        QCOMPARE(txLogLine("$0010"), QStringLiteral("$0010"));
        const QList<QPair<double, int>> maxima{{2.6, 2129}, {5, 4095}, {0, 0}, {-3, 0}, {1e9, 32767}};
        for (const auto& [vlimit, max] : maxima)
            QCOMPARE(barMax(vlimit), max);
        QCOMPARE(targetVolts(2.6, 5, 0), 0.0);
    }

    // A drag with the mouse: the output box follows the thumb, nothing is
    // sent until the button is let go, then the one command for where the
    // thumb was dropped.
    void mouseDragSendsOnRelease()
    {
        Bench b;
        QScrollBar* bar = b.bar(0);
        auto shown = [bar](int value) { return fmt(2.6 * (bar->maximum() - value) / bar->maximum(), "0.0000"); };
        HandleDrag drag(bar);
        drag.moveBy(-60);
        QVERIFY(bar->isSliderDown());
        const int first = bar->value();
        QVERIFY2(first < bar->maximum(), qPrintable(QString::number(first)));
        QCOMPARE(b.text("vout", 0), shown(first));
        drag.moveBy(-60);
        const int dropped = bar->value();
        QVERIFY(dropped < first);
        QCOMPARE(b.text("vout", 0), shown(dropped));
        QTest::qWait(50);
        QVERIFY(b.sim.received().isEmpty());
        drag.release();
        QCOMPARE(bar->value(), dropped);
        const QString sent =
            QStringLiteral("$0011%1").arg(bar->maximum() - dropped, 4, 16, QLatin1Char('0')).toUpper() + "0000";
        QTRY_COMPARE(b.sim.commands(), QStringList{sent});
        QTest::qWait(50);
        QCOMPARE(b.sim.commands(), QStringList{sent});
    }

    // At load both bars are at the bottom; a drag shows the voltage as it
    // goes and sends the levels once, on release.
    void dragSendsOnRelease()
    {
        Bench b;
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(b.bar(i)->maximum(), 2129);
            QCOMPARE(b.bar(i)->value(), 2129);
            QCOMPARE(b.text("vout", i), QStringLiteral("0.0000"));
        }
        QCOMPARE(b.ctl<QLabel>("comstatus")->text(), QStringLiteral("Ready"));
        QCOMPARE(b.baud()->currentText(), QStringLiteral("115200"));
        QCOMPARE(b.baud()->count(), 12);
        b.drag(0, 1000, false);
        QCOMPARE(b.text("vout", 0), QStringLiteral("1.3788"));
        b.bar(0)->setSliderPosition(0);
        QCOMPARE(b.text("vout", 0), QStringLiteral("2.6000"));
        QTest::qWait(50);
        QVERIFY(b.sim.received().isEmpty());
        b.bar(0)->setSliderDown(false);
        QTRY_COMPARE(b.sim.commands(), QStringList{"$001108510000"});
        QCOMPARE(b.sim.received(), QByteArray("$001108510000\r"));
        // The board's answer is its read-back of the new outputs.
        QTRY_COMPARE(b.text("adc", 0), QString(DacBoard::reading(2129)).insert(1, u'.'));
        QCOMPARE(b.text("adc", 1), QStringLiteral("0.0000"));
        // A key on the bar is a change: sent at once.
        b.bar(1)->setFocus();
        QTest::keyClick(b.bar(1), Qt::Key_Up);
        QTRY_COMPARE(b.sim.commands().size(), 2);
        QCOMPARE(b.sim.commands().last(), QStringLiteral("$001108510001"));
        // "Scroll to  DACs" sends the same levels again.
        b.click(2);
        QTRY_COMPARE(b.sim.commands().size(), 3);
        QCOMPARE(b.sim.commands().last(), QStringLiteral("$001108510001"));
        // vlimit changes the voltages shown, not the range.
        retype(b.ctl<QLineEdit>("vlimit"), "5");
        b.drag(0, 1000);
        QCOMPARE(b.bar(0)->maximum(), 2129);
        QCOMPARE(b.text("vout", 0), QStringLiteral("2.6515"));
    }

    // "Write DACs" sends the typed codes; the Tx log shows the newest
    // command on top; the status reads "Wait" while a command paces.
    void writeAndRead()
    {
        Bench b;
        b.logOn(0);
        retype(b.box("dac", 0), "100");
        retype(b.box("dac", 1), "4095");
        QString statusAtBoard;
        connect(&b.sim, &BoardSimulator::commandReceived, this,
                [&] { statusAtBoard = b.ctl<QLabel>("comstatus")->text(); });
        b.click(1);
        QTRY_COMPARE(b.sim.commands(), QStringList{"$001100640FFF"});
        QCOMPARE(statusAtBoard, QStringLiteral("Wait"));
        QCOMPARE(b.ctl<QLabel>("comstatus")->text(), QStringLiteral("Ready"));
        QCOMPARE(b.log("txdata"), QStringList{"$001100640FFF[cr]"});
        QTRY_COMPARE(b.text("adc", 1), QStringLiteral("5.0000"));
        QCOMPARE(b.text("adc", 0), QStringLiteral("0.1222"));
        b.click(0);
        QTRY_COMPARE(b.sim.commands().size(), 2);
        QCOMPARE(b.log("txdata"), (QStringList{"$0010[cr]", "$001100640FFF[cr]"}));
        QCOMPARE(b.sim.writes, (QList<QPair<int, int>>{{100, 4095}}));
    }

    // A code the board cannot take is refused, named, and never sent.
    void refusedCodes_data()
    {
        QTest::addColumn<QString>("dac0");
        QTest::addColumn<QString>("dac1");
        QTest::addColumn<QString>("named");
        QTest::newRow("not a number") << "abc" << "1" << "channel 0";
        QTest::newRow("pasted text") << "12" << "12 volts" << "channel 1";
        QTest::newRow("too big") << "65536" << "0" << "channel 0";
        QTest::newRow("negative") << "5" << "-1" << "channel 1";
        QTest::newRow("empty") << "" << "" << "channel 0";
        QTest::newRow("huge") << "1e20" << "0" << "channel 0";
    }
    void refusedCodes()
    {
        QFETCH(QString, dac0);
        QFETCH(QString, dac1);
        QFETCH(QString, named);
        Bench b;
        b.logOn(0);
        paste(b.box("dac", 0), dac0);
        paste(b.box("dac", 1), dac1);
        AlertSink alerts;
        b.click(1);
        QTRY_COMPARE(alerts.titles, QStringList{"DAC code error"});
        QVERIFY(alerts.texts.first().contains(named));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
        QVERIFY(b.log("txdata").isEmpty());
        QCOMPARE(b.ctl<QLabel>("comstatus")->text(), QStringLiteral("Ready"));
    }

    // Every complete reply is handled once, whether it came split, merged
    // with another or after garbage; only readings change the boxes, and
    // every frame goes to the Rx log (newest on top) while it is ticked.
    void replies()
    {
        Bench b;
        b.sim.send("!00101234502500\r");
        QTRY_COMPARE(b.text("adc", 0), QStringLiteral("1.2345"));
        QCOMPARE(b.text("adc", 1), QStringLiteral("0.2500"));
        b.logOn(1);
        b.sim.send("!0020\r");
        QTRY_COMPARE(b.log("rxdata"), QStringList{"0020"});
        QCOMPARE(b.text("adc", 0), QStringLiteral("1.2345"));
        b.sim.send("!00100000100002\r!00110000300004\r");
        QTRY_COMPARE(b.log("rxdata"), (QStringList{"00110000300004", "00100000100002", "0020"}));
        QCOMPARE(b.text("adc", 0), QStringLiteral("0.0003"));
        QCOMPARE(b.text("adc", 1), QStringLiteral("0.0004"));
        b.sim.setSplit(3);
        b.sim.setGarbage("\x01zz\r");
        b.sim.codes[0] = 4095;
        b.click(0);
        QTRY_COMPARE(b.text("adc", 0), QStringLiteral("5.0000"));
        QTRY_COMPARE(b.log("rxdata").first(), QStringLiteral("00105000000000"));
        QCOMPARE(b.log("rxdata").size(), 4);
        // A double click on either log clears both.
        b.logOn(0);
        b.click(0);
        QTRY_COMPARE(b.log("rxdata").size(), 5);
        QCOMPARE(b.log("txdata").size(), 1);
        QTest::mouseDClick(b.ctl<NewestFirstLog>("rxdata")->viewport(), Qt::LeftButton);
        QVERIFY(b.log("rxdata").isEmpty());
        QVERIFY(b.log("txdata").isEmpty());
    }

    // Random bytes and a flood neither crash the window nor strand the
    // reply that follows them.
    void garbageFlood()
    {
        Bench b;
        b.logOn(1);
        QRandomGenerator random(36);
        QByteArray junk(512 * 1024, Qt::Uninitialized);
        for (char& c : junk)
            c = char(random.bounded(256));
        b.sim.sendRaw(junk);
        b.sim.sendRaw(QByteArray(256 * 1024, 'x'));
        b.sim.sendRaw("\r!00104321000007\r");
        QTRY_VERIFY_WITH_TIMEOUT(b.sim.pending() == 0, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(b.log("rxdata").value(0), QStringLiteral("00104321000007"), 20000);
        QCOMPARE(b.text("adc", 0), QStringLiteral("4.3210"));
        QCOMPARE(b.text("adc", 1), QStringLiteral("0.0007"));
        QCOMPARE(b.w.serial.portopen, -1);
    }

    // A new rate reopens the chosen port at that rate, with DTR on; with no
    // port chosen it changes nothing until one is.
    void baudRate()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-dac");
        Bench b(QStringLiteral(""), QStringLiteral("fake-dac"));
        QCOMPARE(b.w.serial.rs232.speed(), 115200);
        b.baud()->setCurrentIndex(5);
        QVERIFY(!line->open);
        b.portselect()->setCurrentIndex(b.portselect()->findText("fake-dac"));
        QVERIFY(line->open);
        QCOMPARE(line->baud, 4800);
        QVERIFY(line->outputs & portline::DTR);
        b.baud()->setCurrentIndex(11);
        QVERIFY(line->open);
        QCOMPARE(line->baud, 230400);
        QVERIFY(line->outputs & portline::DTR);
        QCOMPARE(b.portselect()->currentText(), QStringLiteral("fake-dac"));
        b.click(0);
        QCOMPARE(line->written, QByteArray("$0010\r"));
        // A rate the device refuses: the failed open is reported and the
        // window is back to no port.
        line->refuseBaud = {300};
        AlertSink alerts;
        b.baud()->setCurrentIndex(1);
        QTRY_COMPARE(alerts.titles, QStringList{"Com port open error"});
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.portselect()->currentIndex(), 0);
        QVERIFY(!line->open);
    }

    // The same through the pseudo-terminal: reopened, and still talking.
    void baudRateReopensPty()
    {
        Bench b;
        const int opens = b.pty.opens();
        b.baud()->setCurrentIndex(9);
        QCOMPARE(b.pty.opens(), opens + 1);
        QCOMPARE(b.portselect()->currentText(), b.pty.path());
        b.click(0);
        QTRY_COMPARE(b.sim.commands(), QStringList{"$0010"});
    }

    void noPort()
    {
        Bench b(QStringLiteral(""));
        b.logOn(0);
        AlertSink alerts;
        b.click(0);
        b.drag(0, 0);
        QTRY_COMPARE(alerts.titles, QStringList{"Serial port error"});
        b.click(2);
        QTRY_COMPARE(alerts.titles.size(), 2);
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
        QVERIFY(b.log("txdata").isEmpty());
        QCOMPARE(b.ctl<QLabel>("comstatus")->text(), QStringLiteral("Ready"));
    }

    // A board that floods replies between garbage while both logs run:
    // every frame is logged, newest on top; closing the window, or quitting,
    // in the middle of a longer flood ends cleanly.
    void floodWhileLogging_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void floodWhileLogging()
    {
        QFETCH(bool, quit);
        Bench b;
        b.logOn(0);
        b.logOn(1);
        b.sim.setSilent(true);
        b.sim.sendRaw(BoardSimulator::replyFlood("0020", 0, 3000));
        b.click(0);
        QTRY_COMPARE_WITH_TIMEOUT(b.ctl<NewestFirstLog>("rxdata")->count(), 3000, 30000);
        const QStringList rx = b.log("rxdata");
        QCOMPARE(rx.first(), QStringLiteral("0020002999"));
        QCOMPARE(rx.last(), QStringLiteral("0020000000"));
        QCOMPARE(b.log("txdata"), QStringList{"$0010[cr]"});

        b.sim.sendRaw(BoardSimulator::replyFlood("0020", 3000, 100000));
        QTRY_VERIFY_WITH_TIMEOUT(b.ctl<NewestFirstLog>("rxdata")->count() > 5000, 30000);
        closeOrQuit(b.w, quit);
        QVERIFY(closedAndRecovered(b.w, quit));
        QVERIFY(!b.w.serial.rs232.isOpen());
        QTest::qWait(100); // the rest of the flood meets a closed port
    }

    // Closed, or the program quit, while "Read DACs" paces: the wait ends
    // and nothing touches the destroyed form.
    void closeWhilePacing_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void closeWhilePacing()
    {
        QFETCH(bool, quit);
        Bench b;
        b.logOn(0);
        b.sim.setSilent(true);
        QTimer::singleShot(20, [&] { closeOrQuit(b.w, quit); });
        b.click(0);
        QVERIFY(closedAndRecovered(b.w, quit));
        QCOMPARE(b.sim.commands(), QStringList{"$0010"});
        QVERIFY(!b.w.serial.rs232.isOpen());
    }

    // The board vanishes: one alert, the port closed, and the window works
    // again on another port.
    void boardVanishes()
    {
        Bench b;
        b.click(0);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        AlertSink alerts;
        b.sim.vanish();
        b.click(0);
        QTRY_VERIFY(!alerts.titles.isEmpty());
        QTest::qWait(300);
        QCOMPARE(alerts.titles, QStringList{"Com port error"});
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.portselect()->currentIndex(), 0);
        QVERIFY(!b.w.serial.rs232.isOpen());
        PtyPair pty2;
        DacBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        b.portselect()->setCurrentIndex(b.portselect()->findText(pty2.path()));
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(0);
        QTRY_COMPARE(sim2.commands(), QStringList{"$0010"});
        QTRY_COMPARE(b.text("adc", 0), QStringLiteral("0.0000"));
    }
};

VOLTARIS_TEST(DualDacTest);
#include "test_dualdac.moc"
