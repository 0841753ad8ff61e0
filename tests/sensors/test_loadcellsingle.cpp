// The single load-cell controller: its codec, and the window against a
// simulated 9175 board through a pseudo-terminal.

#include "loadcellboard.h"

#include "support/controllerbench.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "sensors/ctrl_9175_loadcellsingle.h"
#include "sensors/loadcellsingle.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace loadcellsingle;

namespace {

struct Bench : ControllerBench<Ctrl_9175_loadcellsingle, LoadCellBoard> {
    using ControllerBench::ControllerBench;
    QColor color(const QString& name) const { return edit(name)->palette().color(QPalette::Base); }
    void set(const QString& name, const QString& value) const { edit(name)->setText(value); }
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
};

const QColor blue(0, 0, 255);

} // namespace

class LoadCellSingleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parameters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reformatted");
        QTest::addColumn<QString>("sent"); // by a click on the text as it stands
        QTest::newRow("threshold default") << "3.0" << "3.0" << "1E";
        QTest::newRow("trip delay default") << "3.5" << "3.5" << "23";
        QTest::newRow("flash delay default") << "2.0" << "2.0" << "14";
        QTest::newRow("above the byte") << "30" << "25.5" << "FF";
        QTest::newRow("the byte's top") << "25.5" << "25.5" << "FF";
        QTest::newRow("half to even, down") << "2.05" << "2.1" << "14";
        QTest::newRow("half to even, up") << "2.15" << "2.2" << "16";
        QTest::newRow("negative") << "-0.5" << "0.0" << "00";
        QTest::newRow("leading number") << "1.5 lbs" << "1.5" << "0F";
        QTest::newRow("no number") << "heavy" << "0.0" << "00";
        QTest::newRow("empty") << "" << "0.0" << "00";
    }
    void parameters()
    {
        QFETCH(QString, text);
        QFETCH(QString, reformatted);
        QFETCH(QString, sent);
        QCOMPARE(reformatParameter(text), reformatted);
        QCOMPARE(parameterCommand("0030", text), "$0030" + sent + "\r\n");
    }

    void replies_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("colorBox");
        QTest::addColumn<QColor>("color");
        const QColor none;
        QTest::newRow("raw") << "001000000ABC" << "rawadc" << "00000ABC" << "" << none;
        QTest::newRow("diff, short") << "00120AB" << "diffadc" << "0AB" << "" << none;
        QTest::newRow("zero ok") << "002001000001A4" << "zeroval" << "000001A4" << "zeroval" << colors::green;
        QTest::newRow("zero failed") << "002000000001A4" << "zeroval" << "000001A4" << "zeroval" << colors::red;
        QTest::newRow("zero read") << "002002000001A4" << "zeroval" << "000001A4" << "zeroval" << blue;
        QTest::newRow("zero data error") << "002003000001A4" << "zeroval" << "000001A4" << "zeroval" << colors::grey;
        QTest::newRow("zero bare") << "0020" << "zeroval" << "" << "zeroval" << colors::grey;
        QTest::newRow("threshold") << "00310F" << "threshold" << "1.5" << "" << none;
        QTest::newRow("trip delay") << "0033000000FF" << "tdelay" << "25.5" << "" << none;
        QTest::newRow("flash delay, garbled") << "0035xyz" << "fdelay" << "0.0" << "" << none;
        QTest::newRow("trip") << "004003" << "tripped" << "3" << "" << none;
        QTest::newRow("trip upper case hex") << "0040fF" << "tripped" << "255" << "" << none;
        QTest::newRow("tripped") << "0050" << "" << "" << "tripped" << colors::red;
        QTest::newRow("released") << "0051" << "" << "" << "tripped" << colors::green;
        QTest::newRow("unknown") << "0099123456" << "" << "" << "" << none;
        QTest::newRow("empty") << "" << "" << "" << "" << none;
        QTest::newRow("binary") << QString::fromLatin1("\x01\xff\x7f") << "" << "" << "" << none;
    }
    void replies()
    {
        QFETCH(QString, frame);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, colorBox);
        QFETCH(QColor, color);
        const Reply r = decodeReply(frame);
        QCOMPARE(r.box, box);
        QCOMPARE(r.text, text);
        QCOMPARE(r.colorBox, colorBox);
        if (!colorBox.isEmpty())
            QCOMPARE(r.color, color);
    }

    // Every button's bytes, the parameters as the boxes hold them.
    void commandBytes()
    {
        Bench b;
        b.sim.setSilent(true);
        for (int i = 0; i < 12; ++i)
            b.click(i);
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$0010", "$0011", "$0012", "$0013", "$0020", "$0021",
                                                    "$00301E", "$0031", "$003223", "$0033", "$003414", "$0035"}));
        QVERIFY(b.sim.received().startsWith("$0010\r\n$0011\r\n"));
        QCOMPARE(b.sim.received().count("\r\n"), 12);
        QCOMPARE(b.sim.received().count('\r'), 12);
    }

    // A value set in the box reaches the click as it stands; one the user
    // leaves is reformatted first.
    void parameterPaths()
    {
        Bench b;
        b.sim.setSilent(true);
        b.set("threshold", "30");
        b.click(6);
        QCOMPARE(b.text("threshold"), QStringLiteral("25.5"));
        b.set("threshold", "2.05");
        b.click(6);
        QCOMPARE(b.text("threshold"), QStringLiteral("2.05"));
        b.set("threshold", "2.15");
        b.click(6);
        retype(b.edit("tdelay"), "2.05");
        leaveBox(b.edit("tdelay"));
        QCOMPARE(b.text("tdelay"), QStringLiteral("2.1"));
        b.click(8);
        paste(b.edit("fdelay"), "-0.5");
        b.click(10);
        QCOMPARE(b.text("fdelay"), QStringLiteral("0.0"));
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$0030FF", "$003014", "$003016", "$003215", "$003400"}));
    }

    void parameterKeys()
    {
        Bench b(false);
        // Enter clamps its own box only.
        retype(b.edit("fdelay"), "40");
        pressEnter(b.edit("fdelay"));
        QCOMPARE(b.text("fdelay"), QStringLiteral("25.5"));
        QCOMPARE(b.text("threshold"), QStringLiteral("3.0"));
        QCOMPARE(b.text("tdelay"), QStringLiteral("3.5"));
        // Only digits and "." pass; Enter is not kept.
        retype(b.edit("threshold"), "1a-,2.5e");
        QCOMPARE(b.text("threshold"), QStringLiteral("12.5"));
        pressEnter(b.edit("threshold"));
        QCOMPARE(b.text("threshold"), QStringLiteral("12.5"));
        paste(b.edit("tdelay"), "");
        giveFocus(b.edit("tdelay"));
        leaveBox(b.edit("tdelay"));
        QCOMPARE(b.text("tdelay"), QStringLiteral("0.0"));
    }

    // The board keeps what is set and reads it back; zero and trip replies
    // colour their boxes.
    void boardReplies()
    {
        Bench b;
        b.set("threshold", "1.5");
        b.click(6);
        b.set("threshold", "9");
        b.click(7);
        QTRY_COMPARE(b.text("threshold"), QStringLiteral("1.5"));
        b.set("tdelay", "12.3");
        b.click(8);
        b.click(9);
        b.click(11);
        QTRY_COMPARE(b.text("fdelay"), QStringLiteral("2.0"));
        QCOMPARE(b.text("tdelay"), QStringLiteral("12.3"));
        QCOMPARE(b.sim.parameters["0032"], 123);

        b.click(4);
        QTRY_COMPARE(b.text("zeroval"), QStringLiteral("000001A4"));
        QCOMPARE(b.color("zeroval"), colors::green);
        b.click(5);
        QTRY_COMPARE(b.color("zeroval"), blue);
        QCOMPARE(b.color("tripped"), colors::green);
        // Merged, split and amid garbage.
        b.feed("\x01\xfe!004003\r!0050\r");
        QCOMPARE(b.text("tripped"), QStringLiteral("3"));
        QCOMPARE(b.color("tripped"), colors::red);
        b.sim.setSplit(3);
        b.sim.setGarbage("zz\r\n");
        b.sim.zero = 0xBEEF;
        b.click(4);
        QTRY_COMPARE(b.text("zeroval"), QStringLiteral("0000BEEF"));
        b.feed("!0051\r!0099FF\r!\r!002003000001A4\r");
        QCOMPARE(b.color("tripped"), colors::green);
        QCOMPARE(b.text("zeroval"), QStringLiteral("000001A4"));
        QCOMPARE(b.color("zeroval"), colors::grey);
    }

    // The raw stream as fast as the line carries it: the last reading shown
    // is the last one sent, so none was lost on the way.
    void streams()
    {
        Bench b;
        b.sim.burst = 64;
        QElapsedTimer t;
        t.start();
        b.click(0);
        QTRY_VERIFY(b.sim.streamed >= 4000);
        b.click(1);
        QTRY_VERIFY(!b.sim.streaming());
        QTRY_VERIFY(b.sim.pending() == 0);
        const double seconds = t.elapsed() / 1000.0;
        QTRY_COMPARE(b.text("rawadc"), QString::number(b.sim.streamed - 1, 16).toUpper().rightJustified(8, u'0'));
        qInfo("raw stream: %ld readings in %.2f s, %.0f/s", b.sim.streamed, seconds, b.sim.streamed / seconds);
        QCOMPARE(b.text("diffadc"), QStringLiteral("---"));

        b.sim.streamed = 0;
        b.sim.burst = 1;
        b.click(2);
        QTRY_VERIFY(b.sim.streamed >= 20);
        b.click(3);
        QTRY_VERIFY(!b.sim.streaming());
        QTRY_VERIFY(b.sim.pending() == 0);
        QTRY_COMPARE(b.text("diffadc"), QString::number(b.sim.streamed - 1, 16).toUpper().rightJustified(8, u'0'));
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(6);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QCOMPARE(alert.text(), QStringLiteral("Please select an active serial port before attepmting to comunicate "
                                              "with your peripheral device!"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
    }

    // The board vanishes mid-stream: one alert, the no-port state, and a
    // window that opens another port and works.
    void vanishMidStream()
    {
        Bench b;
        b.click(0);
        QTRY_VERIFY(b.sim.streamed >= 100);
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

        PtyPair pty2;
        LoadCellBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        ports = b.w.form()->findChild<QComboBox*>("portselect");
        ports->setCurrentIndex(ports->findText(pty2.path()));
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(11);
        QTRY_COMPARE(b.text("fdelay"), QStringLiteral("2.0"));
        QCOMPARE(sim2.commands(), QStringList{"$0035"});
    }

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
        QTRY_COMPARE(b.sim.commands(), QStringList{"$0010"});
        QTest::qWait(30);
        b.w.show();
        QCOMPARE(b.text("rawadc"), QStringLiteral("---"));
    }
};

VOLTARIS_TEST(LoadCellSingleTest);
#include "test_loadcellsingle.moc"
