// The linear stage controller: its codec, and the window against a timed
// stage simulator through a pseudo-terminal.

#include "stageboard.h"

#include "support/alertsink.h"
#include "support/controllerbench.h"
#include "support/modal.h"
#include "support/oddfiles.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/formbuilder.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_9730_linearstage.h"
#include "displays/linearstage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace linearstage;

namespace {

struct Bench : ControllerBench<Ctrl_9730_linearstage, StageBoard> {
    using ControllerBench::ControllerBench;
    using ControllerBench::choose;
    void choose(PtyPair& p) const { choose(p.path()); }
    QStringList boxes() const
    {
        return {text("position_0"), text("position_1"), text("position_2"), text("speed_0"), text("speed_1")};
    }
    QCheckBox* check(const char* name) const { return w.form()->findChild<QCheckBox*>(name); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    QStringList settle(int ms = 60) const
    {
        QTest::qWait(ms);
        return sim.commands();
    }
};

QStringList settingsFile()
{
    return QString::fromLatin1(readFile(Ctrl_9730_linearstage::settingsPath())).split("\r\n");
}

} // namespace

class LinearStageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void speedBytes_data()
    {
        QTest::addColumn<QString>("percent");
        QTest::addColumn<int>("byte");
        QTest::newRow("18") << "18" << 0x3F;
        QTest::newRow("0") << "0" << 0x38;
        QTest::newRow("50") << "50" << 0x4E;
        QTest::newRow("100") << "100" << 0x64;
        QTest::newRow("150") << "150" << 100;
        QTest::newRow("negative") << "-20" << 56;
        QTest::newRow("tiny negative") << "-0.5" << 56;
        QTest::newRow("empty") << "" << 56;
        QTest::newRow("letters") << "abc" << 56;
        QTest::newRow("huge") << "1E999" << 100;
        QTest::newRow("huge negative") << "-1E999" << 56;
    }
    void speedBytes()
    {
        QFETCH(QString, percent);
        QFETCH(int, byte);
        QCOMPARE(speedByte(percent), byte);
    }

    void boxesAndReplies()
    {
        const QList<std::tuple<QString, QString, QString>> texts{
            {"12.50", "12.5", "12.5"}, {"", "0", "0"},       {".5", "0.5", "0.5"},   {"150", "150", "100"},
            {"100", "100", "100"},     {"7x", "7", "7"},     {"-3", "-3", "-3"},     {"1E999", "0", "0"}};
        for (const auto& [in, norm, limited] : texts) {
            QCOMPARE(normalised(in), norm);
            QCOMPARE(limitedSpeed(in), limited);
        }
        QCOMPARE(setPoint("4660"), std::optional<int>(4660));
        QCOMPARE(setPoint("65535.4"), std::optional<int>(65535));
        QCOMPARE(setPoint("2.5"), std::optional<int>(2));
        QCOMPARE(setPoint("-0.4"), std::optional<int>(0));
        QVERIFY(!setPoint("65535.6"));
        QVERIFY(!setPoint("-1"));
        QVERIFY(!setPoint("1E999"));
        QCOMPARE(goTo(4660, "50"), QStringLiteral("$003012344E\r"));

        const QList<std::tuple<QString, Reply::Kind, int>> replies{
            {"002001F4", Reply::Position, 500},  {"0020ffff", Reply::Position, 65535},
            {"002001F4xx", Reply::Position, 500}, {"00301234", Reply::Arrival, 0x1234},
            {"00301234x", Reply::None, 0},        {"0030123", Reply::None, 0},
            {"0020zzzz", Reply::None, 0},         {"0040ABCD", Reply::None, 0},
            {QString::fromLatin1("\xff\x01"), Reply::None, 0}};
        for (const auto& [frame, kind, position] : replies) {
            const Reply r = decodeReply(frame);
            QCOMPARE(r.kind, kind);
            QCOMPARE(r.position, position);
        }
        QCOMPARE(settingLine("12.5"), QStringLiteral(" 12.5"));
        QCOMPARE(settingLine("-4"), QStringLiteral("-4"));
        QCOMPARE(setPointFromLine(" 300"), std::optional<QString>("300"));
        QCOMPARE(setPointFromLine(""), std::optional<QString>("0"));
        QVERIFY(!setPointFromLine("70000"));
        QCOMPARE(speedFromLine(" 250"), std::optional<QString>("100"));
        QVERIFY(!speedFromLine("1E999"));
    }

