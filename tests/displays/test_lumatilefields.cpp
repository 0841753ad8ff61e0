// The Lumatile window's display-string fields, timed modes and help window,
// against the simulated socket through a pseudo-terminal.

#include "lumatilebench.h"

#include "support/alertsink.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/clock.h"
#include "common/formbuilder.h"
#include "common/pacing.h"
#include "common/rs232_comportscanner.h"
#include "common/rtfview.h"
#include "displays/ctrl_9693_lumatile.h"
#include "displays/ctrl_9693_lumatilehelp.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace lumatile;

namespace {

using Bench = LumatileBench;

} // namespace

class LumatileFieldsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void perDigitFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fitted");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("fonts 12") << "fonts" << "12" << "122222" << QStringList{cmd("F122222"), cmd("MAAAAAA")};
        QTest::newRow("fonts u") << "fonts" << "1u!" << "1U!!!!" << QStringList{cmd("F1U!!!!"), cmd("MAAAAAA")};
        QTest::newRow("effects x dropped") << "effects" << "x3" << "333333"
                                           << QStringList{cmd("E333333"), cmd("MAAAAAA")};
        QTest::newRow("speeds cut") << "speeds" << "9876543210" << "987654"
                                    << QStringList{cmd("S987654"), cmd("MAAAAAA")};
        QTest::newRow("underscore") << "underscore" << "1021" << "101111"
                                    << QStringList{cmd("U101111"), cmd("MAAAAAA")};
        QTest::newRow("emptied") << "underscore" << "" << "000000" << QStringList{cmd("U000000"), cmd("MAAAAAA")};
        QTest::newRow("message") << "sentence" << "hi 2!#" << "HI 2!!" << QStringList{cmd("MHI 2!!")};
        QTest::newRow("eleventh key dropped") << "sentence" << "abcdefghijk" << "ABCDEF" << QStringList{cmd("MABCDEF")};
    }
    void perDigitFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, fitted);
        QFETCH(QStringList, sent);
        Bench b;
        b.enter(field, typed);
        QCOMPARE(b.text(field), fitted);
        QTRY_COMPARE(b.sim.commands(), sent);
    }

    void typingLimitsAndLeaving()
    {
        Bench b;
        retype(b.edit("fonts"), "123456789012");
        QCOMPARE(b.text("fonts"), QStringLiteral("1234567890"));
        leaveBox(b.edit("fonts"));
        QCOMPARE(b.text("fonts"), QStringLiteral("123456"));
        retype(b.edit("Text1"), "123");
        QCOMPARE(b.text("Text1"), QStringLiteral("12"));
        leaveBox(b.edit("Text1"));
        QCOMPARE(b.text("fonts"), QStringLiteral("123456666666"));
        b.enter("Text1", "20");
        QCOMPARE(b.text("sentence").size(), 20);
        // Text the program set is kept whole; typing stops at the limit.
        typeInto(b.edit("sentence"), "B");
        QCOMPARE(b.text("sentence"), QString(20, u'A'));
        giveFocus(b.edit("effects"));
        paste(b.edit("effects"), QString::fromUtf8("7\u0101y"));
        leaveBox(b.edit("effects"));
        QCOMPARE(b.text("effects"), QString(20, u'7'));
        retype(b.edit("xcount"), "12345678");
        QCOMPARE(b.text("xcount"), QStringLiteral("123456"));
        QTest::qWait(50);
        QCOMPARE(b.sim.commands(), QStringList());
    }

    void numberOfDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("n");
        QTest::newRow("8") << "8" << false << "8";
        QTest::newRow("3") << "3" << false << "3";
        QTest::newRow("0") << "0" << false << "1";
        QTest::newRow("25") << "25" << false << "20";
        QTest::newRow("pasted letters") << "4abc" << true << "4";
        QTest::newRow("pasted text") << "abc" << true << "1";
    }
    void numberOfDigits()
    {
        QFETCH(QString, typed);
        QFETCH(bool, paste);
        QFETCH(QString, n);
        Bench b;
        if (paste)
            ::paste(b.edit("Text1"), typed);
        else
            retype(b.edit("Text1"), typed);
        pressEnter(b.edit("Text1"));
        QCOMPARE(b.text("Text1"), n);
        for (const char* f : {"fonts", "effects", "speeds", "underscore"})
            QCOMPARE(b.text(f), QString(n.toInt(), u'0'));
        QCOMPARE(b.text("sentence"), QString(n.toInt(), u'A'));
        QTest::qWait(30);
        QCOMPARE(b.sim.commands(), QStringList());
    }

    void characterBox_data()
    {
        QTest::addColumn<bool>("udc");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("sent"); // "" when nothing is sent
        QTest::newRow("b") << false << int('b') << "B";
        QTest::newRow("# dropped") << false << int('#') << "";
        QTest::newRow("blank") << false << int(' ') << " ";
        QTest::newRow("# with UDC") << true << int('#') << "#";
        QTest::newRow("b with UDC") << true << int('b') << "b";
        QTest::newRow("e acute") << false << 0xe9 << QString(QChar(0xc9));
        QTest::newRow("above 255") << true << 0x101 << "";
    }
    void characterBox()
    {
        QFETCH(bool, udc);
        QFETCH(int, key);
        QFETCH(QString, sent);
        Bench b;
        b.w.form()->findChild<QCheckBox*>("udcset")->setChecked(udc);
        // Any character, as the keyboard delivers it (not only ASCII keys).
        giveFocus(b.edit("charout"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(key)));
        QApplication::sendEvent(b.edit("charout"), &press);
        QTest::qWait(30);
        if (sent.isEmpty()) {
            QCOMPARE(b.text("charout"), QStringLiteral("A"));
            QCOMPARE(b.sim.commands(), QStringList());
            return;
        }
        QCOMPARE(b.text("charout"), sent);
        QTRY_COMPARE(b.messages(), QStringList{sent});
        pressEnter(b.edit("charout"));
        QTRY_COMPARE(b.messages(), (QStringList{sent, sent}));
    }

    void animationBoxes_data()
    {
        QTest::addColumn<QStringList>("typed"); // Start, Stop, Delay
        QTest::addColumn<QStringList>("result");
        QTest::newRow("swap") << QStringList{"65", "48", "100"} << QStringList{"48", "65", "100"};
        QTest::newRow("start 13") << QStringList{"13", "20", "100"} << QStringList{"14", "20", "100"};
        QTest::newRow("both high") << QStringList{"200", "130", "100"} << QStringList{"125", "125", "100"};
        QTest::newRow("low start") << QStringList{"2", "9", "0"} << QStringList{"10", "10", "1"};
        QTest::newRow("long delay") << QStringList{"48", "57", "5000"} << QStringList{"48", "57", "2000"};
        QTest::newRow("letter in delay") << QStringList{"48", "57", "1x2"} << QStringList{"48", "57", "12"};
    }
    void animationBoxes()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, result);
        Bench b;
        // Leaving a box normalises all three, so Start and Stop are pasted
        // and only Delay is typed.
        paste(b.edit("animation_0"), typed[0]);
        paste(b.edit("animation_1"), typed[1]);
        retype(b.edit("animation_2"), typed[2]);
        pressEnter(b.edit("animation_2"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(b.text(arrayName("animation", i)), result[i]);
        QCOMPARE(b.w.timer1Interval(), result[2].toInt());
        // A letter typed into Start or Stop stands for its code.
        retype(b.edit("animation_1"), "a");
        QCOMPARE(b.text("animation_1"), QStringLiteral("97"));
        retype(b.edit("animation_0"), "A");
        QCOMPARE(b.text("animation_0"), QStringLiteral("65"));
    }

    void animateWrapsAndRepeats()
    {
        Bench b;
        b.enter("animation_2", "1");
        b.mode(0)->setChecked(true);
        QCOMPARE(b.text("acc"), QStringLiteral("48"));
        QTRY_VERIFY_WITH_TIMEOUT(b.messages().size() >= 12, 5000);
        b.mode(0)->setChecked(false);
        const QStringList m = b.messages();
        QCOMPARE(m.mid(0, 12), (QStringList{"111111", "222222", "333333", "444444", "555555", "666666", "777777",
                                             "888888", "999999", "000000", "111111", "222222"}));
    }

    // Start 13 animates from 14: the socket never sees CR or "!" as a character.
    void animateNeverSendsReservedCodes()
    {
        Bench b;
        b.enter("animation_0", "12");
        b.enter("animation_1", "35");
        b.enter("animation_2", "1");
        retype(b.edit("animation_0"), "13");
        b.mode(0)->setChecked(true);
        QCOMPARE(b.text("animation_0"), QStringLiteral("14"));
        QCOMPARE(b.text("acc"), QStringLiteral("14"));
        QTRY_VERIFY_WITH_TIMEOUT(b.messages().size() >= 25, 8000);
        b.mode(0)->setChecked(false);
        for (const QString& m : b.messages()) {
            const int code = m.at(0).unicode();
            QVERIFY2(code >= 14 && code <= 35 && code != 33, qPrintable(QString::number(code)));
        }
    }

    void countTimeAndDate()
    {
        ManualClock clock(QDateTime(QDate(2024, 3, 7), QTime(9, 5, 7)));
        ClockOverride use(clock);
        Bench b;
        b.edit("xcount")->setText("7");
        b.mode(3)->setChecked(true);
        QTRY_VERIFY(b.messages().size() >= 2);
        // Going straight to Time leaves Time checked, with its own interval.
        b.mode(1)->setChecked(true);
        QVERIFY(!b.mode(3)->isChecked());
        QVERIFY(b.mode(1)->isChecked());
        QCOMPARE(b.w.timer1Interval(), 10);
        const QStringList counted = b.messages();
        QCOMPARE(counted.mid(0, 2), (QStringList{"000007", "000008"}));
        QCOMPARE(b.text("xcount"), QString::number(7 + counted.size()));

        QTRY_COMPARE(b.messages().mid(counted.size()), QStringList{"090507"});
        QTest::qWait(200);
        QCOMPARE(b.messages().mid(counted.size()), QStringList{"090507"});
        clock.setNow(QDateTime(QDate(2024, 3, 7), QTime(21, 5, 8)));
        QTRY_COMPARE(b.messages().mid(counted.size()), (QStringList{"090507", "210508"}));

        b.mode(2)->setChecked(true);
        QVERIFY(!b.mode(1)->isChecked());
        QTRY_COMPARE(b.messages().mid(counted.size() + 2), QStringList{"030724"});
        QTest::qWait(200);
        clock.setNow(QDateTime(QDate(2024, 12, 25), QTime(0, 0, 0)));
        QTRY_COMPARE(b.messages().mid(counted.size() + 2), (QStringList{"030724", "122524"}));

        // Unchecking the running mode leaves none running.
        b.mode(2)->setChecked(false);
        const qsizetype sent = b.messages().size();
        clock.setNow(QDateTime(QDate(2025, 1, 1), QTime(1, 2, 3)));
        QTest::qWait(150);
        QCOMPARE(b.messages().size(), sent);
    }

    void countPastSixDigitsAndStatusCode()
    {
        Bench b;
        b.edit("xcount")->setText("999999");
        b.enter("animation_2", "20");
        b.mode(3)->setChecked(true);
        QTRY_VERIFY(b.messages().size() >= 2);
        b.mode(3)->setChecked(false);
        QCOMPARE(b.messages().mid(0, 2), (QStringList{"999999", "000000"}));
        QVERIFY(b.text("xcount").toInt() > 999999);
        b.enter("xcount", "735148");
        QCOMPARE(b.text("statusbox"), QStringLiteral("Timer interval is currently:  20"));
    }

    void watchdogOnceAfterLoad()
    {
        Bench b(false);
        QCOMPARE(b.w.timer1Interval(), 0);
        QTRY_COMPARE(b.text("statusbox"), QStringLiteral("Timer 1 interval was out of range at  0"));
        QCOMPARE(b.w.timer1Interval(), 10);
        b.edit("statusbox")->clear();
        QTest::qWait(250);
        QCOMPARE(b.text("statusbox"), QString());
    }

    // A mode clicked during an upload waits for it: every code is written
    // once, with its own pattern.
    void animateWaitsForUpload()
    {
        QStringList accShown; // outlives the window's box
        Bench b;
        b.w.uploadPacing = 1;
        b.enter("animation_2", "1");
        QObject::connect(&b.sim, &BoardSimulator::commandReceived, &b.sim, [&] {
            if (b.sim.commands().size() == 9)
                QTimer::singleShot(0, [&] { b.mode(0)->setChecked(true); });
        });
        QObject::connect(b.edit("acc"), &QLineEdit::textChanged, &b.sim, [&](const QString& t) {
            if (b.w.uploading())
                accShown << t;
        });
        b.click(Ctrl_9693_lumatile::WriteAll);
        QVERIFY(b.mode(0)->isChecked());
        // No animation step inside the upload: its commands are the font
        // command, then a write and a one-character message per code, and
        // "acc" shows each code once, in order, moved by nothing else.
        QTRY_VERIFY(b.sim.commands().size() >= 229);
        const QStringList upload = b.sim.commands().mid(0, 229);
        QString letters;
        for (const QString& c : upload) {
            letters += c.at(3);
            if (c.startsWith("$B7M"))
                QCOMPARE(c.size(), 5);
        }
        QCOMPARE(letters, "F" + QString("WM").repeated(114));
        QStringList codes;
        for (int code = 10; code <= 125; ++code)
            if (writableCode(code))
                codes << QString::number(code);
        QCOMPARE(accShown, codes);
        QString written;
        for (const QString& c : b.sim.commands())
            if (c.startsWith("$B7W")) {
                written += c.at(4);
                QCOMPARE(c.mid(5), b.w.fontarray[c.at(4).unicode()]);
            }
        QString all;
        for (int code = 10; code <= 125; ++code)
            if (writableCode(code))
                all += QChar(code);
        QCOMPARE(written, all);
        QTRY_VERIFY(b.messages().last().size() == 6);
        b.mode(0)->setChecked(false);
    }

    void closeDuringCount()
    {
        Bench b;
        b.enter("animation_2", "1");
        b.mode(3)->setChecked(true);
        QTRY_VERIFY(b.messages().size() >= 3);
        b.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b.w.isLoaded());
        const qsizetype atClose = b.sim.commands().size();
        QTest::qWait(150);
        QCOMPARE(b.sim.commands().size(), atClose);
        b.w.show();
        QVERIFY(!b.mode(3)->isChecked());
    }

    void quitDuringUpload()
    {
        Bench b;
        b.w.uploadPacing = 2;
        QObject::connect(&b.sim, &BoardSimulator::commandReceived, &b.sim, [&] {
            if (b.sim.commands().size() == 7)
                setQuitting(true);
        });
        b.click(Ctrl_9693_lumatile::WriteAll);
        const bool ended = !b.w.uploading();
        const qsizetype atQuit = b.sim.commands().size();
        QTest::qWait(60);
        setQuitting(false);
        QVERIFY(ended);
        QVERIFY(atQuit <= 8);
        QCOMPARE(b.sim.commands().size(), atQuit);
    }

    // Quitting the program in the middle of an upload still saves "lu.ini".
    void quitDuringUploadSavesSettings()
    {
        Bench b;
        b.w.uploadPacing = 2;
        const QString path = Ctrl_9693_lumatile::settingsPath();
        QFile::remove(path);
        const QByteArray saved = b.text("fontfile").toLatin1() + "\r\n";
        QObject::connect(&b.sim, &BoardSimulator::commandReceived, &b.sim, [&] {
            if (b.sim.commands().size() == 7)
                QTimer::singleShot(0, [&] { closeOrQuit(b.w, true); });
        });
        b.click(Ctrl_9693_lumatile::WriteAll);
        QVERIFY(closedAndRecovered(b.w, true));
        QVERIFY(b.sim.commands().size() < 229);
        QVERIFY(QFile::exists(path));
        QCOMPARE(readFile(path), saved);
    }

    void helpWindow()
    {
        Bench b(false);
        QTest::mouseClick(b.w.form()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        auto& h = FormSlots::get<Ctrl_9693_lumatilehelp>();
        QVERIFY(h.visible());
        QCOMPARE(h.caption(), QStringLiteral("Lumatiles Protocol Help"));
        auto* list = h.form()->findChild<QListWidget*>("helplist");
        auto* page = h.form()->findChild<RtfView*>("helprtf");
        QCOMPARE(list->count(), 14);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Select help subject"));
        QCOMPARE(page->toPlainText(), QString());

        list->setCurrentRow(3);
        QCOMPARE(list->item(3)->text(), QStringLiteral("Commands"));
        QVERIFY2(page->toPlainText().contains("$B7W"), qPrintable(page->toPlainText()));
        const QString shown = page->toPlainText();
        list->setCurrentRow(0);
        QCOMPARE(page->toPlainText(), shown);

        QVERIFY(QFile::remove(b.tf.appFile("lu_commands.rtf")));
        list->setCurrentRow(3);
        QCOMPARE(page->toPlainText(), QStringLiteral("Help file not installed!  Please run the latest voltaris installer."));

        // A damaged page shows what can be made of it.
        const QByteArray intro = readFile(b.tf.appFile("lu_intro.rtf"));
        writeFile(b.tf.appFile("lu_intro.rtf"), intro.left(intro.size() / 2) + "{\\b\\'zz\\u99999999");
        list->setCurrentRow(1);
        QVERIFY(page->toPlainText().contains("Lumatile"));
    }

    void everyTopicHasItsPage()
    {
        const QStringList topics = Ctrl_9693_lumatilehelp::topics();
        QCOMPARE(topics.size(), 14);
        QCOMPARE(Ctrl_9693_lumatilehelp::pageOf("FONT: UDC INIT"), QStringLiteral("udc.rtf"));
        for (const QString& t : topics.mid(1)) {
            const QString path = QDir(sourceDataDir()).filePath("lu_" + Ctrl_9693_lumatilehelp::pageOf(t));
            QFile f(path);
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
            QTextDocument doc;
            rtfToDocument(f.readAll(), &doc);
            QVERIFY2(doc.toPlainText().trimmed().size() > 100, qPrintable(path));
            QVERIFY2(!doc.toPlainText().contains("\\"), qPrintable(path));
        }
    }
};

VOLTARIS_TEST(LumatileFieldsTest);

#include "test_lumatilefields.moc"
