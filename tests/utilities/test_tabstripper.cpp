#include "support/alertsink.h"
#include "support/filechoice.h"
#include "support/loopgaps.h"
#include "support/modal.h"
#include "support/newersaves.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/files.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "utilities/tabstrip.h"
#include "utilities/util_tabstripper.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
Util_tabstripper& window()
{
    return FormSlots::get<Util_tabstripper>();
}
template <class W>
W* ctl(const char* name)
{
    auto* w = window().form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", name);
    return w;
}
QString text(const char* name)
{
    return ctl<QLineEdit>(name)->text();
}
QPushButton* button(const char* name)
{
    return ctl<QPushButton>(name);
}
QString shown()
{
    return ctl<QPlainTextEdit>("processedfile")->toPlainText();
}
void tick(const char* name, bool on)
{
    ctl<QCheckBox>(name)->setChecked(on);
}
// Load/Process with the chooser answered by path ("" cancels).
void processWith(FileChoiceAnswer& pick)
{
    button("Command1_0")->click();
    QCOMPARE(pick.asked(), 1);
    QCOMPARE(pick.title(), QString("Select file to convert tabs"));
}
void process(const QString& path)
{
    if (path.isEmpty()) {
        FileChoiceAnswer pick = FileChoiceAnswer::cancel();
        processWith(pick);
    } else {
        FileChoiceAnswer pick(path);
        processWith(pick);
    }
}
// The written form of the shown text: CR LF line ends, nothing added.
QByteArray shownAsWritten()
{
    return shown().replace("\n", "\r\n").toLatin1();
}
// Whether the buttons read: Load/Process, Save, Stop enabled.
QString buttons()
{
    QString s;
    for (const char* b : {"Command1_0", "Command1_1", "Command2"})
        s += button(b)->isEnabled() ? '1' : '0';
    return s;
}
const QByteArray twelveTabs = "a\tbc\td\r\n"
                              "\tx\r\n"
                              "abcd\tstop\r\n"
                              "\r\n"
                              "no tabs here\r\n"
                              "ends\t\r\n"
                              "\t\t\t\t\t\t\t";
const QString twelveShown = "a   bc  d\n"
                            "    x\n"
                            "abcd    stop\n"
                            "\n"
                            "no tabs here\n"
                            "ends    \n" +
                            QString(28, ' ') + "\n";
} // namespace