    void jogAndGoCommands()
    {
        Bench b;
        paste(b.edit("speed_0"), "18");
        b.click(4);
        paste(b.edit("speed_0"), "100");
        b.click(5);
        paste(b.edit("speed_0"), "0");
        b.click(4);
        paste(b.edit("speed_0"), "-25");
        b.click(4);
        b.click(3);
        QTRY_COMPARE(b.sim.commands(),
                     (QStringList{"$00103F00", "$00100064", "$00103800", "$00103800", "$0011", "$0020"}));
        QVERIFY(b.sim.received().endsWith("$0011\r$0020\r"));
        QTRY_COMPARE(b.text("position_0"), QString::number(b.sim.position));
        QVERIFY(b.sim.position > 0);

        b.sim.clearRecord();
        paste(b.edit("position_2"), "4660");
        paste(b.edit("speed_1"), "50");
        b.click(7);
        QCOMPARE(b.w.movemode, 7);
        QTRY_COMPARE(b.text("position_0"), QStringLiteral("4660"));
        QCOMPARE(b.sim.commands(), QStringList{"$003012344E"});
    }

    void typedBoxes()
    {
        Bench b(false);
        QLineEdit* s = b.edit("speed_0");
        retype(s, "150");
        pressEnter(s);
        QCOMPARE(s->text(), QStringLiteral("100"));
        retype(s, "1x2.50");
        pressEnter(s);
        QCOMPARE(s->text(), QStringLiteral("12.5"));
        QLineEdit* p = b.edit("position_1");
        retype(p, ".5");
        leaveBox(p);
        QCOMPARE(p->text(), QStringLiteral("0.5"));
        giveFocus(p);
        p->clear();
        leaveBox(p);
        QCOMPARE(p->text(), QStringLiteral("0"));
        retype(p, "150");
        pressEnter(p);
        QCOMPARE(p->text(), QStringLiteral("150"));
    }

    // Set points are taught only with "Enable Set"; a position reply goes
    // where the last command points, the current box while a move runs.
    void setPoints()
    {
        Bench b;
        b.sim.position = 500;
        b.click(1);
        QCOMPARE(b.settle(), QStringList());
        b.check("enableset")->setChecked(true);
        b.click(1);
        QTRY_COMPARE(b.text("position_1"), QStringLiteral("500"));
        b.sim.position = 0x1234;
        b.click(2);
        QTRY_COMPARE(b.text("position_2"), QStringLiteral("4660"));
        QCOMPARE(b.text("position_0"), QStringLiteral("0"));

        b.sim.setSilent(true);
        paste(b.edit("position_1"), "20");
        b.click(6);
        QCOMPARE(b.w.movemode, 6);
        b.sim.send("!002003E8\r");
        QTRY_COMPARE(b.text("position_0"), QStringLiteral("1000"));
        QCOMPARE(b.text("position_1"), QStringLiteral("20"));
        // Two replies in one read, both handled; junk between is skipped.
        b.w.movemode = 1;
        b.sim.send("!002001F4\r\x01zz\r!00300064\r!0030006499\r");
        QTRY_COMPARE(b.text("position_0"), QStringLiteral("100"));
        QCOMPARE(b.text("position_1"), QStringLiteral("500"));
    }

    // A set point the command cannot carry is refused by name; nothing is
    // sent.
    void refusedSetPoint()
    {
        Bench b;
        for (const QString bad : {"65536", "-1", "1E999"}) {
            paste(b.edit("position_2"), bad);
            ModalAnswer alert("Command1_0");
            b.click(7);
            QVERIFY(alert.answered());
            QCOMPARE(alert.title(), QStringLiteral("Set point error"));
            QVERIFY(alert.text().contains("right set point"));
        }
        QCOMPARE(b.settle(), QStringList());
    }

    // Bounce reverses at each arrival, reads the boxes at each reversal,
    // and ends when cleared (after the move under way).
    void bounce()
    {
        Bench b;
        // Each move takes longer than the pause after a command, as on the
        // real stage.
        b.sim.countsPerByte = 0.05;
        b.sim.position = 200;
        paste(b.edit("position_1"), "100");
        paste(b.edit("position_2"), "300");
        paste(b.edit("speed_1"), "100");
        b.check("bounce")->setChecked(true);
        b.click(6);
        QTRY_VERIFY2_WITH_TIMEOUT(b.sim.arrivals >= 4, qPrintable(b.sim.commands().join(' ')), 10000);
        const QStringList got = b.sim.commands().mid(0, 4);
        QCOMPARE(got, (QStringList{"$0030006464", "$0030012C64", "$0030006464", "$0030012C64"}));
        paste(b.edit("position_2"), "250");
        QTRY_VERIFY(b.sim.commands().contains("$003000FA64"));
        b.check("bounce")->setChecked(false);
        // A reversal may be on its way; after it, nothing more. The move
        // takes 30 of the board's 5 ms ticks, more on a busy machine.
        QTRY_VERIFY_WITH_TIMEOUT(!b.sim.moving(), 5000);
        const int sent = b.settle(100).size();
        QVERIFY(!b.sim.moving());
        QCOMPARE(b.settle(200).size(), sent);
        QCOMPARE(b.text("position_0"), QString::number(b.sim.position));

        // A refused set point during a bounce stops it.
        b.check("bounce")->setChecked(true);
        paste(b.edit("position_1"), "99999");
        AlertSink alerts;
        b.click(7);
        QTRY_COMPARE(alerts.titles.size(), 1);
        QCOMPARE(alerts.titles.first(), QStringLiteral("Set point error"));
        QVERIFY(!b.check("bounce")->isChecked());
        QCOMPARE(b.w.movemode, 0);
        QCOMPARE(b.settle(200).size(), sent + 1);
    }

