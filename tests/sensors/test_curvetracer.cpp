// The curve tracer: its frames, sweep table and files, and the window
// against a simulated 8065 board through a pseudo-terminal.

#include "support/controllerbench.h"
#include "curvetracerboard.h"

#include "support/alertsink.h"
#include "support/fakeport.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/numtext.h"
#include "sensors/ctrl_8065_curvetracer.h"
#include "sensors/curvetracer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace curvetracer;

namespace {

struct Bench : ControllerBench<Ctrl_8065_curvetracer, CurveTracerBoard> {
    using ControllerBench::ControllerBench;
    QStringList shown() const { return {text("sample"), text("current"), text("voltage")}; }
    void setShunt(const QString& s) const
    {
        auto* c = w.form()->findChild<QComboBox*>("shunt");
        c->setCurrentIndex(c->findText(s));
    }
    void saveFiles(bool on) const { w.form()->findChild<QCheckBox*>("savefiles")->setChecked(on); }
    void scan() const { QTest::mouseClick(w.form()->findChild<QPushButton*>("Command1"), Qt::LeftButton); }
    QString file(int n) const { return tf.workFile(QStringLiteral("Zeners_%1.csv").arg(n, 3, 10, QChar(u'0'))); }
    // One sweep through the board; waits for its "stop".
    void sweep()
    {
        const int beeps = beepCount();
        scan();
        QTRY_VERIFY(beepCount() > beeps);
    }
};

// Points 0..count-1 with distinct currents above zero, sent last first.
QList<CurveTracerBoard::Point> risingCurve(int count)
{
    QList<CurveTracerBoard::Point> c;
    for (int n = count - 1; n >= 0; --n)
        c << CurveTracerBoard::Point{n, 100 + n * 10, 300 + n};
    return c;
}

QByteArray risingFile(int count)
{
    QByteArray b("Current-uA,Voltage-V\r\n");
    for (int n = 0; n < count; ++n)
        b += fmt((100 + n * 10) / 100.0, "0.000").toLatin1() + ',' + fmt((300 + n) / 1000.0, "0.000").toLatin1() +
             "\r\n";
    return b;
}

// A port that opens but runs slower than asked.
class SlowPort : public FakePort {
public:
    using FakePort::FakePort;
    int baud() override { return 9600; }
};

} // namespace

class CurveTracerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void frames_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<double>("sense");
        QTest::addColumn<double>("mv");
        QTest::newRow("point") << "806100420050000650" << int(Frame::Point) << 42 << 500.0 << 650.0;
        QTest::newRow("strt") << "80610strt" << int(Frame::Start) << 0 << 0.0 << 0.0;
        QTest::newRow("STOP") << "xyz10STOP" << int(Frame::Stop) << 0 << 0.0 << 0.0;
        QTest::newRow("not 10") << "806110420050000650" << int(Frame::Other) << 0 << 0.0 << 0.0;
        QTest::newRow("short") << "80" << int(Frame::Other) << 0 << 0.0 << 0.0;
        QTest::newRow("short point") << "8061004" << int(Frame::Point) << 4 << 0.0 << 0.0;
        QTest::newRow("letters") << "80610abcdefghijklm" << int(Frame::Point) << 0 << 0.0 << 0.0;
        QTest::newRow("past the table") << "806109990000100001" << int(Frame::Point) << 999 << 1.0 << 1.0;
        QTest::newRow("negative") << "80610-0100001" << int(Frame::Point) << -1 << 1.0 << 0.0;
        QTest::newRow("exponent") << "806109E90000100001" << int(Frame::Point) << 32767 << 1.0 << 1.0;
        QTest::newRow("half to even") << "806102.50000100001" << int(Frame::Point) << 2 << 1.0 << 1.0;
    }
    void frames()
    {
        QFETCH(QString, frame);
        const Frame f = parseFrame(frame);
        QTEST(int(f.kind), "kind");
        QTEST(f.number, "number");
        QTEST(f.senseMillivolts, "sense");
        QTEST(f.millivolts, "mv");
    }

    void trimming_data()
    {
        QTest::addColumn<QStringList>("currents"); // entries 0.. ; the rest empty
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QStringList rising;
        for (int n = 0; n < 100; ++n)
            rising << QString::number(n + 1);
        QTest::newRow("0-99 rising") << rising << 0 << 100;
        QTest::newRow("empty") << QStringList{} << 0 << 255;
        QTest::newRow("all equal") << QStringList(256, "5") << 0 << 255;
        QTest::newRow("flat start") << QStringList{"1", "1", "1", "2", "3"} << 2 << 5;
        QTest::newRow("only the last") << (QStringList(255, "") << "7") << 254 << 255;
        QTest::newRow("zeros then a point") << QStringList{"0", "0", "4"} << 1 << 3;
    }
    void trimming()
    {
        QFETCH(QStringList, currents);
        SweepTable t;
        for (int i = 0; i < currents.size(); ++i)
            if (!currents[i].isEmpty())
                QVERIFY(t.set(i, currents[i] + ",0.500"));
        QTEST(t.first(), "first");
        QTEST(t.last(), "last");
    }

    void tableAndNames()
    {
        SweepTable t;
        QVERIFY(!t.set(256, "1,2"));
        QVERIFY(!t.set(-1, "1,2"));
        QVERIFY(t.set(255, "1.000,2.000"));
        QCOMPARE(t.fileBytes(), QByteArray("Current-uA,Voltage-V\r\n\r\n1.000,2.000\r\n"));
        t.clear();
        QCOMPARE(t.fileBytes().count("\r\n"), 257);

        QCOMPARE(sweepFileName("/w/Zeners", 7), QStringLiteral("/w/Zeners_007.csv"));
        QCOMPARE(sweepFileName("/w/Zeners", 0), QStringLiteral("/w/Zeners_000.csv"));
        QCOMPARE(sweepFileName("/w/Zeners", 999), QStringLiteral("/w/Zeners_999.csv"));
        QCOMPARE(sweepFileName("/w/Zeners", 1234), QStringLiteral("/w/Zeners_1234.csv"));
        for (const char* good : {"0", "7", "0012", "1234567"})
            QVERIFY2(isFileCount(good), good);
        for (const char* bad : {"", "-3", "1.5", "12a", " 7", "1234567890123456"})
            QVERIFY2(!isFileCount(bad), bad);
    }

    void pointsShown()
    {
        Bench b;
        b.feed("!806100420050000650\r");
        QCOMPARE(b.shown(), (QStringList{"42", "5.000", "0.650"}));
        QCOMPARE(b.w.sweep.at(42), QStringLiteral("5.000,0.650"));
        QCOMPARE(b.text("responsewin"), QStringLiteral("806100420050000650"));
        b.setShunt("1");
        b.feed("!806100420050000650\r");
        QCOMPARE(b.text("current"), QStringLiteral("500.000"));
        QCOMPARE(b.w.sweep.at(42), QStringLiteral("500.000,0.650"));
        b.setShunt("1000");
        b.feed("!806100430000109999\r");
        QCOMPARE(b.shown(), (QStringList{"43", "0.001", "9.999"}));

        // Past the table: shown, not stored anywhere.
        b.feed("!806103000000100002\r");
        QCOMPARE(b.shown(), (QStringList{"300", "0.001", "0.002"}));
        for (int n = 0; n < 256; ++n)
            QVERIFY(n == 42 || n == 43 || b.w.sweep.at(n).isEmpty());
        // Other frames are only shown; garbage between frames is dropped.
        b.feed("xx\x01!806110420050000650\rjunk");
        QCOMPARE(b.text("responsewin"), QStringLiteral("806110420050000650"));
        QCOMPARE(b.text("sample"), QStringLiteral("300"));
        // Keys on the shunt list change nothing.
        auto* shunt = b.w.form()->findChild<QComboBox*>("shunt");
        QTest::keyClicks(shunt, "1");
        QCOMPARE(shunt->currentText(), QStringLiteral("1000"));
    }

    // A whole sweep, points in any order, however the line cuts them.
    void sweepToFile_data()
    {
        QTest::addColumn<int>("split");
        QTest::addColumn<bool>("merge");
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("plain") << 0 << false << QByteArray();
        QTest::newRow("split") << 9 << false << QByteArray();
        QTest::newRow("merged") << 0 << true << QByteArray();
        QTest::newRow("garbage") << 0 << true << QByteArray("\x02zz!\r\xff");
    }
    void sweepToFile()
    {
        QFETCH(int, split);
        QFETCH(bool, merge);
        QFETCH(QByteArray, garbage);
        Bench b;
        b.sim.setSplit(split);
        b.sim.setMerge(merge);
        b.sim.setGarbage(garbage);
        b.sim.curve = risingCurve(100);
        b.saveFiles(true);
        b.edit("filecount")->setText("7");
        b.sweep();
        QCOMPARE(b.sim.received(), QByteArray("#"));
        QCOMPARE(readFile(b.file(7)), risingFile(100) + "\r\n");
        QCOMPARE(b.text("filecount"), QStringLiteral("8"));
        QCOMPARE(b.text("sample"), QStringLiteral("0"));
        QCOMPARE(b.text("responsewin"), QStringLiteral("80610stop"));
    }

    void sweepsOneAfterAnother()
    {
        Bench b;
        b.saveFiles(true);
        // Equal currents everywhere: all 256 entries.
        for (int n = 0; n < 256; ++n)
            b.sim.curve << CurveTracerBoard::Point{n, 500, n};
        b.sweep();
        const QByteArray all = readFile(b.file(0));
        QCOMPARE(all.count("\r\n"), 257);
        QVERIFY(all.endsWith("5.000,0.255\r\n"));
        // "strt" clears the table: a shorter sweep leaves nothing behind.
        b.sim.curve = risingCurve(3);
        b.sweep();
        QCOMPARE(readFile(b.file(1)), risingFile(3) + "\r\n");
        // Without "strt" the points add to what the table holds.
        b.sim.sendStart = false;
        b.sim.curve = {{5, 900, 100}};
        b.sweep();
        QCOMPARE(readFile(b.file(2)), risingFile(3) + "\r\n\r\n9.000,0.100\r\n\r\n");
        // Without savefiles: only the beep.
        b.saveFiles(false);
        b.sweep();
        QCOMPARE(b.text("filecount"), QStringLiteral("3"));
        QVERIFY(!QFile::exists(b.file(3)));
        // A double click starts the count again; the file is written over.
        QTest::mouseDClick(b.edit("filecount"), Qt::LeftButton);
        QCOMPARE(b.text("filecount"), QStringLiteral("0"));
        b.saveFiles(true);
        b.sweep();
        QCOMPARE(readFile(b.file(0)), risingFile(3) + "\r\n\r\n9.000,0.100\r\n\r\n");
    }

    void fileCountBox()
    {
        Bench b;
        b.saveFiles(true);
        b.sim.curve = risingCurve(2);
        QLineEdit* count = b.edit("filecount");
        retype(count, "1a2-3.");
        QCOMPARE(count->text(), QStringLiteral("123"));
        for (const char* bad : {"12a", "-3", "", "1.5"}) {
            giveFocus(count);
            count->selectAll();
            paste(count, bad);
            leaveBox(count);
            QCOMPARE(count->text(), QStringLiteral("123"));
        }
        retype(count, "1234");
        leaveBox(count);
        b.sweep();
        QCOMPARE(readFile(b.tf.workFile("Zeners_1234.csv")), risingFile(2) + "\r\n");
        QVERIFY(!QFile::exists(b.tf.workFile("Zeners_234.csv")));
        QCOMPARE(count->text(), QStringLiteral("1235"));
    }

    void fileThatCannotBeWritten()
    {
        Bench b;
        b.saveFiles(true);
        b.sim.curve = risingCurve(2);
        const QString root = b.tf.workFile("missing/Zeners");
        b.edit("fileroot")->setText(root);
        b.edit("filecount")->setText("4");
        AlertSink alerts;
        b.sweep();
        QTRY_COMPARE(alerts.titles, QStringList{"Sweep file error"});
        QVERIFY(alerts.texts.first().contains(root + "_004.csv"));
        QCOMPARE(b.text("filecount"), QStringLiteral("4"));
        QCOMPARE(b.w.serial.portopen, -1);
        // A folder in the sweep file's place is left alone.
        b.edit("fileroot")->setText(b.tf.workFile("Zeners"));
        QDir(b.tf.work()).mkdir("Zeners_004.csv");
        b.sweep();
        QTRY_COMPARE(alerts.titles.size(), 2);
        QCOMPARE(b.text("filecount"), QStringLiteral("4"));
        b.edit("filecount")->setText("5");
        b.sweep();
        QCOMPARE(readFile(b.file(5)), risingFile(2) + "\r\n");
        QCOMPARE(b.text("filecount"), QStringLiteral("6"));
        QCOMPARE(alerts.titles.size(), 2);
    }

    void noPort()
    {
        Bench b(false);
        AlertSink alerts;
        b.scan();
        QCOMPARE(b.shown(), (QStringList{"---", "---", "---"}));
        QTest::qWait(50);
        QVERIFY(alerts.titles.isEmpty());
        QVERIFY(b.sim.received().isEmpty());
    }

    void dtrAndSpeed()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-tracer");
        {
            Bench b(false, "fake-tracer");
            b.choose("fake-tracer");
            QCOMPARE(b.w.serial.portopen, -1);
            QVERIFY(line->outputs & portline::DTR);
            b.scan();
            QCOMPARE(line->written, QByteArray("#"));
            // A write the device refuses: one alert, the port let go, the
            // window still usable.
            line->failWrites = true;
            ModalAnswer alert("Command1_0");
            b.scan();
            QTRY_VERIFY(alert.answered());
            QCOMPARE(alert.title(), QStringLiteral("Com port error"));
            QCOMPARE(b.w.serial.portopen, 0);
            QCOMPARE(b.portIndex(), 0);
            line->failWrites = false;
            b.choose("fake-tracer");
            b.scan();
            QCOMPARE(line->written, QByteArray("##"));
        }
        // A port that runs slower than the board: an alert, then closed.
        auto slow = std::make_shared<FakeLine>();
        PortController::setBackendFactory([slow](const QString& name) -> std::unique_ptr<PortBackend> {
            if (name == QLatin1String("fake-slow"))
                return std::make_unique<SlowPort>(slow);
            return nullptr;
        });
        {
            Bench b(false, "fake-slow");
            ModalAnswer alert("Command1_0");
            b.choose("fake-slow");
            QTRY_VERIFY(alert.answered());
            QCOMPARE(alert.title(), QStringLiteral("Com port open error"));
            QVERIFY(alert.text().contains("9600"));
            QCOMPARE(b.w.serial.portopen, 0);
            QCOMPARE(b.portIndex(), 0);
            QVERIFY(!slow->open);
        }
        PortController::setBackendFactory(nullptr);
    }

    void boardVanishesMidSweep()
    {
        Bench b;
        b.sim.curve = risingCurve(100);
        b.sim.setSplit(20);
        b.scan();
        QTRY_VERIFY(b.text("sample") != QStringLiteral("---"));
        b.vanish();

        PtyPair pty2;
        CurveTracerBoard sim2(pty2);
        sim2.curve = risingCurve(2);
        b.reopen(pty2.path());
        b.saveFiles(true);
        const int beeps = beepCount();
        b.scan();
        QTRY_VERIFY(beepCount() > beeps);
        QCOMPARE(readFile(b.file(0)), risingFile(2) + "\r\n");
    }

    void closeMidSweep_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void closeMidSweep()
    {
        QFETCH(bool, quit);
        Bench b;
        b.sim.curve = risingCurve(256);
        b.sim.setSplit(30);
        b.saveFiles(true);
        b.scan();
        QTRY_VERIFY(b.text("sample") != QStringLiteral("---"));
        b.close(quit);
        b.closed(quit);
        QTest::qWait(100);
        b.w.show();
        QCOMPARE(b.text("sample"), QStringLiteral("0"));
        QCOMPARE(b.w.serial.portopen, 0);
    }
};

VOLTARIS_TEST(CurveTracerTest);
#include "test_curvetracer.moc"
