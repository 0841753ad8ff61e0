// The servo retrofit controller: its codec, and the window against a
// simulated board through a pseudo-terminal.

#include "servoboard.h"

#include "support/alertsink.h"
#include "support/controllerbench.h"
#include "support/modal.h"
#include "support/oddfiles.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/formbuilder.h"
#include "common/paths.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_8879_servoc.h"
#include "displays/servoretrofit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cstdlib>

using namespace servoretrofit;

namespace {

const QStringList defaults{"16", "40", "1000", "1000", "250", "200", "511", "1", "100"};
const QString defaultFrame = QStringLiteral("$0030102803E803E800FA00C801FF0164");

struct Bench : ControllerBench<Ctrl_8879_servoc, ServoBoard> {
    using ControllerBench::ControllerBench;
    using ControllerBench::choose;
    void choose(PtyPair& p) const { choose(p.path()); }
    QStringList row(const QString& name, int n) const
    {
        QStringList out;
        for (int k = 0; k < n; ++k)
            out << text(arrayName(name, k));
        return out;
    }
    void setRow(const QString& name, const QStringList& values) const
    {
        for (int k = 0; k < values.size(); ++k)
            paste(edit(arrayName(name, k)), values[k]);
    }
    QScrollBar* bar() const { return w.form()->findChild<QScrollBar*>("speedset"); }
    QCheckBox* enablewrite() const { return w.form()->findChild<QCheckBox*>("enablewrite"); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    // Lets the line carry what was written, then returns what the board got.
    QStringList settle(int ms = 60) const
    {
        QTest::qWait(ms);
        return sim.commands();
    }
};

} // namespace

class ServoTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tuningFrame_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bad");
        QTest::newRow("defaults") << defaults << defaultFrame + "\r\n" << -1;
        QTest::newRow("limits") << QStringList{"255", "0", "65535", "0", "1", "2", "3", "255", " 7 "}
                                << "$0030FF00FFFF0000000100020003FF07\r\n" << -1;
        QTest::newRow("300 in one byte") << QStringList{"300", "40", "1000", "1000", "250", "200", "511", "1", "100"}
                                         << "" << 0;
        QTest::newRow("65536 in two") << QStringList{"16", "40", "65536", "1000", "250", "200", "511", "1", "100"}
                                      << "" << 2;
        QTest::newRow("fraction") << QStringList{"16", "40", "1000", "1000", "250.5", "200", "511", "1", "100"} << ""
                                  << 4;
        QTest::newRow("negative") << QStringList{"16", "40", "1000", "1000", "250", "-1", "511", "1", "100"} << ""
                                  << 5;
        QTest::newRow("letters after") << QStringList{"16", "40", "1000", "1000", "250", "200", "511x", "1", "100"}
                                       << "" << 6;
        QTest::newRow("empty") << QStringList{"16", "40", "1000", "1000", "250", "200", "511", "", "100"} << "" << 7;
        QTest::newRow("huge") << QStringList{"16", "40", "1000", "1000", "250", "200", "511", "1", "1E999"} << ""
                              << 8;
    }
    void tuningFrame()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, text);
        QFETCH(int, bad);
        const Command c = tuningWrite(boxes);
        QCOMPARE(c.text, text);
        QCOMPARE(c.badField, bad);
    }

    void replies()
    {
        QCOMPARE(*tuningReply("0031,10,28,03,E8,03,E8,00,FA,00,C8,01,FF,01,64"), defaults);
        QCOMPARE(*tuningReply("0031,ff,0,ff,ff,1,0,0,1,0,0,0,0,2,3"),
                 (QStringList{"255", "0", "65535", "256", "1", "0", "0", "2", "3"}));
        QVERIFY(!tuningReply("0031,10,28,03,E8,03,E8,00,FA,00,C8,01,FF,01"));
        const auto s = statusReply("0060,1200,0,350,0,13,5");
        QVERIFY(s);
        QCOMPARE(QStringList(s->adc.begin(), s->adc.end()), (QStringList{"1.200", "0.000", "0.350", "0.000"}));
        QCOMPARE(QStringList(s->xdir.begin(), s->xdir.end()), (QStringList{"1", "0", "1", "1", "0"}));
        QCOMPARE(QStringList(s->xdirtxt.begin(), s->xdirtxt.end()),
                 (QStringList{"CW", "CCW", "Accel", "Run", "Int Control"}));
        QCOMPARE(QStringList(s->inhibit.begin(), s->inhibit.end()),
                 (QStringList{"1", "0", "1", "0", "0", "0", "0", "0"}));
        const auto g = statusReply("0060,x,-5,99999999999,0,31,255");
        QCOMPARE(QStringList(g->adc.begin(), g->adc.end()),
                 (QStringList{"0.000", "-0.005", "99999999.999", "0.000"}));
        QCOMPARE(QStringList(g->xdirtxt.begin(), g->xdirtxt.end()),
                 (QStringList{"CW", "CW", "Accel", "Run", "GUI Override"}));
        QVERIFY(!statusReply("0060,1200,0,350,0,13"));
        const QList<QPair<QString, QString>> messages{
            {"0012", "GUI halt enabled"},      {"0013", "GUI halt cancelled"},
            {"0015", "Control=GUI"},           {"0016", "Control=Internal"},
            {"0020", "Auto report On/Off"},    {"0030,A", "Trim variables updated"},
            {"0030,b", "Trim variable update failed"}, {"0030", "Trim variable update failed"},
            {"0099", ""},                      {"\x01\xff", ""}};
        for (const auto& [frame, message] : messages)
            QCOMPARE(replyMessage(frame), message);
    }

    void speedAndFileLine()
    {
        const QList<std::tuple<int, QString, QString>> speeds{{25, "2.5", "$00150109C4\r\n"},
                                                              {-37, "-3.7", "$0015000E74\r\n"},
                                                              {0, "0.0", "$0015010000\r\n"},
                                                              {100, "10.0", "$0015012710\r\n"},
                                                              {-100, "-10.0", "$0015002710\r\n"}};
        for (const auto& [value, shown, command] : speeds) {
            QCOMPARE(speedText(value), shown);
            QCOMPARE(speedCommand(shown), command);
        }
        const QString line = QStringLiteral(" 16, 40, 1000, 1000, 250, 200, 511, 1, 100");
        QCOMPARE(trimFileLine(defaults).text, line);
        QCOMPARE(trimFileLine({"-3", "2.50", "0", "0", "0", "0", "0", "0", "0"}).text,
                 QStringLiteral("-3, 2.5, 0, 0, 0, 0, 0, 0, 0"));
        QCOMPARE(trimFileLine({"16", "4o", "0", "0", "0", "0", "0", "0", "0"}).badField, 1);
        QCOMPARE(*trimFromLine(line), defaults);
        QCOMPARE(*trimFromLine("1,2,3,4,5,6,7,8,9,10"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        for (const QString& bad : QStringList{"", "1,2,3,4,5,6,7,8", "1,2,3,x,5,6,7,8,9", QString::fromLatin1("\x01\x02\xff,,")})
            QVERIFY2(!trimFromLine(bad), qPrintable(bad));
    }

    // "Write Tuning" goes out only when ticked, refuses values that do not
    // fit, and reports the board's answer; "Read Tuning" fills the boxes.
    void tuningOverTheLine()
    {
        Bench b;
        b.click(5);
        QVERIFY(b.settle().isEmpty());
        b.enablewrite()->setChecked(true);
        b.click(5);
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("Trim variables updated"));
        QCOMPARE(b.sim.received(), (defaultFrame + "\r\n").toLatin1());
        b.sim.writeFails = true;
        b.click(5);
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("Trim variable update failed"));

        b.sim.clearRecord();
        paste(b.edit("calvalue_1"), "300");
        ModalAnswer alert("Command1_0");
        b.click(5);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Tuning value error"));
        QVERIFY(alert.text().contains("\"Tach analog scaler\""));
        QVERIFY(b.settle().isEmpty());

        b.setRow("calvalue", {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
        b.sim.setSplit(4);
        b.sim.setGarbage("\x02zz\r");
        b.click(6);
        QTRY_COMPARE(b.row("calvalue", 9), defaults);
        // A short tuning reply changes nothing.
        b.setRow("calvalue", {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
        b.sim.send("!0031,10,28,03,E8\r");
        QTest::qWait(50);
        QCOMPARE(b.row("calvalue", 9), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    }

    void status()
    {
        Bench b;
        b.sim.setSplit(3);
        b.click(0);
        QTRY_COMPARE(b.row("inhibit", 8), (QStringList{"1", "0", "1", "0", "0", "0", "0", "0"}));
        QCOMPARE(b.row("adc", 4), (QStringList{"1.200", "0.000", "0.350", "0.000"}));
        QCOMPARE(b.row("xdir", 5), (QStringList{"1", "0", "1", "1", "0"}));
        QCOMPARE(b.row("xdirtxt", 5), (QStringList{"CW", "CCW", "Accel", "Run", "Int Control"}));
        QCOMPARE(b.sim.commands(), QStringList{"$0060"});
        // Two replies in one read are both handled; a short status is not
        // shown as zeros.
        b.sim.send("!0060,1,2,3\r!0012\r!0060,5000,4000,3000,2000,16,128\r");
        QTRY_COMPARE(b.row("adc", 4), (QStringList{"5.000", "4.000", "3.000", "2.000"}));
        QCOMPARE(b.text("statusbox"), QStringLiteral("GUI halt enabled"));
        QCOMPARE(b.text("xdirtxt_4"), QStringLiteral("GUI Override"));
        QCOMPARE(b.text("inhibit_7"), QStringLiteral("1"));
        const int beeps = beepCount();
        b.sim.reset();
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("Controller reset"));
        QCOMPARE(beepCount(), beeps + 1);
    }

    // Every settled change refreshes the speed box and sends from it; a
    // drag only refreshes, and sends once when released.
    void speedBar()
    {
        Bench b;
        b.sim.setSilent(true);
        QScrollBar* bar = b.bar();
        bar->setValue(25);
        QCOMPARE(b.text("speed"), QStringLiteral("2.5"));
        bar->setValue(-37);
        QCOMPARE(b.text("speed"), QStringLiteral("-3.7"));
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(b.text("speed"), QStringLiteral("-3.6"));
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$00150109C4", "$0015000E74", "$0015000E10"}));
        b.sim.clearRecord();
        // A drag with the mouse: the box follows the thumb, the board hears
        // of it once, when the button is let go.
        {
            HandleDrag drag(bar);
            drag.moveBy(30);
            QVERIFY(bar->isSliderDown());
            const int first = bar->value();
            QVERIFY2(first > -36, qPrintable(QString::number(first)));
            QCOMPARE(b.text("speed"), speedText(first));
            // Step by step across whole speeds too, which keep their ".0".
            bool whole = false;
            for (int i = 0; i < 40; ++i) {
                drag.moveBy(1);
                QCOMPARE(b.text("speed"), speedText(bar->value()));
                whole = whole || (bar->value() != 0 && bar->value() % 10 == 0);
            }
            QVERIFY(whole);
            QVERIFY(bar->value() > first);
            QVERIFY(b.settle().isEmpty());
            drag.release();
        }
        QVERIFY(!bar->isSliderDown());
        const int dropped = bar->value();
        const QString sent = QStringLiteral("$0015%1%2")
                                 .arg(dropped < 0 ? "00" : "01")
                                 .arg(std::abs(dropped) * 100, 4, 16, QLatin1Char('0'))
                                 .toUpper();
        QTRY_COMPARE(b.sim.commands(), QStringList{sent});
        QCOMPARE(b.settle(), QStringList{sent});

        // Stop sends speed 0 and the halt, and resets the bar silently.
        b.sim.clearRecord();
        b.click(8);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(b.text("speed"), QStringLiteral("0"));
        QCOMPARE(b.settle(), (QStringList{"$0015010000", "$0012"}));
        QCOMPARE(b.sim.received(), QByteArray("$0015010000\r\n$0012\r\n"));
    }

    void handover()
    {
        Bench b;
        QElapsedTimer clock;
        QList<qint64> at;
        connect(&b.sim, &BoardSimulator::commandReceived, &b.sim, [&](const QString&) { at << clock.elapsed(); });
        clock.start();
        b.click(4);
        QTRY_COMPARE(b.sim.commands(), (QStringList{"$0016", "$0013"}));
        // The board may read the first command late; the second cannot
        // leave before a second has passed since the click.
        QVERIFY2(at[1] >= 1000, qPrintable(QString::number(at[1])));
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("GUI halt cancelled"));
    }

    // Closed while waiting the second between the two commands: the second
    // is never sent and nothing is said.
    void closeDuringHandover()
    {
        Bench b;
        AlertSink alerts;
        QTimer::singleShot(150, [&] { closeOrQuit(b.w, false); });
        QElapsedTimer t;
        t.start();
        b.click(4);
        QVERIFY(t.elapsed() < 900);
        QTRY_VERIFY(!b.w.isLoaded());
        QTest::qWait(1100);
        QCOMPARE(b.sim.commands(), QStringList{"$0016"});
        QVERIFY(alerts.titles.isEmpty());
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(0);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        QVERIFY(b.settle().isEmpty());
    }

    // The report stream: every report shows, and the boxes end on the last.
    void autoReport()
    {
        Bench b;
        QStringList shown;
        connect(b.edit("adc_0"), &QLineEdit::textChanged, b.edit("adc_0"), [&](const QString& t) { shown << t; });
        b.click(1);
        QTRY_VERIFY(b.sim.reports >= 40);
        b.click(2);
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("Auto report On/Off"));
        QTest::qWait(50);
        const int reports = b.sim.reports;
        QTRY_COMPARE(shown.size(), reports);
        for (int k = 0; k < reports; ++k)
            QCOMPARE(shown[k], QString::asprintf("%.3f", (1200 + k + 1) / 1000.0));
        QCOMPARE(b.text("adc_0"), QString::asprintf("%.3f", b.sim.adc[0] / 1000.0));
    }

    // The board vanishes mid-stream: one alert, the port closed, and the
    // window works on another port.
    void vanishMidStream()
    {
        Bench b;
        b.click(1);
        QTRY_VERIFY(b.sim.reports >= 5);
        AlertSink alerts;
        b.sim.vanish();
        QTRY_COMPARE(alerts.titles.size(), 1);
        QCOMPARE(alerts.titles.first(), QStringLiteral("Com port error"));
        QTest::qWait(300);
        QCOMPARE(alerts.titles.size(), 1);
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.w.form()->findChild<QComboBox*>("portselect")->currentIndex(), 0);
        PtyPair pty2;
        ServoBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        b.choose(pty2);
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(3);
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("GUI halt enabled"));
    }

    // "W", "R" and "D" through the tuning file.
    void tuningFile()
    {
        Bench b(false);
        const QString path = b.text("calfile");
        QCOMPARE(path, joinpath(worktemp(), "servotrim.txt"));
        auto none = std::make_unique<ModalAnswer>("Command1_0", 300);
        b.click(9);
        QCOMPARE(readFile(path), QByteArray(" 16, 40, 1000, 1000, 250, 200, 511, 1, 100\r\n"));
        b.setRow("calvalue", {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
        b.click(10);
        QCOMPARE(b.row("calvalue", 9), defaults);
        b.setRow("calvalue", {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
        b.click(7);
        QCOMPARE(b.row("calvalue", 9), defaults);
        QVERIFY(!none->answered());
        none.reset();

        // A box that is not a number: refused by name, the file kept.
        paste(b.edit("calvalue_3"), "fast");
        ModalAnswer alert("Command1_0");
        b.click(9);
        QVERIFY(alert.answered());
        QVERIFY(alert.text().contains("\"Tach gain\""));
        QCOMPARE(readFile(path), QByteArray(" 16, 40, 1000, 1000, 250, 200, 511, 1, 100\r\n"));
    }

    // "R" on a file it cannot use beeps and changes nothing; a usable first
    // line is taken from any file.
    void readingOddTuningFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("used");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("short") << QByteArray("1,2,3\r\n") << false;
        QTest::newRow("binary") << QByteArray("\x00\xff\x01,\x80\x02\r\n", 8) << false;
        QTest::newRow("lf only, more lines") << QByteArray("5,6,7,8,9,10,11,12,13\nx\n") << true;
        QTest::newRow("huge") << QByteArray("5,6,7,8,9,10,11,12,13\r\n") + QByteArray(4 << 20, 'x') << true;
    }
    void readingOddTuningFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, used);
        Bench b(false);
        const QString path = writeFile(b.text("calfile"), bytes);
        const int beeps = beepCount();
        b.click(10);
        const QStringList fromFile{"5", "6", "7", "8", "9", "10", "11", "12", "13"};
        QCOMPARE(b.row("calvalue", 9), used ? fromFile : defaults);
        QCOMPARE(beepCount(), beeps + (used ? 0 : 1));
        QFile::remove(path);
        b.click(10);
        QCOMPARE(beepCount(), beeps + (used ? 1 : 2));
    }

    void oddTuningFilePaths_data() { addOddFileRows(); }
    void oddTuningFilePaths()
    {
        QFETCH(OddFile, odd);
        Bench b(false);
        const QString target = joinpath(worktemp(), "odd.txt");
        makeOddFile(target, odd);
        paste(b.edit("calfile"), target);
        const int beeps = beepCount();
        b.click(10);
        QCOMPARE(beepCount(), beeps + 1);
        QCOMPARE(b.row("calvalue", 9), defaults);
        AlertSink alerts;
        b.click(9);
        QTRY_COMPARE(alerts.titles.size(), 1);
        QVERIFY(isOddFile(target, odd));
    }
};

VOLTARIS_TEST(ServoTest);
#include "test_servoc.moc"
