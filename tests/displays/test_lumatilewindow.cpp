// The Lumatile window against a simulated display socket through a
// pseudo-terminal: the link, the user font and its files, the editor.

#include "lumatilebench.h"

#include "support/alertsink.h"
#include "support/filechoice.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/widetext.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/formbuilder.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_9693_lumatile.h"
#include "displays/linestroke.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

using namespace lumatile;

namespace {

const QColor unlit(192, 192, 192);
const QColor lit(255, 128, 0);
const QString zeros(15, u'0');

using Bench = LumatileBench;

} // namespace

class LumatileWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensInDesignState()
    {
        TempFolders tf;
        popup("Ctrl_9693_lumatile");
        auto& w = FormSlots::get<Ctrl_9693_lumatile>();
        QVERIFY(w.visible());
        QCOMPARE(w.caption(), QStringLiteral("B7971 Lumatile serial controller and font editor"));
        QWidget* f = w.form();
        QCOMPARE(f->findChild<QComboBox*>("portselect")->currentText(), QStringLiteral("Select"));
        QCOMPARE(f->findChild<QPlainTextEdit*>("serialout")->toPlainText(), QStringLiteral("<Serial output>"));
        QVERIFY(!f->findChild<QCheckBox*>("logtraffic")->isChecked());
        QCOMPARE(f->findChild<QLineEdit*>("acc")->text(), QStringLiteral("65"));
        QCOMPARE(f->findChild<QLineEdit*>("udc")->text(), QStringLiteral("A"));
        QCOMPARE(f->findChild<QLineEdit*>("fontfile")->text(), QString());
        QCOMPARE(f->findChild<QPushButton*>("Command2_9")->text(), QStringLiteral("WriteAll"));
        QCOMPARE(f->findChild<QPushButton*>("Command2_10")->toolTip(),
                 QStringLiteral("Send all settings below to display string"));
        for (int k = 0; k < 15; ++k) {
            QVERIFY(f->findChild<LineStroke*>(arrayName("Line1", k)));
            auto* s = f->findChild<QLabel*>(arrayName("segment", k));
            QVERIFY(s && s->geometry().contains(f->findChild<LineStroke*>(arrayName("Line1", k))->line().center().toPoint()));
        }
        // Stroke 1 runs along the top from (1560, 2520) to (2640, 2520) twips.
        QCOMPARE(f->findChild<LineStroke*>("Line1_0")->line(), QLineF(104, 168, 176, 168));
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }

    void initPacedAndLogged()
    {
        QElapsedTimer clock;
        QList<qint64> logged; // outlives the window's log
        Bench b;
        b.box<QCheckBox>("logtraffic")->setChecked(true);
        auto* log = b.box<QPlainTextEdit>("serialout");
        // Each command is logged as it is written, so the log's changes time
        // the writes on the sending side, free of the line's latency.
        clock.start();
        connect(log, &QPlainTextEdit::textChanged, log, [&] { logged << clock.elapsed(); });
        b.click(Ctrl_9693_lumatile::Init);
        const QStringList expected{cmd("F000000"), cmd("E000000"), cmd("S000000"), cmd("MAAAAAA")};
        QTRY_COMPARE(b.sent(), expected);
        QCOMPARE(logged.size(), 4);
        for (int i = 1; i < 4; ++i)
            QVERIFY2(logged[i] - logged[i - 1] >= 50, qPrintable(QString::number(logged[i] - logged[i - 1])));
        QCOMPARE(log->toPlainText(),
                 QStringLiteral("$B7F000000<cr>\n$B7E000000<cr>\n$B7S000000<cr>\n$B7MAAAAAA<cr>"));
        // The board's acknowledgement is swallowed.
        QTRY_VERIFY(b.w.serial.ReceiveBuffer.isEmpty());
        QTest::mouseDClick(log->viewport(), Qt::LeftButton);
        QCOMPARE(log->toPlainText(), QString());
        b.click(Ctrl_9693_lumatile::Next);
        QCOMPARE(log->toPlainText(), QStringLiteral("$B7MB<cr>"));
    }

    void nothingWithoutPortOrUnasked()
    {
        AlertSink alerts;
        Bench b(false);
        b.box<QCheckBox>("logtraffic")->setChecked(true);
        b.click(Ctrl_9693_lumatile::Init);
        b.click(Ctrl_9693_lumatile::Write);
        b.click(Ctrl_9693_lumatile::Next);
        b.choosePort(b.pty.path());
        QCOMPARE(b.w.serial.portopen, -1);
        b.w.unload();
        QTest::qWait(100);
        QCOMPARE(b.sent(), QStringList());
        QCOMPARE(alerts.titles, QStringList());
        b.w.show();
        QCOMPARE(b.box<QPlainTextEdit>("serialout")->toPlainText(), QStringLiteral("<Serial output>"));
    }

    // The one full upload at the window's own pacing.
    void newThenPacedUpload()
    {
        Bench b;
        b.w.uploadPacing = 5;
        b.enterAcc("70");
        b.click(Ctrl_9693_lumatile::NewFont);
        QCOMPARE(b.text("statusbox"), QStringLiteral("Font array has been cleared"));
        QTRY_COMPARE(b.sent(), QStringList{cmd("MF")});
        b.sim.clearRecord();
        b.sim.arrivals.clear();
        QElapsedTimer clock;
        clock.start();
        b.click(Ctrl_9693_lumatile::WriteAll);
        QVERIFY(clock.elapsed() >= 228 * 50);
        QTRY_COMPARE(b.sent().size(), 229);
        const QStringList s = b.sent();
        QCOMPARE(s[0], cmd("F000000"));
        QCOMPARE(b.sim.letters(), "F" + QString("WM").repeated(114));
        QVERIFY(s.contains(cmd("W<000000001010000")));
        QVERIFY(s.contains(cmd("WA000000000100010")));
        for (int i = 1; i < s.size(); i += 2) {
            const int code = s[i].at(4).unicode();
            QVERIFY(writableCode(code));
            QCOMPARE(s[i + 1], cmd("M") + QChar(code));
            if (code < 58 || code > 76)
                QCOMPARE(s[i].mid(5), zeros);
        }
        QCOMPARE(b.text("acc"), QStringLiteral("125"));
        QCOMPARE(b.text("statusbox"), QStringLiteral("Character set has been uploaded to PIC"));
    }

    void uploadWithoutPortStepsThrough()
    {
        Bench b(false);
        QStringList shown;
        QObject::connect(b.edit("acc"), &QLineEdit::textChanged, b.edit("acc"),
                         [&](const QString& t) { shown << t; });
        b.click(Ctrl_9693_lumatile::WriteAll);
        QCOMPARE(shown.size(), 114);
        QCOMPARE(shown.first(), QStringLiteral("10"));
        QVERIFY(!shown.contains("13") && !shown.contains("33"));
        QCOMPARE(b.text("acc"), QStringLiteral("125"));
        QVERIFY(b.text("statusbox") != QStringLiteral("Character set has been uploaded to PIC"));
        QTest::qWait(50);
        QCOMPARE(b.sent(), QStringList());
    }

    // With no font file yet, both boxes open in the work folder, not
    // wherever the program was started from.
    void fontBoxesStartInWorkFolder_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("Load") << int(Ctrl_9693_lumatile::LoadFont);
        QTest::newRow("Save") << int(Ctrl_9693_lumatile::SaveFont);
    }
    void fontBoxesStartInWorkFolder()
    {
        QFETCH(int, button);
        Bench b(false);
        QCOMPARE(b.text("fontfile"), QString());
        FileChoiceAnswer none = FileChoiceAnswer::cancel();
        b.click(button);
        QCOMPARE(none.requests.size(), std::size_t(1));
        const FileDialogRequest& r = none.requests[0];
        QCOMPARE(QFileInfo(r.initDir).canonicalFilePath(), QFileInfo(b.tf.work()).canonicalFilePath());
        QCOMPARE(r.fileName, QString());
        QCOMPARE(b.text("fontfile"), QString());
    }

    void saveLoadRoundTripAndReopen()
    {
        Bench b(false);
        Font f = initialFont();
        for (int code = 0; code < fontSize; ++code)
            f[std::size_t(code)] = QString::number(code * 2654435761u % 32768u, 2).rightJustified(15, u'0');
        b.w.fontarray = f;
        const QString path = b.tf.workFile("mine.fnt");
        {
            FileChoiceAnswer answer(path);
            b.click(Ctrl_9693_lumatile::SaveFont);
            QCOMPARE(answer.requests.size(), std::size_t(1));
            const FileDialogRequest& r = answer.requests[0];
            QVERIFY(r.save);
            QCOMPARE(r.title, QStringLiteral("Select a font file name to save"));
            QCOMPARE(r.defaultExt, QStringLiteral("fnt"));
            QCOMPARE(r.filters.size(), 2);
        }
        QCOMPARE(b.text("statusbox"), QStringLiteral("Character set file saved"));
        QCOMPARE(b.text("fontfile"), path);
        QByteArray expected;
        for (const QString& p : f)
            expected += p.toLatin1() + "\r\n";
        QCOMPARE(readFile(path), expected);

        b.click(Ctrl_9693_lumatile::NewFont);
        QCOMPARE(b.w.fontarray, initialFont());
        {
            FileChoiceAnswer answer(path);
            b.click(Ctrl_9693_lumatile::LoadFont);
            QCOMPARE(answer.requests[0].title, QStringLiteral("Select a font file to open"));
            // The font file named now: its own folder and name.
            QCOMPARE(QFileInfo(answer.requests[0].initDir).canonicalFilePath(),
                     QFileInfo(b.tf.work()).canonicalFilePath());
            QCOMPARE(QFileInfo(answer.requests[0].fileName).fileName(), QStringLiteral("mine.fnt"));
        }
        QCOMPARE(b.w.fontarray, f);
        QCOMPARE(b.text("statusbox"), QStringLiteral("Character set file loaded"));
        QCOMPARE(b.text("udcpattern"), f[65]);

        // Reopening reloads the file named in lu.ini.
        b.w.unload();
        QCOMPARE(readFile(Ctrl_9693_lumatile::settingsPath()), path.toLatin1() + "\r\n");
        b.w.fontarray = initialFont();
        b.w.show();
        QCOMPARE(b.w.fontarray, f);
        QCOMPARE(b.text("fontfile"), path);

        // Cancel changes nothing and says nothing.
        AlertSink alerts;
        FileChoiceAnswer none = FileChoiceAnswer::cancel();
        b.click(Ctrl_9693_lumatile::LoadFont);
        b.click(Ctrl_9693_lumatile::SaveFont);
        QCOMPARE(b.w.fontarray, f);
        QCOMPARE(b.text("fontfile"), path);
        QCOMPARE(alerts.titles, QStringList());
    }

    // The font named in lu.ini comes back whatever its folder is called,
    // and an lu.ini written before (Latin-1 bytes) still reads as it did.
    void fontPathReloads_data()
    {
        addWideTextRows(QStringLiteral("\u0428\u0440\u0438\u0444\u0442 "), QString(), false);
        QTest::newRow("old Latin-1 lu.ini") << QString::fromLatin1(muenchenLatin1());
    }
    void fontPathReloads()
    {
        QFETCH(QString, wide);
        const bool old = QTest::currentDataTag() == QLatin1String("old Latin-1 lu.ini");
        Bench b(false);
        Font f = initialFont();
        f[65] = QString(15, u'1');
        const QString path = b.tf.workFile(wide + QStringLiteral("/font.fnt"));
        writeFile(path, fontFileBytes(f));
        if (old) {
            b.w.unload();
            writeFile(Ctrl_9693_lumatile::settingsPath(), path.toLatin1() + "\r\n");
        } else {
            FileChoiceAnswer answer(path);
            b.click(Ctrl_9693_lumatile::LoadFont);
            QCOMPARE(b.w.fontarray, f);
            b.w.unload();
        }
        b.w.fontarray = initialFont();
        b.w.show();
        QCOMPARE(b.text("fontfile"), path);
        QCOMPARE(b.w.fontarray, f);
        QCOMPARE(b.text("statusbox"), QStringLiteral("Character set file loaded"));
        if (old) {
            b.w.unload();
            QCOMPARE(readFile(Ctrl_9693_lumatile::settingsPath()), path.toLatin1() + "\r\n");
        }
    }

    void settingsFileAbsentOrStale_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("names a missing file") << QByteArray("/nonexistent/font.fnt\r\n");
        QTest::newRow("binary") << QByteArray("\xff\x00\x01\r\n", 5);
    }
    void settingsFileAbsentOrStale()
    {
        QFETCH(QByteArray, ini);
        TempFolders tf;
        if (!ini.isNull())
            writeFile(Ctrl_9693_lumatile::settingsPath(), ini);
        AlertSink alerts;
        auto& w = FormSlots::get<Ctrl_9693_lumatile>();
        w.fontarray[65] = QString(15, u'1');
        w.show();
        QCOMPARE(w.fontarray, initialFont());
        QCOMPARE(alerts.titles, QStringList());
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }

    void badFontFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("entry65");
        const QString initial65 = initialFont()[65];
        QTest::newRow("empty") << QByteArray() << initial65;
        QTest::newRow("short") << QByteArray("1\r\n0\n11") << initial65;
        QByteArray binary;
        for (int i = 0; i < 4000; ++i)
            binary += char((i * 37) & 0xff);
        QTest::newRow("binary") << binary << QString();
        QByteArray huge;
        for (int i = 0; i < 200000; ++i)
            huge += "abcdefghijklmnopqrstuvwxyz0\r\n";
        QTest::newRow("huge") << huge << QStringLiteral("111111111111111");
        QByteArray longLines;
        for (int i = 0; i < 126; ++i)
            longLines += QByteArray(300, '0') + "1\n";
        QTest::newRow("long lines") << longLines << zeros;
        QByteArray odd;
        for (int i = 0; i < 126; ++i)
            odd += "0-1 2\xe9\r";
        QTest::newRow("not 0/1") << odd << QStringLiteral("011111000000000");
    }
    void badFontFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, entry65);
        Bench b;
        const QString path = writeFile(b.tf.workFile("bad.fnt"), bytes);
        {
            FileChoiceAnswer answer(path);
            b.click(Ctrl_9693_lumatile::LoadFont);
        }
        QCOMPARE(b.text("fontfile"), path);
        static const QRegularExpression pattern(QStringLiteral("^[01]{15}$"));
        for (const QString& p : b.w.fontarray)
            QVERIFY2(pattern.match(p).hasMatch(), qPrintable(p));
        if (!entry65.isEmpty())
            QCOMPARE(b.w.fontarray[65], entry65);
        b.click(Ctrl_9693_lumatile::WriteAll);
        QTRY_COMPARE(b.sent().size(), 229);
        static const QRegularExpression command(QStringLiteral("^\\$B7W[\\x0a-\\x7d][01]{15}$"));
        for (const QString& c : b.sent())
            if (c.startsWith("$B7W"))
                QVERIFY2(command.match(c).hasMatch(), qPrintable(c));
    }

    void unreadableAndUnwritableFontFiles()
    {
        Bench b(false);
        const QString good = b.tf.workFile("good.fnt");
        {
            FileChoiceAnswer answer(good);
            b.click(Ctrl_9693_lumatile::SaveFont);
        }
        const QByteArray before = readFile(good);
        b.w.fontarray[65] = QString(15, u'1');
        const Font inMemory = b.w.fontarray;

        // A folder where the font file should be.
        const QString folder = b.tf.workFile("folder.fnt");
        QDir().mkpath(folder);
        AlertSink alerts;
        {
            FileChoiceAnswer answer(folder);
            b.click(Ctrl_9693_lumatile::LoadFont);
        }
        QCOMPARE(alerts.titles.size(), 1);
        QVERIFY2(alerts.texts[0].contains(folder), qPrintable(alerts.texts[0]));
        QCOMPARE(b.w.fontarray, inMemory);
        QCOMPARE(b.text("fontfile"), good);

        {
            FileChoiceAnswer answer(folder);
            b.click(Ctrl_9693_lumatile::SaveFont);
        }
        const QString missingDir = b.tf.workFile("nowhere/x.fnt");
        {
            FileChoiceAnswer answer(missingDir);
            b.click(Ctrl_9693_lumatile::SaveFont);
        }
        QCOMPARE(alerts.titles.size(), 3);
        QVERIFY2(alerts.texts[1].contains(folder), qPrintable(alerts.texts[1]));
        QVERIFY2(alerts.texts[2].contains(missingDir), qPrintable(alerts.texts[2]));
        QCOMPARE(b.w.fontarray, inMemory);
        QCOMPARE(b.text("fontfile"), good);
        QCOMPARE(readFile(good), before);
    }

    void editor_data()
    {
        QTest::addColumn<QString>("start");  // code entered first
        QTest::addColumn<QString>("action"); // what the user does then
        QTest::addColumn<QString>("acc");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("enter 33") << "65" << "acc:33" << "34" << QStringList{};
        QTest::newRow("enter 13") << "65" << "acc:13" << "14" << QStringList{};
        QTest::newRow("enter 5") << "65" << "acc:5" << "10" << QStringList{};
        QTest::newRow("enter 300") << "65" << "acc:300" << "125" << QStringList{};
        QTest::newRow("> on 32") << "32" << ">" << "34" << QStringList{cmd("M\"")};
        QTest::newRow("< on 34") << "34" << "<" << "32" << QStringList{cmd("M ")};
        QTest::newRow("< on 10") << "10" << "<" << "10" << QStringList{cmd("M\n")};
        QTest::newRow("> on 125") << "125" << ">" << "125" << QStringList{cmd("M}")};
        QTest::newRow("udc !") << "65" << "udc:!" << "65" << QStringList{};
        QTest::newRow("udc B") << "65" << "udc:B" << "66" << QStringList{cmd("MB")};
        QTest::newRow("write") << "60" << "write" << "60"
                               << QStringList{cmd("W<000000001010000"), cmd("M<")};
        QTest::newRow("write+") << "32" << "write+" << "34" << QStringList{cmd("W ") + zeros, cmd("M ")};
        QTest::newRow("write code 10") << "10" << "write" << "10" << QStringList{cmd("W\n") + zeros, cmd("M\n")};
        QTest::newRow("write code 12") << "12" << "write+" << "14"
                                       << QStringList{cmd("W\x0c") + zeros, cmd("M\x0c")};
        QTest::newRow("pattern enter") << "65" << "pattern:11" << "65"
                                       << QStringList{cmd("WA110000000000000"), cmd("MA")};
    }
    void editor()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(QString, acc);
        QFETCH(QStringList, sent);
        Bench b;
        b.enterAcc(start);
        QCOMPARE(b.text("acc"), start);
        if (action.startsWith("acc:")) {
            b.enterAcc(action.mid(4));
        } else if (action.startsWith("udc:")) {
            typeInto(b.edit("udc"), action.mid(4));
        } else if (action.startsWith("pattern:")) {
            retype(b.edit("udcpattern"), action.mid(8));
            pressEnter(b.edit("udcpattern"));
        } else {
            const int button = action == ">" ? Ctrl_9693_lumatile::Next
                : action == "<"              ? Ctrl_9693_lumatile::Previous
                : action == "write"          ? Ctrl_9693_lumatile::Write
                                             : Ctrl_9693_lumatile::WritePlus;
            b.click(button);
        }
        QCOMPARE(b.text("acc"), acc);
        QCOMPARE(b.w.currentCode(), acc.toInt());
        QCOMPARE(b.text("udc"), QString(QChar(acc.toInt())));
        QCOMPARE(b.text("udcpattern"), b.w.fontarray[std::size_t(acc.toInt())]);
        QCOMPARE(b.litStrokes(), b.w.fontarray[std::size_t(acc.toInt())]);
        QTest::qWait(60);
        QCOMPARE(b.sent(), sent);
    }

    void typingAndClickingStrokes()
    {
        Bench b(false);
        b.enterAcc("90");
        retype(b.edit("udcpattern"), "");
        QTest::keyClicks(b.edit("udcpattern"), "1x0 1");
        QCOMPARE(b.text("udcpattern"), QStringLiteral("101"));
        QCOMPARE(b.w.fontarray[90], QStringLiteral("101000000000000"));
        QCOMPARE(b.stroke(0), lit);
        QCOMPARE(b.stroke(1), unlit);
        QCOMPARE(b.stroke(2), lit);
        b.clickStroke(0);
        QCOMPARE(b.stroke(0), unlit);
        QCOMPARE(b.text("udcpattern"), QStringLiteral("001000000000000"));
        QCOMPARE(b.w.fontarray[90], QStringLiteral("001000000000000"));
        b.clickStroke(14);
        QCOMPARE(b.w.fontarray[90], QStringLiteral("001000000000001"));
        b.click(Ctrl_9693_lumatile::On);
        QCOMPARE(b.litStrokes(), QString(15, u'1'));
        QCOMPARE(b.w.fontarray[90], QString(15, u'1'));
        b.click(Ctrl_9693_lumatile::Off);
        QCOMPARE(b.litStrokes(), zeros);
        QCOMPARE(b.w.fontarray[90], zeros);
    }

    // An unconfirmed code in acc never moves the entry being edited.
    void unconfirmedCodeNeverIndexesTheFont_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("999") << "999";
        QTest::newRow("0") << "0";
    }
    void unconfirmedCodeNeverIndexesTheFont()
    {
        QFETCH(QString, typed);
        Bench b;
        b.enterAcc("70");
        const Font before = b.w.fontarray;
        retype(b.edit("acc"), typed);
        QCOMPARE(b.text("acc"), typed);
        // A paste leaves the focus, and the unconfirmed text, in acc.
        paste(b.edit("udcpattern"), "11");
        QCOMPARE(b.text("acc"), typed);
        Font expected = before;
        expected[70] = QStringLiteral("110000000000000");
        QCOMPARE(b.w.fontarray, expected);
        // A stroke click edits the code the editor shows, whether or not the
        // click confirmed acc on its way.
        b.clickStroke(3);
        const int code = b.w.currentCode();
        QVERIFY(code == 70 || code == (typed == "0" ? 10 : 125));
        QCOMPARE(b.text("udc"), QString(QChar(code)));
        expected[std::size_t(code)][3] = expected[std::size_t(code)][3] == u'0' ? u'1' : u'0';
        QCOMPARE(b.w.fontarray, expected);
        QCOMPARE(b.litStrokes(), expected[std::size_t(code)]);
    }

    void pastedTextNeverSentRaw()
    {
        Bench b;
        b.enterAcc("65");
        paste(b.edit("udcpattern"), "1");
        b.click(Ctrl_9693_lumatile::Write);
        paste(b.edit("udcpattern"), QString::fromUtf8("1x\u0101 0"));
        b.click(Ctrl_9693_lumatile::Write);
        paste(b.edit("udc"), QString::fromUtf8("\u0101"));
        QCOMPARE(b.text("udc"), QStringLiteral("A"));
        paste(b.edit("udc"), "Zq");
        QCOMPARE(b.text("udc"), QStringLiteral("Z"));
        QCOMPARE(b.text("acc"), QStringLiteral("90"));
        paste(b.edit("acc"), "1e9");
        pressEnter(b.edit("acc"));
        QCOMPARE(b.text("acc"), QStringLiteral("125"));
        QTRY_COMPARE(b.sent(), (QStringList{cmd("WA100000000000000"), cmd("MA"), cmd("WA111100000000000"), cmd("MA")}));
    }

    void repliesOfAnyShapeSwallowed_data()
    {
        QTest::addColumn<QByteArray>("garbage");
        QTest::addColumn<int>("split");
        QTest::addColumn<bool>("merge");
        QTest::newRow("garbage") << QByteArray("\x01\xff\x80zz\r\n", 7) << 0 << false;
        QTest::newRow("split") << QByteArray() << 1 << false;
        QTest::newRow("merged") << QByteArray() << 0 << true;
    }
    void repliesOfAnyShapeSwallowed()
    {
        QFETCH(QByteArray, garbage);
        QFETCH(int, split);
        QFETCH(bool, merge);
        AlertSink alerts;
        Bench b;
        b.sim.acknowledged = "FESMW";
        b.sim.setGarbage(garbage);
        b.sim.setSplit(split);
        b.sim.setMerge(merge);
        b.sim.send("!x\r!y\r!z\r");
        b.click(Ctrl_9693_lumatile::Init);
        b.click(Ctrl_9693_lumatile::Write);
        QTRY_COMPARE(b.sent().size(), 6);
        QTRY_VERIFY(!b.w.serial.ReceiveBuffer.contains(QChar(13)));
        QTest::qWait(50);
        QVERIFY(!b.w.serial.ReceiveBuffer.contains(QChar(13)));
        QVERIFY(b.text("statusbox") != QStringLiteral("Character set has been uploaded to PIC"));
        QCOMPARE(b.w.serial.portopen, -1);
        QCOMPARE(alerts.titles, QStringList());
    }

    void boardVanishesMidUpload()
    {
        AlertSink alerts;
        Bench b;
        b.w.uploadPacing = 1;
        QObject::connect(&b.sim, &BoardSimulator::commandReceived, &b.sim, [&] {
            if (b.sent().size() == 21)
                b.sim.vanish();
        });
        b.click(Ctrl_9693_lumatile::WriteAll);
        QCOMPARE(alerts.titles, QStringList{"Com port error"});
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.box<QComboBox>("portselect")->currentText(), QStringLiteral("Select"));
        QCOMPARE(b.text("acc"), QStringLiteral("125"));
        QVERIFY(b.text("statusbox") != QStringLiteral("Character set has been uploaded to PIC"));
        QCOMPARE(b.sent().size(), 21);

        PtyPair pty2;
        LumatileBoard sim2(pty2);
        b.w.unload();
        b.w.show();
        b.choosePort(pty2.path());
        QCOMPARE(b.w.serial.portopen, -1);
        b.click(Ctrl_9693_lumatile::Write);
        QTRY_COMPARE(sim2.commands(), (QStringList{cmd("WA000000000100010"), cmd("MA")}));
        QCOMPARE(alerts.titles.size(), 1);
    }

    void closeDuringUpload()
    {
        Bench b;
        b.w.uploadPacing = 2;
        qsizetype atClose = -1;
        QObject::connect(&b.sim, &BoardSimulator::commandReceived, &b.sim, [&] {
            if (b.sent().size() == 11 && atClose < 0) {
                atClose = 11;
                QTimer::singleShot(0, [&] { b.close(); });
            }
        });
        b.click(Ctrl_9693_lumatile::WriteAll);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b.w.isLoaded());
        QVERIFY(!b.w.uploading());
        QTest::qWait(100);
        QVERIFY(b.sent().size() <= atClose + 1);
        QVERIFY(QFile::exists(Ctrl_9693_lumatile::settingsPath()));
        b.w.show();
        QCOMPARE(b.text("acc"), QStringLiteral("65"));
    }
};

VOLTARIS_TEST(LumatileWindowTest);

#include "test_lumatilewindow.moc"