    void vanishMidBounce()
    {
        Bench b;
        paste(b.edit("position_1"), "0");
        paste(b.edit("position_2"), "400");
        paste(b.edit("speed_1"), "100");
        b.sim.countsPerByte = 0.05;
        b.check("bounce")->setChecked(true);
        b.click(7);
        QTRY_VERIFY(b.sim.arrivals >= 2);
        AlertSink alerts;
        b.sim.vanish();
        QTRY_COMPARE(alerts.titles.size(), 1);
        QCOMPARE(alerts.titles.first(), QStringLiteral("Com port error"));
        QTest::qWait(300);
        QCOMPARE(alerts.titles.size(), 1);
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.w.form()->findChild<QComboBox*>("portselect")->currentIndex(), 0);
        PtyPair pty2;
        StageBoard sim2(pty2);
        sim2.position = 77;
        b.w.unload();
        b.w.show();
        b.choose(pty2);
        b.click(0);
        QTRY_COMPARE(b.text("position_0"), QStringLiteral("77"));
    }

    // Closed during Stop's pause: the position is never asked for and
    // nothing is said.
    void closeDuringStop()
    {
        Bench b;
        AlertSink alerts;
        QTimer::singleShot(50, [&] { closeOrQuit(b.w, false); });
        b.click(3);
        QTRY_VERIFY(!b.w.isLoaded());
        QCOMPARE(b.settle(300), QStringList{"$0011"});
        QVERIFY(alerts.titles.isEmpty());
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(4);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
    }

    // First run: all four boxes "0"; the boxes come back on reopening,
    // saved with the leading blank, and lines 5 to 100 are kept.
    void settingsFileRoundTrip()
    {
        Bench b(false);
        QCOMPARE(b.boxes(), (QStringList{"0", "0", "0", "0", "0"}));
        paste(b.edit("position_1"), "120");
        paste(b.edit("position_2"), "4660.0");
        paste(b.edit("speed_0"), "33.5");
        paste(b.edit("speed_1"), "-2");
        b.w.unload();
        QCOMPARE(settingsFile().mid(0, 5), (QStringList{" 120", " 4660", " 33.5", "-2", ""}));
        QCOMPARE(settingsFile().size(), 101);
        QStringList lines = settingsFile();
        lines[4] = "line five";
        lines[99] = "line hundred";
        writeFile(Ctrl_9730_linearstage::settingsPath(), lines.join("\r\n").toLatin1());
        b.w.show();
        QCOMPARE(b.boxes(), (QStringList{"0", "120", "4660", "33.5", "-2"}));
        b.w.unload();
        lines = settingsFile();
        QCOMPARE(lines[4], QStringLiteral("line five"));
        QCOMPARE(lines[99], QStringLiteral("line hundred"));
    }

    void oddSettingsFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown"); // position_1, position_2, speed_0, speed_1
        QTest::newRow("empty") << QByteArray() << QStringList{"0", "0", "0", "0"};
        QTest::newRow("short") << QByteArray(" 7\r\n") << QStringList{"7", "0", "0", "0"};
        QTest::newRow("binary") << QByteArray("\x00\xff\r\n\x80\r\n\x01", 8) << QStringList{"0", "0", "0", "0"};
        QTest::newRow("out of range") << QByteArray("70000\n-5\n250\n1E999\n")
                                      << QStringList{"0", "0", "100", "18"};
        QTest::newRow("huge") << QByteArray("5\n6\n7\n8\n") + QByteArray(20 << 20, 'x')
                              << QStringList{"5", "6", "7", "8"};
    }
    void oddSettingsFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        Bench b(false);
        b.w.unload();
        writeFile(Ctrl_9730_linearstage::settingsPath(), bytes);
        b.w.show();
        QVERIFY(b.w.isLoaded());
        QCOMPARE(b.boxes().mid(1), shown);
    }

    void oddSettingsPath_data() { addOddFileRows(); }
    void oddSettingsPath()
    {
        QFETCH(OddFile, odd);
        Bench b(false);
        b.w.unload();
        QFile::remove(Ctrl_9730_linearstage::settingsPath());
        makeOddFile(Ctrl_9730_linearstage::settingsPath(), odd);
        AlertSink alerts;
        b.w.show();
        QVERIFY(b.w.isLoaded());
        QCOMPARE(b.boxes(), (QStringList{"0", "0", "0", "0", "0"}));
        b.w.unload();
        QTRY_COMPARE(alerts.titles.size(), 1);
        QVERIFY(isOddFile(Ctrl_9730_linearstage::settingsPath(), odd));
    }
};

VOLTARIS_TEST(LinearStageTest);
#include "test_linearstage.moc"
