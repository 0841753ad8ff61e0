// The LIS33 accelerometer controller: its codec, and the window against a
// simulated 9249 board through a pseudo-terminal.

#include "lis33board.h"

#include "support/controllerbench.h"
#include "support/paceratio.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "sensors/ctrl_9249_lis33accel.h"
#include "sensors/lis33accel.h"
#include "common/newestfirstlog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <vector>

using namespace lis33accel;

namespace {

struct Bench : ControllerBench<Ctrl_9249_lis33accel, Lis33Board> {
    explicit Bench(bool connect = true) : ControllerBench(false)
    {
        // Polling is driven by hand unless a test starts the timer.
        timer()->stop();
        if (connect)
            choose(pty.path());
    }
    QTimer* timer() const { return w.form()->findChild<QTimer*>("Timer1"); }
    QStringList row(const QString& name) const
    {
        return {text(arrayName(name, 0)), text(arrayName(name, 1)), text(arrayName(name, 2))};
    }
    QCheckBox* check(const QString& name) const { return w.form()->findChild<QCheckBox*>(name); }
    NewestFirstLog* log(const QString& name) const { return w.form()->findChild<NewestFirstLog*>(name); }
    QStringList lines(const QString& name) const { return log(name)->lines(); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
};

} // namespace

class Lis33AccelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rawAxes()
    {
        const QList<QPair<int, int>> cases{{0x7FFF, 32767}, {0x8000, -32768}, {0x8001, -32767},
                                           {0xFFFF, -1},    {0x0000, 0},      {0x0001, 1}};
        for (const auto& [reg, value] : cases)
            QCOMPARE(rawAxis(reg), value);
    }