class TestTabStripper : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;
    QString file;

    // A file of many short lines with a TAB each.
    QString longFile()
    {
        QByteArray bytes;
        for (int i = 0; i < 400000; ++i)
            bytes += "x\ty\r\n";
        return writeFile(folders->workFile("long.txt"), bytes);
    }

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        file = QDir::toNativeSeparators(writeFile(folders->workFile("notes.txt"), twelveTabs));
        popup("Util_tabstripper");
        QVERIFY(window().visible());
    }
    void cleanup()
    {
        window().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        folders.reset();
    }

    void expansion_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("tabs");
        QTest::newRow("columns 1 5 9") << "a\tbc\td" << 4 << "a   bc  d" << 2;
        QTest::newRow("on a stop: full T") << "abcd\tx" << 4 << "abcd    x" << 1;
        QTest::newRow("trailing TAB") << "ab\t" << 4 << "ab  " << 1;
        QTest::newRow("leading TAB") << "\tx" << 4 << "    x" << 1;
        QTest::newRow("empty") << "" << 4 << "" << 0;
        QTest::newRow("no TAB") << "a  b " << 4 << "a  b " << 0;
        QTest::newRow("T 3") << "\t\tx\ty" << 3 << "      x  y" << 3;
        QTest::newRow("T 1") << "a\t\tb" << 1 << "a  b" << 2;
        QTest::newRow("high bytes") << QString::fromLatin1("\xe9\t\xff") << 8 << QString::fromLatin1("\xe9       \xff") << 1;
    }
    void expansion()
    {
        QFETCH(QString, line);
        QFETCH(int, size);
        int count = 5;
        QTEST(tabstrip::expandtabs(line, size, count), "out");
        QFETCH(int, tabs);
        QCOMPARE(count, 5 + tabs);
    }

    void tabSizes()
    {
        const std::pair<const char*, int> cases[] = {{"", 4},   {"0", 4},    {"-3", 4},  {"08", 8},  {"2.6", 3},
                                                     {"0.3", 4}, {"1e9", 64}, {"abc", 4}, {"7x", 7}, {"64", 64}};
        for (const auto& [text, size] : cases)
            QCOMPARE(tabstrip::tabsize(text), size);
    }

    void opensIdle()
    {
        QCOMPARE(window().caption(), QString("Tab to space converter"));
        QCOMPARE(buttons(), QString("100"));
        QCOMPARE(text("sysstatus"), QString("Select first file to strip"));
        QVERIFY(ctl<QPlainTextEdit>("processedfile")->isReadOnly());
    }

    void processShowsTheConversion_data()
    {
        QTest::addColumn<QString>("size");
        QTest::newRow("empty") << "";
        QTest::newRow("0") << "0";
        QTest::newRow("-3") << "-3";
        QTest::newRow("04") << "04";
    }
    void processShowsTheConversion()
    {
        QFETCH(QString, size);
        ctl<QLineEdit>("tabsize")->setText(size);
        process(file);
        QCOMPARE(text("tabsize"), QString("4"));
        QCOMPARE(shown(), twelveShown);
        QCOMPARE(text("sysstatus"), QString("OK:  12 tabs stripped"));
        QCOMPARE(text("rlines"), QString("7"));
        QCOMPARE(text("lastfile"), file);
        QCOMPARE(buttons(), QString("110"));
        QCOMPARE(readFile(file), twelveTabs); // not saved
    }

    // In the chooser a file highlighted with one click and OK is the file
    // loaded, not a silent cancel.
    void oneClickAndOKLoadsTheFile()
    {
        process(file); // the chooser opens next in this file's folder
        const QString other = QDir::toNativeSeparators(writeFile(folders->workFile("other.txt"), "a\tb\r\n"));
        ModalAnswer ok("OKButton");
        ok.setWindowName("Z_selectfile");
        ok.setBeforePress([](QWidget* dlg) {
            auto* list = dlg->findChild<QListWidget*>("filelist");
            const auto items = list->findItems("other.txt", Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
        });
        button("Command1_0")->click();
        QVERIFY(ok.answered());
        QCOMPARE(text("lastfile"), other);
        QCOMPARE(shown(), QString("a   b\n"));
    }

    void hugeTabSizeIsCut()
    {
        ctl<QLineEdit>("tabsize")->setText("99999999999");
        process(file);
        QCOMPARE(text("tabsize"), QString::number(tabstrip::kMaxTabSize));
        QVERIFY(shown().startsWith("a" + QString(63, ' ') + "bc" + QString(62, ' ') + "d\n"));
    }

    void saveAfterProcess_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("status");
        QTest::newRow("with backup") << true << "OK:  12 tabs stripped, Original file backed up, Converted file saved";
        QTest::newRow("without") << false << "OK:  12 tabs stripped, Converted file saved";
    }
    void saveAfterProcess()
    {
        QFETCH(bool, backup);
        tick("savewhendone", true);
        tick("savebackup", backup);
        process(file);
        QTEST(text("sysstatus"), "status");
        QCOMPARE(readFile(file), shownAsWritten());
        QCOMPARE(readFile(file), twelveShown.toLatin1().replace("\n", "\r\n"));
        QCOMPARE(QFile::exists(file + "bak"), backup);
        if (backup)
            QCOMPARE(readFile(file + "bak"), twelveTabs);
        QCOMPARE(buttons(), QString("110"));
    }

    void savingTwiceKeepsTheNewestBackup()
    {
        process(file);
        tick("savebackup", true);
        button("Command1_1")->click();
        QCOMPARE(text("sysstatus"), QString("OK: Original file backed up ,Converted file saved"));
        QCOMPARE(readFile(file + "bak"), twelveTabs);
        const QByteArray converted = readFile(file);
        QCOMPARE(converted, shownAsWritten());
        button("Command1_1")->click();
        QCOMPARE(readFile(file + "bak"), converted);
        QCOMPARE(readFile(file), converted);
        QCOMPARE(QDir(folders->work()).entryList(QDir::Files), QStringList({"notes.txt", "notes.txtbak"}));
    }

    // Every byte but TAB and the line ends comes back as it was.
    void bytesComeBack_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }
    void bytesComeBack()
    {
        QFETCH(QByteArray, end);
        QByteArray line, expected;
        for (int b = 0; b < 256; ++b)
            if (b != '\t' && b != '\r' && b != '\n')
                line += char(b);
        const QByteArray in = line + "\t|" + end + line + end + "\t" + line;
        const QByteArray pad(8 - line.size() % 8, ' ');
        const QByteArray out = line + pad + "|\r\n" + line + "\r\n" + "        " + line + "\r\n";
        writeFile(file, in);
        ctl<QLineEdit>("tabsize")->setText("8");
        tick("savewhendone", true);
        process(file);
        QCOMPARE(text("rlines"), QString("3"));
        QCOMPARE(readFile(file), out);
    }

    // A UTF-8 file goes back as UTF-8, whatever its characters.
    void utf8BytesComeBack_data()
    {
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("polish, cjk") << QByteArray("\xc5\x81\xc3\xb3" "d\xc5\xba\t|\r\n\xe6\xb8\xac\xe4\xbd\x8d")
                                     << QByteArray("\xc5\x81\xc3\xb3" "d\xc5\xba    |\r\n\xe6\xb8\xac\xe4\xbd\x8d\r\n");
        QTest::newRow("latin-1 letters only") << QByteArray("caf\xc3\xa9\t|\n")
                                              << QByteArray("caf\xc3\xa9    |\r\n");
    }
    void utf8BytesComeBack()
    {
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        writeFile(file, in);
        ctl<QLineEdit>("tabsize")->setText("8");
        tick("savewhendone", true);
        process(file);
        QCOMPARE(readFile(file), out);
    }

    // A file that starts with a byte-order mark keeps it, whether saved
    // when done or by Save, and the box shows the text after it.
    void markComesBack_data()
    {
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("whenDone");
        const QByteArray utf8In("\xef\xbb\xbf\xce\xa9\t|\n"), utf8Out("\xef\xbb\xbf\xce\xa9       |\r\n");
        const QByteArray latinIn("\xef\xbb\xbf\xe9\t|\n"), latinOut("\xef\xbb\xbf\xe9       |\r\n");
        for (bool whenDone : {true, false}) {
            const char* how = whenDone ? ", saved when done" : ", Save";
            QTest::addRow("UTF-8%s", how) << utf8In << utf8Out << QString::fromUtf8("Ω       |\n") << whenDone;
            QTest::addRow("Latin-1%s", how) << latinIn << latinOut << QString::fromUtf8("é       |\n") << whenDone;
        }
    }
    void markComesBack()
    {
        QFETCH(QByteArray, in);
        QFETCH(QByteArray, out);
        QFETCH(QString, box);
        QFETCH(bool, whenDone);
        writeFile(file, in);
        ctl<QLineEdit>("tabsize")->setText("8");
        tick("savewhendone", whenDone);
        process(file);
        QCOMPARE(shown(), box);
        if (!whenDone) {
            QCOMPARE(readFile(file), in);
            button("Command1_1")->click();
        }
        QCOMPARE(readFile(file), out);
    }

    void emptyFile()
    {
        writeFile(file, "");
        tick("savewhendone", true);
        process(file);
        QCOMPARE(text("sysstatus"), QString("OK:  0 tabs stripped, Converted file saved"));
        QCOMPARE(text("rlines"), QString("0"));
        QCOMPARE(shown(), QString());
        QCOMPARE(readFile(file), QByteArray());
    }

    // A line that would grow past what can be shown is refused whole.
    void tooLongLine()
    {
        const QByteArray tabs(20000, '\t');
        writeFile(file, "first\r\n" + tabs + "\r\n");
        ctl<QLineEdit>("tabsize")->setText("64");
        tick("savewhendone", true);
        process(file);
        QCOMPARE(text("sysstatus"), QString("Line 2 is too long to show, file not converted"));
        QCOMPARE(shown(), QString());
        QCOMPARE(buttons(), QString("100"));
        QCOMPARE(readFile(file), "first\r\n" + tabs + "\r\n");
    }

    // No file, a missing one, a cancelled choice: the display is emptied
    // and Save can no longer write an empty text over the last file.
    void noFileLeavesNothingToSave()
    {
        process(file);
        QCOMPARE(buttons(), QString("110"));
        process(QString());
        QCOMPARE(text("sysstatus"), QString("No file selected"));
        QCOMPARE(shown(), QString());
        QCOMPARE(buttons(), QString("100"));
        button("Command1_1")->click();
        QCOMPARE(readFile(file), twelveTabs);

        process(file);
        process(folders->workFile("gone.txt"));
        QCOMPARE(text("sysstatus"), QString("File selected does not exist, unknown reason"));
        QCOMPARE(buttons(), QString("100"));
        QCOMPARE(text("lastfile"), file);
    }

    void lastFileSurvivesClosing()
    {
        process(file);
        window().unload();
        QStringList lines;
        filelines("load", Util_tabstripper::settingsPath(), lines);
        QCOMPARE(lines[1], file);
        QCOMPARE(QFileInfo(Util_tabstripper::settingsPath()).fileName(), QString("voltaris_ts.ini"));
        popup("Util_tabstripper");
        QCOMPARE(text("lastfile"), file);
        QCOMPARE(buttons(), QString("100"));
        // The chooser opens in the last file's folder.
        FileChoiceAnswer pick = FileChoiceAnswer::cancel();
        button("Command1_0")->click();
        QCOMPARE(QDir::toNativeSeparators(pick.choosers.at(0).folder), QDir::toNativeSeparators(folders->work()));
    }

    // A folder where the backup or the file must go: the status and one
    // alert name it, and neither the file nor an older backup is lost.
    void writeFailures_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("folderAt"); // "bak" or "file"
        QTest::addColumn<bool>("viaSave");
        QTest::newRow("backup is a folder, after process") << true << "bak" << false;
        QTest::newRow("backup is a folder, Save") << true << "bak" << true;
        QTest::newRow("file is a folder, Save") << false << "file" << true;
        QTest::newRow("file is a folder, with backup") << true << "file" << true;
    }
    void writeFailures()
    {
        QFETCH(bool, backup);
        QFETCH(QString, folderAt);
        QFETCH(bool, viaSave);
        tick("savebackup", backup);
        tick("savewhendone", !viaSave);
        const QString bak = file + "bak";
        QString named = bak;
        if (folderAt == "bak") {
            QDir().mkpath(bak + "/old");
        } else {
            named = folders->workFile("dir.txt");
            QDir().mkpath(named);
        }
        // One alert is answered (a second would stay open and hang the
        // test); the file chooser is left to its own answer.
        ModalAnswer alert("Command1_0");
        alert.setWindowName("Z_alert");
        if (viaSave) {
            process(file);
            QVERIFY(!alert.answered());
            if (folderAt == "file")
                ctl<QLineEdit>("lastfile")->setText(named);
            button("Command1_1")->click();
        } else {
            process(file);
        }
        QVERIFY(alert.answered());
        QVERIFY2(text("sysstatus").contains(named), qPrintable(text("sysstatus")));
        QVERIFY(alert.text().contains(named));
        QVERIFY(!text("sysstatus").contains("Converted file saved"));
        QCOMPARE(readFile(file), twelveTabs);
        QVERIFY(QFileInfo(folderAt == "bak" ? bak + "/old" : named).isDir());
        QCOMPARE(buttons(), QString("110"));
    }

    // Another save of the backup or of the file begun while the window
    // writes it wins: its contents stand, one alert names the file, and
    // the status reads as no success.
    void newerSaveWins_data()
    {
        QTest::addColumn<bool>("ofBackup");
        QTest::newRow("of the backup") << true;
        QTest::newRow("of the file") << false;
    }
    void newerSaveWins()
    {
        QFETCH(bool, ofBackup);
        process(file);
        tick("savebackup", true);
        const QString target = ofBackup ? file + "bak" : file;
        AlertSink alerts;
        {
            NewerSaves other(target, "newer\r\n");
            button("Command1_1")->click();
            QVERIFY(other.saves() > 0);
        }
        QCOMPARE(alerts.titles.size(), 1);
        QVERIFY(alerts.texts.first().contains(target));
        QVERIFY(alerts.texts.first().contains("newer save"));
        QCOMPARE(readFile(target), QByteArray("newer\r\n"));
        QVERIFY2(!text("sysstatus").startsWith("OK") && !text("sysstatus").contains("Converted file saved")
                     && text("sysstatus").contains(target),
                 qPrintable(text("sysstatus")));
        if (ofBackup)
            QCOMPARE(readFile(file), twelveTabs);
        else
            QCOMPARE(readFile(file + "bak"), twelveTabs);
        QCOMPARE(buttons(), QString("110"));
    }

    // A file that ends with a line end keeps its number of lines however
    // often it is processed and saved.
    void savingAgainAddsNoLine()
    {
        tick("savewhendone", true);
        process(file);
        const QByteArray once = readFile(file);
        QCOMPARE(once.count('\n'), 7);
        process(file);
        QCOMPARE(readFile(file), once);
        button("Command1_1")->click();
        button("Command1_1")->click();
        QCOMPARE(readFile(file), once);
        QCOMPARE(shownAsWritten(), once);
    }

    // Reading, converting and showing a large file all serve the event
    // loop in short slices, with the busy sign up meanwhile.
    void largeFileInSlices()
    {
        QByteArray bytes;
        for (int i = 0; bytes.size() < 3 * 1024 * 1024; ++i)
            bytes += "line " + QByteArray::number(i) + "\tcolumn\tend of it\r\n";
        const int lines = int(bytes.count('\n'));
        const QString big = writeFile(folders->workFile("big.txt"), bytes);
        bool busySeen = true;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            FileChoiceAnswer pick(big);
            gaps.watchBusySign(window().form());
            gaps.restart();
            button("Command1_0")->click();
            gaps.stop();
            busySeen = busySeen && gaps.busySignSeen();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY(busySeen);
        QCOMPARE(window().form()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(text("rlines"), QString::number(lines));
        QCOMPARE(text("sysstatus"), QString("OK: ") + numstr(2.0 * lines) + " tabs stripped");
        auto* box = ctl<QPlainTextEdit>("processedfile");
        QCOMPARE(box->blockCount(), lines + 1);
        int tabs = 0;
        QCOMPARE(box->document()->findBlockByNumber(lines - 1).text(),
                 tabstrip::expandtabs("line " + QString::number(lines - 1) + "\tcolumn\tend of it", 4, tabs));
        button("Command1_1")->click();
        QCOMPARE(readFile(big), shownAsWritten());
    }

    // Stop while the display fills: nothing is shown or saved.
    void stopWhileShowing()
    {
        const QString big = longFile();
        const QByteArray before = readFile(big);
        tick("savewhendone", true);
        bool pressed = false;
        QTimer stopper;
        stopper.setInterval(1);
        connect(&stopper, &QTimer::timeout, [&] {
            if (window().processing() && !pressed && ctl<QPlainTextEdit>("processedfile")->blockCount() > 1) {
                pressed = true;
                button("Command2")->click();
            }
        });
        stopper.start();
        process(big);
        stopper.stop();
        QVERIFY(pressed);
        QCOMPARE(text("rlines"), QString("400000"));
        QCOMPARE(shown(), QString());
        QCOMPARE(buttons(), QString("100"));
        QCOMPARE(readFile(big), before);
    }

    void stopMidRun()
    {
        const QString big = longFile();
        const QByteArray before = readFile(big);
        tick("savewhendone", true);
        int readAtStop = -1;
        QTimer stopper;
        stopper.setInterval(1);
        connect(&stopper, &QTimer::timeout, [&] {
            if (window().processing() && readAtStop < 0 && text("rlines").toInt() > 0) {
                QCOMPARE(buttons(), QString("001"));
                readAtStop = text("rlines").toInt();
                button("Command2")->click();
            }
        });
        stopper.start();
        process(big);
        stopper.stop();
        QVERIFY(readAtStop > 0);
        QVERIFY(text("rlines").toInt() < 400000);
        QCOMPARE(shown(), QString());
        QCOMPARE(buttons(), QString("100"));
        QCOMPARE(readFile(big), before);
        QVERIFY(!QFile::exists(big + "bak"));
    }

    // A second Load/Process press during a run is ignored.
    void secondPressIgnored()
    {
        const QString big = longFile();
        int pressed = 0;
        QTimer again;
        again.setInterval(1);
        connect(&again, &QTimer::timeout, [&] {
            if (window().processing() && pressed == 0) {
                ++pressed;
                button("Command1_0")->setEnabled(true);
                button("Command1_0")->click(); // would ask for a file
            }
        });
        again.start();
        process(big);
        again.stop();
        QCOMPARE(pressed, 1);
        QCOMPARE(text("rlines"), QString("400000"));
        QCOMPARE(text("sysstatus"), QString("OK:  400000 tabs stripped"));
    }

    void endedDuringRun_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void endedDuringRun()
    {
        QFETCH(bool, quit);
        const QString big = longFile();
        const QByteArray before = readFile(big);
        tick("savewhendone", true);
        tick("savebackup", true);
        EndMidway end(window(), [] { return window().processing(); }, quit);
        QElapsedTimer t;
        t.start();
        {
            FileChoiceAnswer pick(big);
            button("Command1_0")->click();
        }
        QVERIFY(end.ended());
        QVERIFY(!window().processing());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window().isLoaded());
        QCOMPARE(readFile(big), before);
        QVERIFY(!QFile::exists(big + "bak"));
        QStringList lines;
        filelines("load", Util_tabstripper::settingsPath(), lines);
        QCOMPARE(lines[1], QDir::toNativeSeparators(big));
        popup("Util_tabstripper");
        QCOMPARE(buttons(), QString("100"));
    }
};

VOLTARIS_TEST(TestTabStripper);
#include "test_tabstripper.moc"
