// The BC06 latch-up tester against a simulated 9212 board through a
// pseudo-terminal.

#include "latchupboard.h"

#include "support/controllerbench.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/numtext.h"
#include "common/rs232_comportscanner.h"
#include "sensors/ctrl_9212_bc06tester.h"
#include "sensors/latchup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct Bench : ControllerBench<Ctrl_9212_bc06tester, LatchupBoard> {
    using ControllerBench::ControllerBench;
    QCheckBox* check(const QString& name) const { return w.form()->findChild<QCheckBox*>(name); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    QColor background() const { return edit("padvolts")->palette().color(QPalette::Base); }
    QStringList counts() const { return {text("passcounts"), text("failcounts"), text("passpercents")}; }
};

} // namespace

class Bc06TesterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replyParsing_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("mv"); // -1: no result
        QTest::newRow("result") << "00101500" << 1500;
        QTest::newRow("upper-case code, extra text") << "00100042xyz" << 42;
        QTest::newRow("three digits") << "0010150" << -1;
        QTest::newRow("hex digit") << "00101A00" << -1;
        QTest::newRow("sign") << "0010-100" << -1;
        QTest::newRow("blank") << "0010 100" << -1;
        QTest::newRow("other code") << "00111500" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void replyParsing()
    {
        QFETCH(QString, frame);
        QFETCH(int, mv);
        const auto r = latchup::resultMillivolts(frame);
        QCOMPARE(r.value_or(-1), mv);
    }

    void opensFromItsMenuName()
    {
        TempFolders tf;
        popup("Ctrl_9212_bc06tester");
        auto& w = FormSlots::get<Ctrl_9212_bc06tester>();
        QVERIFY(w.visible());
        QCOMPARE(w.caption(), QStringLiteral("BC06 latchup test"));
        QWidget* f = w.form();
        QCOMPARE(f->findChild<QLineEdit*>("Text1")->text(), QStringLiteral("1.500"));
        QVERIFY(f->findChild<QLineEdit*>("padvolts")->isReadOnly());
        QCOMPARE(f->findChild<QLineEdit*>("passcounts")->palette().color(QPalette::Base), colors::green);
        QCOMPARE(f->findChild<QLineEdit*>("failcounts")->palette().color(QPalette::Base), colors::red);
        QCOMPARE(f->findChild<QCheckBox*>("clamp_2")->text(), QStringLiteral("7"));
        QCOMPARE(f->findChild<QPushButton*>("Command1_3")->text(), QStringLiteral("Clear Counts"));
        QCOMPARE(f->findChild<QComboBox*>("portselect")->currentText(), QStringLiteral("Select"));
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }

    void commandBytes_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("single, none ticked") << QList<int>{} << 0 << QByteArray("$001007\r\n");
        QTest::newRow("single, 5 and 7") << QList<int>{0, 2} << 0 << QByteArray("$001002\r\n");
        QTest::newRow("single, all") << QList<int>{0, 1, 2} << 0 << QByteArray("$001000\r\n");
        QTest::newRow("continuous, 6") << QList<int>{1} << 1 << QByteArray("$001105\r\n");
        QTest::newRow("stop") << QList<int>{0} << 2 << QByteArray("$0012\r\n");
        QTest::newRow("clear counts") << QList<int>{} << 3 << QByteArray();
    }
    void commandBytes()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(int, button);
        QFETCH(QByteArray, sent);
        Bench b;
        b.sim.setSilent(true);
        for (int i : ticked)
            b.check(arrayName("clamp", i))->setChecked(true);
        b.click(button); // returns after the pacing wait
        QTRY_COMPARE(b.sim.received(), sent);
    }

    // The cycle is judged on the voltage as shown; the colour is set whether
    // or not counting is on, and malformed results change nothing.
    void judgement_data()
    {
        QTest::addColumn<QString>("threshold");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("at the threshold") << "1.500" << QByteArray("!00101500\r") << "1.500" << colors::green;
        QTest::newRow("a millivolt below") << "1.500" << QByteArray("!00101499\r") << "1.499" << colors::red;
        QTest::newRow("threshold 0 passes") << "0" << QByteArray("!00100000\r") << "0.000" << colors::green;
        QTest::newRow("no number: threshold 0") << "" << QByteArray("!00100001\r") << "0.001" << colors::green;
        QTest::newRow("short result dropped") << "1.500" << QByteArray("!0010150\r") << "0.000" << colors::white;
        QTest::newRow("letters dropped") << "1.500" << QByteArray("!00101x00\r") << "0.000" << colors::white;
        QTest::newRow("other codes ignored") << "1.500" << QByteArray("!00111500\r!0012\r!ZZ\r") << "0.000"
                                             << colors::white;
    }
    void judgement()
    {
        QFETCH(QString, threshold);
        QFETCH(QByteArray, reply);
        QFETCH(QString, shown);
        QFETCH(QColor, colour);
        Bench b;
        b.edit("Text1")->setText(threshold);
        b.sim.send(reply);
        b.sim.send("!0011\r"); // a reply that changes nothing marks the end
        QTRY_VERIFY(b.w.serial.ReceiveBuffer.isEmpty() && b.sim.pending() == 0);
        QTest::qWait(30);
        QCOMPARE(b.text("padvolts"), shown);
        QCOMPARE(b.background(), colour);
        QCOMPARE(b.counts(), (QStringList{"0", "0", "0"}));
    }

    void countsPassesAndFails()
    {
        Bench b;
        b.check("countenable")->setChecked(true);
        b.sim.queue = {1600, 1500, 2000, 1400};
        for (int i = 0; i < 4; ++i)
            b.click(0);
        QTRY_COMPARE(b.counts(), (QStringList{"3", "1", "75.000"}));
        QCOMPARE(b.background(), colors::red);

        // Counting off: only the colour follows the results.
        b.check("countenable")->setChecked(false);
        b.sim.queue = {1700};
        b.click(0);
        QTRY_COMPARE(b.background(), colors::green);
        QCOMPARE(b.text("padvolts"), QStringLiteral("1.700"));
        QCOMPARE(b.counts(), (QStringList{"3", "1", "75.000"}));

        // Clearing sends nothing.
        b.sim.clearRecord();
        b.click(3);
        QCOMPARE(b.counts(), (QStringList{"0", "0", "0"}));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
    }

    // Split, merged and garbled replies: every whole result counts once.
    void brokenUpReplies()
    {
        Bench b;
        b.check("countenable")->setChecked(true);
        b.sim.setSplit(3);
        b.sim.setGarbage("\x01\xff junk\r");
        b.sim.queue = {1200, 1800};
        b.click(0);
        b.click(0);
        QTRY_COMPARE(b.counts(), (QStringList{"1", "1", "50.000"}));
        b.sim.setSplit(0);
        b.sim.setGarbage({});
        b.sim.send(LatchupBoard::resultReply(1600) + "!0010" + LatchupBoard::resultReply(1100) + "noise!00102000\r");
        QTRY_COMPARE(b.counts(), (QStringList{"3", "2", "60.000"}));
    }

    void continuousUntilStop()
    {
        Bench b;
        b.check("countenable")->setChecked(true);
        b.sim.queue = {1000};
        b.click(1);
        QTRY_VERIFY(b.sim.results >= 20);
        b.click(2);
        QVERIFY(!b.sim.streaming());
        const int sent = b.sim.results;
        QTRY_COMPARE(numval(b.text("passcounts")) + numval(b.text("failcounts")), double(sent));
        QCOMPARE(b.text("failcounts"), QStringLiteral("1"));
        QCOMPARE(b.sim.commands(), (QStringList{"$001107", "$0012"}));
    }

    void thresholdBox_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<bool>("enter"); // else the box is left
        QTest::addColumn<QString>("result");
        QTest::newRow("typed, Enter") << "2.25" << false << true << "2.250";
        QTest::newRow("typed, leave") << "1" << false << false << "1.000";
        QTest::newRow("refused keys") << "-1,2a5" << false << true << "125.000";
        QTest::newRow("pasted leading number") << "3.14159xyz" << true << false << "3.142";
        QTest::newRow("pasted no number") << "abc" << true << false << "0.000";
        QTest::newRow("pasted empty") << "" << true << false << "0.000";
    }
    void thresholdBox()
    {
        QFETCH(QString, keys);
        QFETCH(bool, paste);
        QFETCH(bool, enter);
        QFETCH(QString, result);
        Bench b(false);
        QLineEdit* t = b.edit("Text1");
        if (paste) {
            giveFocus(t);
            ::paste(t, keys);
        } else {
            retype(t, keys);
        }
        if (enter)
            pressEnter(t);
        else
            leaveBox(t);
        QCOMPARE(t->text(), result);
    }

    void noPortAlerts()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(0);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QVERIFY(alert.text().contains("Please select an active serial port"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
    }

    void boardVanishesDuringContinuous()
    {
        Bench b;
        b.check("countenable")->setChecked(true);
        b.click(1);
        QTRY_VERIFY(b.sim.results >= 5);
        ModalAnswer alert("Command1_0");
        b.sim.vanish();
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Com port error"));
        ModalAnswer second("Command1_0", 200);
        QTest::qWait(200);
        QVERIFY(!second.answered());
        QCOMPARE(b.w.serial.portopen, 0);
        auto* ports = b.w.form()->findChild<QComboBox*>("portselect");
        QCOMPARE(ports->currentIndex(), 0);

        // The window reopens a port and goes on.
        PtyPair pty2;
        LatchupBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        ports = b.w.form()->findChild<QComboBox*>("portselect");
        ports->setCurrentIndex(ports->findText(pty2.path()));
        QCOMPARE(b.w.serial.portopen, -1);
        b.check("countenable")->setChecked(true);
        b.click(0);
        QTRY_COMPARE(b.text("passcounts"), QStringLiteral("1"));
    }

    // A stream of bytes without a reply end never grows the buffer past its
    // bound, and the result after it still counts.
    void garbageFlood()
    {
        Bench b;
        b.check("countenable")->setChecked(true);
        b.sim.sendRaw(QByteArray(1 << 20, 'Z'));
        QTRY_VERIFY_WITH_TIMEOUT(b.sim.pending() == 0, 20000);
        QTest::qWait(50);
        QVERIFY(b.w.serial.ReceiveBuffer.size() <= receiveBufferLimit);
        b.sim.send(LatchupBoard::resultReply(1600));
        QTRY_COMPARE(b.counts(), (QStringList{"1", "0", "100.000"}));
    }

    // Closing the window, or quitting the program, during the pacing wait of
    // a command.
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
        b.click(0);
        // Gone by the time the handler returned, not some time later.
        const bool closedAtOnce = !b.w.isLoaded();
        QVERIFY(closedAndRecovered(b.w, quit));
        QVERIFY(closedAtOnce);
        QTRY_COMPARE(b.sim.commands(), QStringList{"$001007"});
        QTest::qWait(30);
        b.w.show();
        QCOMPARE(b.text("padvolts"), QStringLiteral("0.000"));
    }
};

VOLTARIS_TEST(Bc06TesterTest);
#include "test_bc06tester.moc"