    void replies_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("texts"); // box, text, box, text ...
        QTest::addColumn<QString>("colorBox");
        QTest::addColumn<QColor>("color");
        const QColor none;
        QTest::newRow("id 32") << "00100F0032" << QStringList{"pingresult", "32"} << "pingresult" << colors::green;
        QTest::newRow("id 33, lower case") << "00100f0033" << QStringList{"pingresult", "33"} << "pingresult"
                                           << colors::red;
        QTest::newRow("id short") << "00100F" << QStringList{"pingresult", ""} << "pingresult" << colors::red;
        QTest::newRow("x") << "0010287FFF" << QStringList{"xaxis", "32767"} << "" << none;
        QTest::newRow("y") << "00102A8000" << QStringList{"yaxis", "-32768"} << "" << none;
        QTest::newRow("z, lower case") << "00102cffff99" << QStringList{"zaxis", "-1"} << "" << none;
        QTest::newRow("axis short") << "001028" << QStringList{"xaxis", "0"} << "" << none;
        QTest::newRow("other register") << "0010201234" << QStringList{} << "" << none;
        QTest::newRow("positions") << "006080000000FFFF"
                                   << QStringList{"positions_0", "0", "positions_1", "-32768", "positions_2", "32767"}
                                   << "" << none;
        QTest::newRow("offsets") << "0061FFFF00010000"
                                 << QStringList{"offsets_0", "65535", "offsets_1", "1", "offsets_2", "0"} << "" << none;
        QTest::newRow("scaled, short") << "00628010"
                                       << QStringList{"scaled_positions_0", "16", "scaled_positions_1", "-32768",
                                                      "scaled_positions_2", "-32768"}
                                       << "" << none;
        QTest::newRow("firmware") << "000001020304" << QStringList{"comtest", "0102.03.04"} << "" << none;
        QTest::newRow("acknowledge") << "0011" << QStringList{} << "" << none;
        QTest::newRow("garbage") << QString::fromLatin1("\x01\xff\x80zz") << QStringList{} << "" << none;
    }
    void replies()
    {
        QFETCH(QString, frame);
        QFETCH(QStringList, texts);
        QFETCH(QString, colorBox);
        QFETCH(QColor, color);
        const Reply r = decodeReply(frame);
        QStringList got;
        for (const auto& [box, text] : r.texts)
            got << box << text;
        QCOMPARE(got, texts);
        QCOMPARE(r.colorBox, colorBox);
        if (!colorBox.isEmpty())
            QCOMPARE(r.color, color);
    }

    void hexBoxesAndEepromAddress()
    {
        QCOMPARE(hexEnter("abc"), QStringLiteral("BC"));
        QCOMPARE(hexEnter("a"), QStringLiteral("A"));
        QCOMPARE(hexLeave("5"), QStringLiteral("05"));
        QCOMPARE(hexLeave(""), QStringLiteral("00"));
        QCOMPARE(hexLeave("1f"), QStringLiteral("1F"));
        QCOMPARE(commands(15, "0"), QStringList{"$002000\r\n"});
        QCOMPARE(commands(15, "a"), QStringList{"$00200A\r\n"});
        QVERIFY(!commands(15, "zz"));
        QVERIFY(!commands(15, "1 "));
        QCOMPARE(commandLogLine("$0060\r\n"), QStringLiteral("$0060[cr]"));
    }

    // Every button's bytes; those the board's protocol leaves open send
    // nothing.
    void commandBytes()
    {
        Bench b;
        b.sim.setSilent(true);
        for (int i = 0; i < 22; ++i)
            b.click(i);
        const QStringList sent{"$00100f00", "$00112027", "$00102801", "$00102A01", "$00102C01", "$00102801",
                               "$00102A01", "$00102C01", "$0000",     "$004100",   "$004101",   "$004000",
                               "$004001",   "$0007",     "$002000",   "$0060",     "$0061",     "$0030",
                               "$0031",     "$0062"};
        QTRY_COMPARE(b.sim.commands(), sent);
        QCOMPARE(b.sim.received().count("\r\n"), 20);
        QCOMPARE(b.sim.received().count('\r'), 20);
        QCOMPARE(b.text("pingresult"), QStringLiteral("---"));
        QCOMPARE(b.row("positions"), (QStringList{"---", "---", "---"}));
        QCOMPARE(b.lines("xcommand").size(), 20);
        QCOMPARE(b.lines("xcommand").first(), QStringLiteral("$0062[cr]"));
    }

    void boardReplies()
    {
        Bench b;
        b.click(0);
        QTRY_COMPARE(b.text("pingresult"), QStringLiteral("32"));
        QCOMPARE(b.edit("pingresult")->palette().color(QPalette::Base), colors::green);
        b.sim.registers[0x0F] = 0x33;
        b.click(0);
        QTRY_COMPARE(b.text("pingresult"), QStringLiteral("33"));
        QCOMPARE(b.edit("pingresult")->palette().color(QPalette::Base), colors::red);
        b.sim.setSplit(3);
        b.sim.setGarbage("\x01zz\r");
        b.click(5);
        QTRY_COMPARE(b.text("zaxis"), QStringLiteral("-1"));
        QCOMPARE(b.text("xaxis"), QStringLiteral("32767"));
        QCOMPARE(b.text("yaxis"), QStringLiteral("-32768"));
        b.sim.setSplit(0);
        b.sim.setGarbage("");
        b.click(6);
        b.click(17);
        b.click(18);
        b.click(21);
        QTRY_COMPARE(b.row("scaled_positions"), (QStringList{"16", "-16", "0"}));
        QCOMPARE(b.text("comtest"), QStringLiteral("0102.03.04"));
        QCOMPARE(b.row("positions"), (QStringList{"0", "-32768", "32767"}));
        QCOMPARE(b.row("offsets"), (QStringList{"1", "32767", "65535"}));
        QCOMPARE(b.lines("xresponse").first(), QStringLiteral("!006280107FF08000[cr]"));
        // Enabling the chip writes its control register.
        b.click(1);
        QTRY_COMPARE(b.sim.registers.value(0x20), 0x27);
    }

    void logs()
    {
        Bench b;
        b.sim.setSilent(true);
        b.click(6);
        b.click(13);
        b.click(19);
        QCOMPARE(b.lines("xcommand"), (QStringList{"$0030[cr]", "$0007[cr]", "$0000[cr]"}));
        b.check("dumplast")->setChecked(true);
        b.click(20);
        QCOMPARE(b.lines("xcommand"), QStringList{"$0031[cr]"});
        b.check("dumplast")->setChecked(false);
        b.sim.send("!0030\r!0031\r");
        QTRY_COMPARE(b.lines("xresponse"), (QStringList{"!0031[cr]", "!0030[cr]"}));
        QTest::mouseDClick(b.log("xresponse")->viewport(), Qt::LeftButton);
        QVERIFY(b.lines("xcommand").isEmpty());
        QVERIFY(b.lines("xresponse").isEmpty());
    }

    void hexBoxes()
    {
        Bench b(false);
        QLineEdit* a = b.edit("readaddr");
        retype(a, "g");
        QCOMPARE(a->text(), QStringLiteral("0"));
        retype(a, "ab");
        pressEnter(a);
        QCOMPARE(a->text(), QStringLiteral("AB"));
        retype(a, "5");
        leaveBox(a);
        QCOMPARE(a->text(), QStringLiteral("05"));
        QLineEdit* d = b.edit("writedata");
        retype(d, "1a2b3");
        pressEnter(d);
        QCOMPARE(d->text(), QStringLiteral("B3"));
        paste(b.edit("eewritedata"), "x");
        giveFocus(b.edit("eewritedata"));
        leaveBox(b.edit("eewritedata"));
        QCOMPARE(b.text("eewritedata"), QStringLiteral("0X"));
    }

    // Text an input method hands a hex box passes its key filter as typed
    // keys do: only hex digits.
    void hexBoxesTakeInputMethodText()
    {
        Bench b(false);
        for (const char* name : {"readaddr", "writeaddr", "writedata", "eereadaddr", "eewriteaddr", "eewritedata"}) {
            QLineEdit* box = b.edit(name);
            giveFocus(box);
            box->end(false);
            commitInputText(box, "^", QStringLiteral("\u00E2"));
            QVERIFY2(box->text() == QStringLiteral("0"), qPrintable(QString(name) + ": " + box->text()));
            box->selectAll();
            commitInputText(box, QString(), QStringLiteral("\u00E2g7\u00B4"));
            QVERIFY2(box->text() == QStringLiteral("7"), qPrintable(QString(name) + ": " + box->text()));
        }
    }

    // The address goes out normalised; one that is not hex sends nothing.
    void eepromRead()
    {
        Bench b;
        b.sim.setSilent(true);
        b.click(15);
        paste(b.edit("eereadaddr"), "7");
        b.click(15);
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$002000", "$002007"}));
        paste(b.edit("eereadaddr"), "q1");
        ModalAnswer alert("Command1_0");
        b.click(15);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("EEPROM address error"));
        QTest::qWait(50);
        QCOMPARE(b.sim.commands().size(), 2);
        QCOMPARE(b.lines("xcommand").size(), 2);
    }

    // auto1 and auto2: "$0060", an idle tick, "$0061".
    void polling()
    {
        Bench b;
        b.sim.setSilent(true);
        b.check("auto1")->setChecked(true);
        b.check("auto2")->setChecked(true);
        b.timer()->stop(); // the test gives the ticks
        b.w.Timer1_Timer();
        QCOMPARE(b.row("positions"), (QStringList{"---", "---", "---"}));
        b.w.Timer1_Timer();
        QTRY_COMPARE(b.sim.commands(), QStringList{"$0060"});
        b.w.Timer1_Timer();
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$0060", "$0061"}));
        QCOMPARE(b.w.phase, 0);
        // The timer itself, ticks landing in each other's pacing waits: the
        // rotation holds.
        b.sim.clearRecord();
        b.sim.setSilent(false);
        b.timer()->start();
        QTRY_VERIFY_WITH_TIMEOUT(b.sim.commands().size() >= 6, 10000);
        b.timer()->stop();
        const QStringList got = b.sim.commands().mid(0, 6);
        QCOMPARE(got, (QStringList{"$0060", "$0061", "$0060", "$0061", "$0060", "$0061"}));
        QTRY_COMPARE(b.row("offsets"), (QStringList{"1", "32767", "65535"}));
        // No port: the timer sends nothing and says nothing.
        b.w.form()->findChild<QComboBox*>("portselect")->setCurrentIndex(0);
        b.sim.clearRecord();
        for (int k = 0; k < 3; ++k)
            b.w.Timer1_Timer();
        QTest::qWait(50);
        QVERIFY(b.sim.commands().isEmpty());
    }

    // The poll timer ticks only while a port is open and an "Auto" box is
    // checked, then every 100 ms.
    void pollTimerIdles()
    {
        Bench b(false);
        auto* ports = b.w.form()->findChild<QComboBox*>("portselect");
        b.check("auto3")->setChecked(true);
        QVERIFY(!b.timer()->isActive());
        ports->setCurrentIndex(ports->findText(b.pty.path()));
        QVERIFY(b.timer()->isActive());
        QCOMPARE(b.timer()->interval(), 100);
        b.check("auto3")->setChecked(false);
        QVERIFY(!b.timer()->isActive());
        b.check("auto2")->setChecked(true);
        QVERIFY(b.timer()->isActive());
        ports->setCurrentIndex(0);
        QVERIFY(!b.timer()->isActive());
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(6);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QCOMPARE(b.text("comtest"), QStringLiteral("---"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
        QVERIFY(b.lines("xcommand").isEmpty());
    }

    // The board vanishes while polling: one alert, the no-port state, and a
    // window that works on another port.
    void vanishWhilePolling()
    {
        Bench b;
        b.check("auto1")->setChecked(true);
        b.timer()->start();
        QTRY_VERIFY(b.sim.commands().size() >= 2);
        ModalAnswer alert("Command1_0");
        b.sim.vanish();
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Com port error"));
        QVERIFY(!b.timer()->isActive());
        ModalAnswer second("Command1_0", 400);
        QTest::qWait(400);
        QVERIFY(!second.answered());
        QCOMPARE(b.w.serial.portopen, 0);
        auto* ports = b.w.form()->findChild<QComboBox*>("portselect");
        QCOMPARE(ports->currentIndex(), 0);
        PtyPair pty2;
        Lis33Board sim2(pty2);
        b.w.unload();
        b.w.show();
        b.timer()->stop();
        ports = b.w.form()->findChild<QComboBox*>("portselect");
        ports->setCurrentIndex(ports->findText(pty2.path()));
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(0);
        QTRY_COMPARE(b.text("pingresult"), QStringLiteral("32"));
    }

    void closeWhilePolling_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void closeWhilePolling()
    {
        QFETCH(bool, quit);
        Bench b;
        b.check("auto1")->setChecked(true);
        b.check("auto2")->setChecked(true);
        b.check("auto3")->setChecked(true);
        b.timer()->start();
        QTRY_VERIFY(b.sim.commands().size() >= 2);
        QTimer::singleShot(30, [&] { closeOrQuit(b.w, quit); });
        QVERIFY(closedAndRecovered(b.w, quit));
        QTest::qWait(300);
        const int sent = b.sim.commands().size();
        QTest::qWait(300);
        QCOMPARE(b.sim.commands().size(), sent);
    }

    // A board that floods replies between garbage while polling: every
    // reply is logged; closing the window, or quitting, in the middle of a
    // longer flood ends cleanly and the polls stop.
    void floodWhilePolling_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void floodWhilePolling()
    {
        QFETCH(bool, quit);
        Bench b;
        b.sim.setSilent(true);
        b.check("auto1")->setChecked(true);
        QVERIFY(b.timer()->isActive());
        b.sim.sendRaw(BoardSimulator::replyFlood("0031", 0, 3000));
        QTRY_COMPARE_WITH_TIMEOUT(b.log("xresponse")->count(), 3000, 30000);
        QCOMPARE(b.lines("xresponse").first(), QStringLiteral("!0031002999[cr]"));
        QCOMPARE(b.lines("xresponse").last(), QStringLiteral("!0031000000[cr]"));
        QTRY_VERIFY(b.sim.commands().contains(QStringLiteral("$0060")));

        b.sim.sendRaw(BoardSimulator::replyFlood("0031", 3000, 100000));
        QTRY_VERIFY_WITH_TIMEOUT(b.log("xresponse")->count() > 5000, 30000);
        closeOrQuit(b.w, quit);
        QVERIFY(closedAndRecovered(b.w, quit));
        QVERIFY(!b.w.serial.rs232.isOpen());
        const int sent = b.sim.commands().size();
        QTest::qWait(300);
        QCOMPARE(b.sim.commands().size(), sent);
    }

    // Hours of polling, with the event loop served after every line as it
    // is between ticks: the last thousand lines of 72,000 cost no more CPU
    // time than the first thousand, and every line is kept. A gauge beside
    // the window's log takes the machine's pace at either time, so a
    // machine that slows down in between does not pass for a log that does.
    void longLog()
    {
        mainWindow().show(); // the logs are painted, as on screen
        Bench b;
        b.sim.setSilent(true);
        NewestFirstLog* log = b.log("xcommand");
        QVERIFY(QTest::qWaitForWindowExposed(log));
        PaceGauge gauge(b.w.form(), log->font());
        const int lines = 72000, span = 1000;
        int sent = 0;
        auto logLines = [&](int n) {
            for (int k = 0; k < n; ++k, ++sent) {
                b.w.comwrite(pollCommand(sent % 3), 0);
                QCoreApplication::processEvents();
            }
        };
        const double first = gauge.ratio(logLines, span);
        const double firstMs = gauge.workMs(), firstPace = gauge.gaugeMs();
        logLines(lines - 2 * span);
        const double last = gauge.ratio(logLines, span);
        const double growth = last / first;
        qInfo("command log: first %d lines %.1f ms, last %d of %d lines %.1f ms of CPU; gauge %.1f and %.1f ms; "
              "growth %.2f",
              span, firstMs, span, lines, gauge.workMs(), firstPace, gauge.gaugeMs(), growth);
        QCOMPARE(log->count(), lines);
        QCOMPARE(b.lines("xcommand").first(), QStringLiteral("$0061[cr]"));
        QCOMPARE(b.lines("xcommand").last(), QStringLiteral("$0060[cr]"));
        QVERIFY2(growth < 1.5, qPrintable(QStringLiteral("the last lines cost %1 times the first").arg(growth)));
    }
};

VOLTARIS_TEST(Lis33AccelTest);
#include "test_lis33accel.moc"
