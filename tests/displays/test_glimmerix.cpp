// The Glimmerix board window: its codec (result lines, dump lines, serial
// numbers, the block and the record line), and the window against a
// simulated board through a pseudo-terminal.

#include "glimmerixboard.h"

#include "support/alertsink.h"
#include "support/controllerbench.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/clock.h"
#include "common/formbuilder.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_8620_glimmerix.h"
#include "displays/glimmerix.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using namespace glimmerix;

namespace {

char shadeCode(const QString& text, Shade s)
{
    if (text.isEmpty())
        return '_';
    if (text == QLatin1String(" "))
        return '.';
    return s == Shade::Green ? 'G' : s == Shade::Red ? 'R' : '?';
}

// The 34 boxes as one line: "." a blank box, "G"/"R" a green or red mark.
QString gridCode(const TestGrid& g)
{
    QString out;
    for (const Cell& c : g.xtest)
        out += QLatin1Char(shadeCode(c.text, c.shade));
    return out;
}
// A reading as "text:shade".
QString readingCode(const Cell& c)
{
    return c.text + u':' + QLatin1Char(c.shade == Shade::Green ? 'G' : c.shade == Shade::Red ? 'R' : 'W');
}
// A grid line with the given boxes marked.
QString marked(std::initializer_list<std::pair<int, char>> marks)
{
    QString s(34, u'.');
    for (auto [box, code] : marks)
        s[box] = QLatin1Char(code);
    return s;
}

Shade shadeOf(QWidget* w)
{
    const QColor c = w->palette().color(QPalette::Base);
    return c == colors::green ? Shade::Green : c == colors::red ? Shade::Red : Shade::White;
}

const QString block7 = QStringLiteral("2008/01/01 00000007");

// The bench clock stands at the design's date before the window loads.
struct BenchClock {
    ManualClock clock{QDateTime(QDate(2008, 1, 1), QTime(9, 30))};
    ClockOverride clockInForce{clock};
};

struct Bench : BenchClock, ControllerBench<Ctrl_8620_glimmerix, GlimmerixBoard> {
    using ControllerBench::ControllerBench;
    QString reading(int i) const
    {
        QLineEdit* b = edit(arrayName("mdata", i));
        return readingCode(Cell{b->text(), shadeOf(b)});
    }
    QString grid() const
    {
        QString out;
        for (int i = 0; i < 34; ++i) {
            QLineEdit* b = edit(arrayName("xtest", i));
            out += QLatin1Char(shadeCode(b->text(), shadeOf(b)));
        }
        return out;
    }
    QString eeread() const { return w.form()->findChild<QPlainTextEdit*>("eeread")->toPlainText(); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    void setSerial(const QString& s) const { edit("serialnumber")->setText(s); }
    QByteArray record() const { return readFile(Ctrl_8620_glimmerix::recordPath()); }
    // Runs a write and waits for the board's answer and the dump after it.
    void confirmedWrite(int button)
    {
        const int before = sim.commands().size();
        click(button);
        QTRY_COMPARE(sim.commands().size(), before + 2);
        QTRY_VERIFY(text("rvmblock").size() >= 19);
    }

};

} // namespace

class GlimmerixTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Result lines, each applied after the test's start, and what the grid
    // and the readings show then.
    void resultLines_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<bool>("dumpAsked");
        const QString none = marked({});
        const QStringList waiting{":W", ":W", "Wait:W", ":W", ":W"};
        auto with = [&](int i, const QString& r) {
            QStringList out = waiting;
            out[i] = r;
            return out;
        };
        QTest::newRow("version") << QStringList{"001001,V1.02.003,PASS"} << marked({{0, 'G'}})
                                 << with(0, "V1.02.003:G") << false;
        QTest::newRow("version, failed") << QStringList{"001001,V1.02.003,FAIL"} << marked({{0, 'R'}})
                                         << with(0, "V1.02.003:R") << false;
        QTest::newRow("version cut short") << QStringList{"001001,V1.0"} << none << waiting << false;
        QTest::newRow("driver 0") << QStringList{"001002,00,PASS"} << marked({{1, 'G'}}) << waiting << false;
        QTest::newRow("driver 5 fails") << QStringList{"001002,05,FAIL"} << marked({{6, 'R'}}) << waiting << false;
        QTest::newRow("PASS is exact case") << QStringList{"001002,11,Pass"} << marked({{12, 'R'}}) << waiting
                                            << false;
        QTest::newRow("PASS anywhere") << QStringList{"001002,11 PASS"} << marked({{12, 'G'}}) << waiting << false;
        QTest::newRow("driver 12 unknown") << QStringList{"001002,12,PASS"} << none << waiting << false;
        QTest::newRow("driver without key") << QStringList{"001002"} << none << waiting << false;
        QTest::newRow("A2 pull-up") << QStringList{"001003,A2 Pullup: 187,PASS"} << marked({{13, 'G'}})
                                    << with(1, "187:G") << false;
        QTest::newRow("A2 pull-up cut short") << QStringList{"001003,A2 Pullup: 1"} << none << waiting << false;
        QTest::newRow("digital 000") << QStringList{"001004,D:000,PASS"} << marked({{14, 'G'}}) << waiting << false;
        QTest::newRow("digital 111") << QStringList{"001004,D:111,FAIL"} << marked({{21, 'R'}}) << waiting << false;
        QTest::newRow("analog 0v0") << QStringList{"001005,A:0v0,PASS"} << marked({{24, 'G'}}) << waiting << false;
        QTest::newRow("analog 011") << QStringList{"001005,A:011,PASS"} << marked({{28, 'G'}}) << waiting << false;
        QTest::newRow("analog 0V0 upper case") << QStringList{"001005,A:0V0,PASS"} << none << waiting << false;
        QTest::newRow("analog key of a digital step") << QStringList{"001004,D:0v0,PASS"} << none << waiting << false;
        QTest::newRow("master 100") << QStringList{"001006,M:100,PASS"} << marked({{29, 'G'}}) << waiting << false;
        QTest::newRow("master 000 unknown") << QStringList{"001006,M:000,PASS"} << none << waiting << false;
        QStringList both = waiting;
        both[3] = "064:G";
        both[4] = "192:G";
        QTest::newRow("Lo then Hi") << QStringList{"001007,RLo: counts = 064,PASS", "001007,RHi: counts = 192,PASS"}
                                    << marked({{33, 'G'}}) << both << false;
        QStringList lowFailed = both;
        lowFailed[3] = "040:R";
        QTest::newRow("Lo failed then Hi") << QStringList{"001007,RLo: counts = 040,FAIL",
                                                          "001007,RHi: counts = 192,PASS"}
                                           << marked({{33, 'R'}}) << lowFailed << false;
        QTest::newRow("Hi then Lo") << QStringList{"001007,RHi: counts = 192,PASS", "001007,RLo: counts = 064,PASS"}
                                    << none << both << false;
        QTest::newRow("Hi alone") << QStringList{"001007,RHi: counts = 192,PASS"} << none << with(4, "192:G") << false;
        QTest::newRow("other tag") << QStringList{"001007,RMd: counts = 128,PASS"} << none << waiting << false;
        QTest::newRow("Lo cut short") << QStringList{"001007,RLo: counts"} << none << waiting << false;
        QTest::newRow("overall pass") << QStringList{"001000,PASS"} << none << with(2, "PASS:G") << true;
        QTest::newRow("overall pass, bare") << QStringList{"001000"} << none << with(2, "PASS:G") << true;
        QTest::newRow("overall fail") << QStringList{"0010ff,FAIL"} << none << with(2, "FAIL:R") << false;
        QTest::newRow("overall fail, FF") << QStringList{"0010FF,FAIL"} << none << with(2, "FAIL:R") << false;
        QTest::newRow("unknown step") << QStringList{"001008,00,PASS"} << none << waiting << false;
        QTest::newRow("kind only") << QStringList{"0010"} << none << waiting << false;
        QTest::newRow("garbage") << QStringList{QString::fromLatin1("\x01\xff\x80zz PASS")} << none << waiting
                                 << false;
        QTest::newRow("late line re-marks") << QStringList{"001002,03,PASS", "001002,03,FAIL"}
                                            << marked({{4, 'R'}}) << waiting << false;
    }
    void resultLines()
    {
        QFETCH(QStringList, frames);
        QFETCH(QString, grid);
        QFETCH(QStringList, readings);
        QFETCH(bool, dumpAsked);
        TestGrid g;
        g.startTest();
        bool asked = false;
        for (const QString& f : frames)
            asked = g.apply(f);
        QCOMPARE(gridCode(g), grid);
        QStringList got;
        for (const Cell& c : g.mdata)
            got << readingCode(c);
        QCOMPARE(got, readings);
        QCOMPARE(asked, dumpAsked);
    }

    void dumpLines_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QString>("block");
        QTest::newRow("heading") << "0011 [EEPROM 00-3F]" << "[EEPROM 00-3F]\r\n\r\n" << "";
        QTest::newRow("address 00") << "001100: 323030382F30312F -3031203030303030  "
                                    << "00: 323030382F30312F -3031203030303030  \r\n"
                                    << "2008/01/01 00000";
        QTest::newRow("CR and LF, lower case") << "001110: 303030370d0aFFFF -4142434445464748  "
                                               << "10: 303030370d0aFFFF -4142434445464748  \r\n"
                                               << QString("0007[cr][lf]") + QChar(0xFF) + QChar(0xFF) + "ABCDEFGH";
        QTest::newRow("address 20") << "001120: 4142434445464748 -4142434445464748  "
                                    << "20: 4142434445464748 -4142434445464748  \r\n"
                                    << "ABCDEFGHABCDEFGH";
        QTest::newRow("address 30 listed only") << "001130: 4142434445464748 -4142434445464748  "
                                                << "30: 4142434445464748 -4142434445464748  \r\n"
                                                << "";
        QTest::newRow("short line") << "001100: 41424" << "00: 41424\r\n" << "AB";
        QTest::newRow("cut in the second half") << "001100: 4142434445464748 -4142" << "00: 4142434445464748 -4142\r\n"
                                                << "ABCDEFGHAB";
        QTest::newRow("longer line cut at 40") << "001100: 4142434445464748 -4142434445464748  TAIL"
                                               << "00: 4142434445464748 -4142434445464748  \r\n"
                                               << "ABCDEFGHABCDEFGH";
        QTest::newRow("garbled pairs") << "001100: 41zz4G43\x01\xff" "444546 -4142434445464748  "
                                       << "00: 41zz4G43\x01\xff" "444546 -4142434445464748  \r\n"
                                       << "ACDEFABCDEFGH";
        QTest::newRow("empty") << "0011" << "\r\n" << "";
    }
    void dumpLines()
    {
        QFETCH(QString, frame);
        QFETCH(QString, listing);
        QFETCH(QString, block);
        const DumpLine d = decodeDump(frame);
        QCOMPARE(d.listing, listing);
        QCOMPARE(d.block, block);
    }

    void serialNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("eight");
        QTest::addColumn<QString>("next"); // "" for none
        QTest::addColumn<QString>("previous");
        QTest::newRow("7") << "7" << "00000007" << "00000008" << "00000006";
        QTest::newRow("12") << "12" << "00000012" << "00000013" << "00000011";
        QTest::newRow("nine digits") << "987654321" << "87654321" << "87654322" << "87654320";
        QTest::newRow("pasted letters") << "12ab" << "00000012" << "00000013" << "00000011";
        QTest::newRow("letters between") << "1a2-3" << "00000123" << "00000124" << "00000122";
        QTest::newRow("empty") << "" << "00000000" << "00000001" << "";
        QTest::newRow("zero") << "00000000" << "00000000" << "00000001" << "";
        QTest::newRow("last") << "99999999" << "99999999" << "" << "99999998";
        QTest::newRow("blanks") << " 42 " << "00000042" << "00000043" << "00000041";
    }
    void serialNumbers()
    {
        QFETCH(QString, text);
        QFETCH(QString, eight);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        QCOMPARE(eightDigits(text), eight);
        QCOMPARE(nextSerial(text).value_or(QString()), next);
        QCOMPARE(previousSerial(text).value_or(QString()), previous);
        QCOMPARE(settingsSerial({text, "55"}), eight);
    }

    void blockRecordAndSettings()
    {
        QCOMPARE(datestampFor(QDate(2008, 1, 1)), QStringLiteral("2008/01/01"));
        QCOMPARE(datestampFor(QDate(2026, 12, 31)), QStringLiteral("2026/12/31"));
        QCOMPARE(writeCommand(blockText("2008/01/01", "00000007")).value_or(QString()),
                 QStringLiteral("$00120B323030382F30312F3031203030303030303037\r\n"));
        QCOMPARE(writeCommand(QString(QChar(0xFF))).value_or(QString()), QStringLiteral("$00120BFF\r\n"));
        QVERIFY(!writeCommand(QStringLiteral("2008/01/01\u20ac 00000007")));
        QVERIFY(writeAccepted("0012a"));
        QVERIFY(writeAccepted("0012A,"));
        QVERIFY(!writeAccepted("0012b"));
        QVERIFY(!writeAccepted("0012"));
        QCOMPARE(replyKind("0010ff"), QStringLiteral("10"));
        QCOMPARE(replyKind("00"), QString());

        QCOMPARE(recordHeader(), QStringLiteral("Customer,Version,Model#,Date,SerialNumber"));
        QCOMPARE(recordLine("Acme", "V1.02.003", "GX-100", "2008/01/01", "00000007"),
                 QStringLiteral("Acme,V1.02.003,GX-100,2008/01/01,00000007"));
        QCOMPARE(recordLine("Smith, Jones", "", "GX-100", "2008/01/01", "00000007"),
                 QStringLiteral("\"Smith, Jones\",,GX-100,2008/01/01,00000007"));
        QCOMPARE(recordLine("Bob \"B\" Ltd", "V1\n2", "GX", "d", "s"),
                 QStringLiteral("\"Bob \"\"B\"\" Ltd\",\"V1\n2\",GX,d,s"));
        QCOMPARE(recordLine("", "", "", "", ""), QStringLiteral(",,,,"));

        QCOMPARE(settingsSerial({}), QStringLiteral("00000000"));
        QCOMPARE(settingsSerial({QString::fromLatin1("\x01\xff\x80")}), QStringLiteral("00000000"));
    }

    // A passing board, with the test arriving line by line, in one read,
    // or in small pieces behind garbage.
    void passingBoard_data()
    {
        QTest::addColumn<int>("split");
        QTest::addColumn<bool>("merge");
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("line by line") << 0 << false << QByteArray();
        QTest::newRow("one read") << 0 << true << QByteArray();
        QTest::newRow("split behind garbage") << 5 << false << QByteArray("\x01zz\r\n\xff");
    }
    void passingBoard()
    {
        QFETCH(int, split);
        QFETCH(bool, merge);
        QFETCH(QByteArray, garbage);
        Bench b;
        b.sim.setSplit(split);
        b.sim.setMerge(merge);
        b.sim.setGarbage(garbage);
        b.click(0);
        QTRY_COMPARE(b.reading(2), QStringLiteral("PASS:G"));
        QCOMPARE(b.grid(), QString(34, u'G'));
        QCOMPARE(b.reading(0), QStringLiteral("V1.02.003:G"));
        QCOMPARE(b.reading(1), QStringLiteral("187:G"));
        QCOMPARE(b.reading(3), QStringLiteral("064:G"));
        QCOMPARE(b.reading(4), QStringLiteral("192:G"));
        // The dump follows unasked, once.
        QTRY_VERIFY(b.eeread().startsWith("[EEPROM 00-3F]"));
        QTRY_COMPARE(b.eeread().count(u'\n'), 6);
        QCOMPARE(b.sim.received(), QByteArray("$0010\r\n$0011\r\n"));
    }

    void failingBoard()
    {
        Bench b;
        b.sim.pass[6] = false; // driver 5
        b.sim.setMerge(true);
        b.click(0);
        QTRY_COMPARE(b.reading(2), QStringLiteral("FAIL:R"));
        QCOMPARE(b.grid(), marked({}).replace(u'.', u'G').replace(6, 1, "R"));
        QTest::qWait(30);
        QCOMPARE(b.sim.commands(), QStringList{"$0010"});
        QCOMPARE(b.eeread(), QString());

        // The next test starts from a cleared grid and waits without end
        // for a board that says nothing.
        b.sim.setSilent(true);
        b.click(0);
        QCOMPARE(b.grid(), marked({}));
        QCOMPARE(b.reading(2), QStringLiteral("Wait:W"));
        QCOMPARE(b.reading(0), QStringLiteral(":W"));
    }

    void dumpDecodesTheBlock()
    {
        Bench b;
        b.sim.eeprom.replace(0, 19, block7.toLatin1());
        b.sim.eeprom[19] = '\r';
        b.sim.eeprom[20] = '\n';
        b.sim.eeprom.replace(48, 3, "XYZ");
        b.w.form()->findChild<QLineEdit*>("rvmblock")->setText("old");
        b.click(1);
        const QString block = block7 + "[cr][lf]" + QString(27, QChar(0xFF));
        QTRY_COMPARE(b.text("rvmblock"), block);
        QTRY_COMPARE(b.eeread().count(u'\n'), 6);
        const QStringList lines = b.eeread().split(u'\n');
        QCOMPARE(lines[0], QStringLiteral("[EEPROM 00-3F]"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], QStringLiteral("00: 323030382F30312F -3031203030303030  "));
        QCOMPARE(lines[5], QStringLiteral("30: 58595AFFFFFFFFFF -FFFFFFFFFFFFFFFF  "));
        QCOMPARE(b.sim.received(), QByteArray("$0011\r\n"));
    }

    // Writing the block: the bytes sent, the answer, the record, the dump.
    void write()
    {
        Bench b;
        b.sim.setMerge(true);
        b.click(0);
        QTRY_COMPARE(b.reading(2), QStringLiteral("PASS:G"));
        QTRY_COMPARE(b.sim.commands().size(), 2);
        QCOMPARE(b.text("datestamp"), QStringLiteral("2008/01/01"));
        typeInto(b.edit("serialnumber"), "7");
        pressEnter(b.edit("serialnumber"));
        typeInto(b.edit("customer"), "Smith, Jones");
        b.sim.clearRecord();
        b.confirmedWrite(2);
        QCOMPARE(b.sim.received(),
                 QByteArray("$00120B323030382F30312F3031203030303030303037\r\n$0011\r\n"));
        QCOMPARE(b.text("rstat"), QStringLiteral("OK"));
        QCOMPARE(shadeOf(b.edit("rstat")), Shade::Green);
        QCOMPARE(b.text("rvmblock").left(19), block7);
        QCOMPARE(b.eeread().count(u'\n'), 6);
        const QByteArray line = "\"Smith, Jones\",V1.02.003,GX-100,2008/01/01,00000007\r\n";
        QCOMPARE(b.record(), "Customer,Version,Model#,Date,SerialNumber\r\n" + line);
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000007"));

        // The same board written twice is recorded twice.
        b.confirmedWrite(2);
        QCOMPARE(b.record(), "Customer,Version,Model#,Date,SerialNumber\r\n" + line + line);

        // An answer other than "a": "?" in red, no record, no dump.
        b.sim.answerLetter = "x";
        b.sim.clearRecord();
        b.click(2);
        QTRY_COMPARE(b.text("rstat"), QStringLiteral("?"));
        QCOMPARE(shadeOf(b.edit("rstat")), Shade::Red);
        QTest::qWait(30);
        QCOMPARE(b.sim.commands().size(), 1);
        QCOMPARE(b.record().count("\r\n"), 3);

        // No answer: "Wait" stays.
        b.sim.setSilent(true);
        b.click(2);
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        QTest::qWait(30);
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
    }

    // The answer may come long after Write while the operator already
    // prepares the next board: the record and "Write+" use the boxes as
    // they were at Write, the block the board actually received.
    void recordNamesTheWrittenBoard()
    {
        Bench b;
        b.click(0);
        QTRY_COMPARE(b.reading(2), QStringLiteral("PASS:G"));
        QTRY_COMPARE(b.sim.commands().size(), 2);
        b.sim.clearRecord();
        b.setSerial("00000007");
        b.edit("customer")->setText("Acme");
        b.sim.setSilent(true);
        b.click(5);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        b.click(3); // "+" while waiting
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000008"));
        b.edit("customer")->setText("Next customer");
        b.edit("datestamp")->setText("2009/12/31");
        b.w.form()->findChild<QComboBox*>("model")->setCurrentIndex(2);
        b.sim.setSilent(false);
        b.sim.sendRaw("!0012a\r");
        QTRY_COMPARE(b.text("rstat"), QStringLiteral("OK"));
        QTRY_COMPARE(b.sim.commands().size(), 2);
        QCOMPARE(b.sim.commands()[0], "$00120B" + QString::fromLatin1(block7.toLatin1().toHex().toUpper()));
        QCOMPARE(b.record(), QByteArray("Customer,Version,Model#,Date,SerialNumber\r\n"
                                        "Acme,V1.02.003,GX-100,2008/01/01,00000007\r\n"));
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000008"));
    }

    // A write the board never answered is forgotten when the port is chosen
    // again: the answer that then arrives names the write made since.
    void lostAnswerThenWriteAgain()
    {
        Bench b;
        b.setSerial("00000007");
        b.sim.setSilent(true);
        b.click(2);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        b.choose("Select");
        b.choose(b.pty.path());
        QCOMPARE(b.w.serial.portopen, -1);
        b.setSerial("00000009");
        b.sim.setSilent(false);
        b.confirmedWrite(5);
        QVERIFY(b.sim.commands()[1].endsWith(QString::fromLatin1(QByteArray("00000009").toHex().toUpper())));
        const QByteArray record = b.record();
        QCOMPARE(record.count("\r\n"), 2);
        QVERIFY(record.endsWith(",2008/01/01,00000009\r\n"));
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000010"));
    }

    // A write the board never answers (it was not powered) is given up
    // after 2 s: its late answer names no board, and the boards written
    // once it is powered each take their own answer.
    void unansweredWriteThenThreeBoards()
    {
        Bench b;
        b.setSerial("00000007");
        b.edit("customer")->setText("Acme");
        b.sim.setSilent(true);
        b.click(5);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        b.clock.advance(2500);
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));

        // Its answer, arriving now, is ignored.
        b.sim.setSilent(false);
        b.sim.clearRecord();
        b.sim.sendRaw("!0012a\r");
        b.click(1);
        QTRY_VERIFY(b.eeread().contains("30:"));
        QCOMPARE(b.sim.commands(), QStringList{"$0011"});
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000007"));
        QVERIFY(!QFile::exists(Ctrl_8620_glimmerix::recordPath()));

        b.sim.clearRecord();
        QByteArray expected = "Customer,Version,Model#,Date,SerialNumber\r\n";
        const char* customers[] = {"Acme", "Bolt", "Coil"};
        for (int i = 0; i < 3; ++i) {
            const QByteArray serial = "0000000" + QByteArray::number(7 + i);
            b.edit("customer")->setText(customers[i]);
            b.confirmedWrite(5);
            QCOMPARE(b.sim.commands()[2 * i], "$00120B" + QString::fromLatin1(("2008/01/01 " + serial).toHex().toUpper()));
            QCOMPARE(b.text("rstat"), QStringLiteral("OK"));
            QCOMPARE(b.text("rvmblock").left(19), QString::fromLatin1("2008/01/01 " + serial));
            expected += customers[i] + QByteArray(",,GX-100,2008/01/01,") + serial + "\r\n";
        }
        QCOMPARE(b.record(), expected);
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000010"));
    }

    // A late answer goes to the oldest write still waited for.
    void lateAnswerTakenForTheWriteStillWaited()
    {
        Bench b;
        b.sim.setSilent(true);
        b.setSerial("00000007");
        b.edit("customer")->setText("Acme");
        b.click(2);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        b.clock.advance(2500);
        b.setSerial("00000008");
        b.edit("customer")->setText("Bolt");
        b.click(2);
        QTRY_COMPARE(b.sim.commands().size(), 2);
        b.clock.advance(1500);
        b.sim.sendRaw("!0012a\r");
        QTRY_COMPARE(b.text("rstat"), QStringLiteral("OK"));
        QCOMPARE(b.record(), QByteArray("Customer,Version,Model#,Date,SerialNumber\r\n"
                                        "Bolt,,GX-100,2008/01/01,00000008\r\n"));
    }

    // Writes pressed while the board is busy are answered later, one answer
    // per write in the order sent: each confirmed write is recorded once
    // with its own block, a refused one not at all, and the answer to the
    // last write decides the status and the dump.
    void overlappingWrites_data()
    {
        QTest::addColumn<QString>("answers");
        for (const char* a : {"aa", "ax", "xa", "xx", "aaa", "aax", "axa", "axx", "xaa", "xax", "xxa", "xxx"})
            QTest::newRow(a) << QString::fromLatin1(a);
    }
    void overlappingWrites()
    {
        QFETCH(QString, answers);
        const QStringList customers{"Acme", "Bolt", "Coil"};
        const int n = int(answers.size());
        Bench b;
        b.sim.setSilent(true);
        for (int i = 0; i < n; ++i) {
            b.setSerial(eightDigits(QString::number(7 + i)));
            b.edit("customer")->setText(customers[i]);
            b.click(2);
            QTRY_COMPARE(b.sim.commands().size(), i + 1);
        }
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        b.sim.setSilent(false);
        b.sim.clearRecord();

        QByteArray expected;
        for (int i = 0; i < n; ++i)
            if (answers[i] == u'a')
                expected += customers[i].toLatin1() + ",,GX-100,2008/01/01," + eightDigits(QString::number(7 + i)).toLatin1() + "\r\n";
        if (!expected.isEmpty())
            expected.prepend("Customer,Version,Model#,Date,SerialNumber\r\n");

        // All answers but the last, then a dump whose reply shows they
        // were handled: the status still waits, nothing was dumped for them.
        for (int i = 0; i < n - 1; ++i)
            b.sim.sendRaw("!0012" + answers.mid(i, 1).toLatin1() + "\r");
        b.click(1);
        QTRY_VERIFY(b.eeread().contains("30:"));
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        QCOMPARE(b.sim.commands(), QStringList{"$0011"});

        const bool confirmed = answers.back() == u'a';
        b.sim.sendRaw("!0012" + answers.right(1).toLatin1() + "\r");
        QTRY_COMPARE(b.text("rstat"), confirmed ? QStringLiteral("OK") : QStringLiteral("?"));
        QCOMPARE(shadeOf(b.edit("rstat")), confirmed ? Shade::Green : Shade::Red);
        if (confirmed)
            QTRY_COMPARE(b.sim.commands(), QStringList({"$0011", "$0011"}));
        QTest::qWait(50);
        QCOMPARE(b.sim.commands().size(), confirmed ? 2 : 1);
        QCOMPARE(b.record(), expected);
    }

    // A board that vanishes with writes outstanding never confirms them:
    // nothing answered on the next port is taken for them.
    void boardVanishesWithWritesOutstanding()
    {
        PtyPair pty2;
        GlimmerixBoard sim2(pty2);
        Bench b;
        b.sim.setSilent(true);
        for (int i = 0; i < 3; ++i) {
            b.setSerial(eightDigits(QString::number(7 + i)));
            b.click(2);
            QTRY_COMPARE(b.sim.commands().size(), i + 1);
        }
        b.sim.sendRaw("!0012a\r");
        QTRY_VERIFY(b.record().endsWith(",2008/01/01,00000007\r\n"));
        b.vanish();
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));

        b.choose(pty2.path());
        QCOMPARE(b.w.serial.portopen, -1);
        sim2.sendRaw("!0012a\r!0012a\r");
        b.click(1); // a dump, answered after the stray answers
        QTRY_VERIFY(b.eeread().contains("30:"));
        QCOMPARE(b.record().count("\r\n"), 2);
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        QCOMPARE(sim2.commands(), QStringList{"$0011"});

        // The next write on the new board is its own.
        b.setSerial("00000020");
        b.click(2);
        QTRY_COMPARE(b.text("rstat"), QStringLiteral("OK"));
        QVERIFY(b.record().endsWith(",2008/01/01,00000020\r\n"));
        QCOMPARE(b.record().count("\r\n"), 3);
    }

    // A write answer no write asked for names no board.
    void unaskedAnswer()
    {
        Bench b;
        b.setSerial("00000007");
        b.sim.sendRaw("!0012a\r");
        b.click(1); // a dump, answered after the stray answer was handled
        QTRY_VERIFY(!b.eeread().isEmpty());
        QTest::qWait(100);
        QCOMPARE(b.sim.commands(), QStringList{"$0011"});
        QVERIFY(!QFile::exists(Ctrl_8620_glimmerix::recordPath()));
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000007"));
        QCOMPARE(b.text("rstat"), QString());

        // One write, one record line: a repeated answer adds nothing.
        b.confirmedWrite(5);
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000008"));
        b.sim.clearRecord();
        b.sim.sendRaw("!0012a\r");
        b.click(1);
        QTRY_COMPARE(b.sim.commands().size(), 1);
        QTest::qWait(100);
        QCOMPARE(b.sim.commands().size(), 1);
        QCOMPARE(b.record().count("\r\n"), 2);
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000008"));
    }

    // The record holds one byte per character: a customer it cannot hold
    // is refused before the board is written.
    void customerTheRecordCannotHold()
    {
        Bench b;
        const QByteArray old = "Customer,Version,Model#,Date,SerialNumber\r\nM\xfcnchen,V1,GX-100,2008/01/01,00000001\r\n";
        writeFile(Ctrl_8620_glimmerix::recordPath(), old);
        AlertSink alerts;
        b.edit("customer")->setText(QStringLiteral("\u0141\u00F3d\u017A"));
        b.click(2);
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains("\"Customer\""));
        QVERIFY(alerts.texts[0].contains(QStringLiteral("\u0141")));
        QTest::qWait(50);
        QVERIFY(b.sim.received().isEmpty());
        QCOMPARE(b.record(), old);
        // A Latin-1 customer goes in as it is.
        b.edit("customer")->setText(QStringLiteral("M\u00FCnchen"));
        b.confirmedWrite(2);
        QVERIFY(b.record().startsWith(old + "M\xfcnchen,"));
        QVERIFY(b.record().endsWith(",GX-100,2008/01/01,00000000\r\n"));
    }

    void writePlusAdvances_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("alerts");
        QTest::newRow("Write+ on 7") << 5 << "00000007" << "00000008" << 0;
        QTest::newRow("Write on 7") << 2 << "00000007" << "00000007" << 0;
        QTest::newRow("Write+ on 0") << 5 << "00000000" << "00000000" << 0;
        QTest::newRow("Write+ on the last") << 5 << "99999999" << "99999999" << 1;
        QTest::newRow("Write+ on pasted 12ab") << 5 << "12ab" << "00000013" << 0;
    }
    void writePlusAdvances()
    {
        QFETCH(int, button);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, alerts);
        Bench b;
        AlertSink sink;
        b.setSerial(before);
        b.confirmedWrite(button);
        QTRY_COMPARE(b.text("serialnumber"), after);
        QCOMPARE(sink.titles.size(), alerts);
        if (alerts) {
            QCOMPARE(sink.titles.first(), QStringLiteral("Serial number"));
            QVERIFY(sink.texts.first().contains("last serial number"));
        }
        // The block carried eight digits and nothing else.
        QCOMPARE(b.sim.commands().first().right(16), QString::fromLatin1(eightDigits(before).toLatin1().toHex().toUpper()));
        QVERIFY(b.record().endsWith("," + eightDigits(before).toLatin1() + "\r\n"));
    }

    void serialNumberBox()
    {
        Bench b(false);
        QLineEdit* box = b.edit("serialnumber");
        QCOMPARE(box->text(), QStringLiteral("00000000"));
        b.click(4); // "-" at 0
        QCOMPARE(box->text(), QStringLiteral("00000000"));
        b.click(3);
        QCOMPARE(box->text(), QStringLiteral("00000001"));
        b.setSerial("99999999");
        b.click(3); // "+" at the last
        QCOMPARE(box->text(), QStringLiteral("99999999"));
        b.click(4);
        QCOMPARE(box->text(), QStringLiteral("99999998"));

        retype(box, "1x2.");
        QCOMPARE(box->text(), QStringLiteral("12"));
        pressEnter(box);
        QCOMPARE(box->text(), QStringLiteral("00000012"));
        paste(box, "987654321");
        leaveBox(box);
        QCOMPARE(box->text(), QStringLiteral("87654321"));

        // The number survives closing and reopening the window.
        b.w.unload();
        QCOMPARE(readFile(Ctrl_8620_glimmerix::settingsPath()), QByteArray("87654321\r\n"));
        b.w.show();
        QCOMPARE(b.text("serialnumber"), QStringLiteral("87654321"));
    }

    void settingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("serial");
        QTest::newRow("plain") << QByteArray("00001234\r\n") << "00001234";
        QTest::newRow("LF, no zeros") << QByteArray("42\n7\n") << "00000042";
        QTest::newRow("empty") << QByteArray() << "00000000";
        QTest::newRow("garbled") << QByteArray("ab1c2\x01\xff\r\n99") << "00000012";
        QTest::newRow("binary") << QByteArray("\x00\xfe\x80\x01", 4) << "00000000";
        QTest::newRow("too many digits") << QByteArray("1234567890") << "34567890";
    }
    void settingsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, serial);
        TempFolders folders(false);
        writeFile(Ctrl_8620_glimmerix::settingsPath(), bytes);
        auto& w = FormSlots::get<Ctrl_8620_glimmerix>();
        w.load();
        QCOMPARE(w.form()->findChild<QLineEdit*>("serialnumber")->text(), serial);
        w.unload();
        QCOMPARE(readFile(Ctrl_8620_glimmerix::settingsPath()), serial.toLatin1() + "\r\n");
    }

    // A settings file that cannot be written: one alert, and the window
    // closes all the same.
    void settingsFileUnwritable()
    {
        TempFolders folders(false);
        QVERIFY(QDir().mkpath(Ctrl_8620_glimmerix::settingsPath()));
        auto& w = FormSlots::get<Ctrl_8620_glimmerix>();
        w.load();
        AlertSink sink;
        w.unload();
        QCOMPARE(sink.titles, QStringList{"Settings file error"});
        QVERIFY(sink.texts.first().contains("Glimmerix.cfg"));
        QVERIFY(!w.isLoaded());
    }

    // A record that cannot be written: one alert naming the file and
    // showing the line; the board counts as written and is dumped.
    void recordUnwritable_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("folder in its place") << "folder";
        QTest::newRow("read-only file") << "readonly";
    }
    void recordUnwritable()
    {
        QFETCH(QString, how);
        if (how == QLatin1String("readonly") && ::geteuid() == 0)
            QSKIP("root writes into read-only files");
        Bench b;
        const QByteArray oldWork = qgetenv("VOLTARIS_TEMP");
        const QString path = Ctrl_8620_glimmerix::recordPath();
        if (how == QLatin1String("missing")) {
            // A work folder that cannot be made: its parent is a file.
            writeFile(b.tf.workFile("plain"), "x");
            qputenv("VOLTARIS_TEMP", QFile::encodeName(b.tf.workFile("plain/sub")));
        } else if (how == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else {
            writeFile(path, "Customer,Version,Model#,Date,SerialNumber\r\n");
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        }
        const QString target = Ctrl_8620_glimmerix::recordPath();
        AlertSink sink;
        b.setSerial("00000007");
        b.edit("customer")->setText("Acme");
        b.confirmedWrite(5);
        qputenv("VOLTARIS_TEMP", oldWork);
        QCOMPARE(sink.titles, QStringList{"Shipped boards record error"});
        QVERIFY(sink.texts.first().contains(target));
        QVERIFY(sink.texts.first().contains("Acme,,GX-100,2008/01/01,00000007"));
        QCOMPARE(b.text("rstat"), QStringLiteral("OK"));
        QCOMPARE(b.sim.commands().last(), QStringLiteral("$0011"));
        QCOMPARE(b.text("serialnumber"), QStringLiteral("00000008"));
        if (how == QLatin1String("readonly"))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // A date holding a character without a byte is refused, not sent.
    void blockCharacterAbove255()
    {
        Bench b;
        ModalAnswer alert("Command1_0");
        b.edit("datestamp")->setText(QStringLiteral("2008/01/01\u2013"));
        b.click(2);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Configuration block error"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
        QCOMPARE(b.text("rstat"), QString());
    }

    void noPort()
    {
        Bench b(false);
        for (int button : {0, 1, 2}) {
            ModalAnswer alert("Command1_0");
            b.click(button);
            QVERIFY(alert.answered());
            QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        }
        QCOMPARE(b.reading(2), QStringLiteral("Wait:W"));
        QCOMPARE(b.text("rstat"), QStringLiteral("Wait"));
        QTest::qWait(30);
        QVERIFY(b.sim.received().isEmpty());
    }

    // The board vanishes halfway through its test: one alert, the port
    // closed, the grid kept; a reopened port runs the next test.
    void boardVanishesMidTest()
    {
        Bench b;
        b.sim.setSilent(true);
        b.click(0);
        QTRY_COMPARE(b.sim.commands(), QStringList{"$0010"});
        const QStringList frames = b.sim.selfTest();
        for (int i = 0; i < 5; ++i)
            b.sim.send(frames[i].toLatin1());
        const QString partial = marked({{0, 'G'}, {1, 'G'}, {2, 'G'}, {3, 'G'}, {4, 'G'}});
        QTRY_COMPARE(b.grid(), partial);
        AlertSink sink;
        b.sim.vanish();
        QTRY_COMPARE(sink.titles, QStringList{"Com port error"});
        QTest::qWait(100);
        QCOMPARE(sink.titles.size(), 1);
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.w.form()->findChild<QComboBox*>("portselect")->currentIndex(), 0);
        QCOMPARE(b.grid(), partial);
        QCOMPARE(b.reading(2), QStringLiteral("Wait:W"));

        PtyPair pty2;
        GlimmerixBoard sim2(pty2);
        sim2.setMerge(true);
        b.w.unload();
        b.w.show();
        b.choose(pty2.path());
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(0);
        QTRY_COMPARE(b.reading(2), QStringLiteral("PASS:G"));
        QCOMPARE(b.grid(), QString(34, u'G'));
    }

    // Closing the window while the test's start lets events run: nothing
    // touches the destroyed controls.
    void closeWhileStarting()
    {
        Bench b;
        QTimer::singleShot(0, [&] { closeOrQuit(b.w, false); });
        b.click(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b.w.isLoaded());
        QTest::qWait(30);
        QVERIFY(b.sim.commands().isEmpty());
    }
};

VOLTARIS_TEST(GlimmerixTest);
#include "test_glimmerix.moc"
