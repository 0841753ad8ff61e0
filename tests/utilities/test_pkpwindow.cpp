#include "support/alertsink.h"
#include "support/filechoice.h"
#include "support/loopgaps.h"
#include "support/quitting.h"

#include "support/modal.h"
#include "support/newersaves.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/paths.h"
#include "common/textlines.h"
#include "utilities/boardfile.h"
#include "utilities/util_pkptocohu.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace {
const QByteArray smallBoard = "Proteus pick and place\r\n"
                              "\r\n"
                              "Part ID,Value,Package,Layer,Rotation,X,Y\r\n"
                              "\"R1\",\"10k\",\"RES40\",TOP,-90,1500,200.5\r\n"
                              "\"J1\",\"HDR\",\"CONN\",TOP,0,10,20\r\n"
                              "\"C1\",\"100n\",\"CAP10\",BOT,90.5,50,-12.5\r\n"
                              "\"R2\",\"DNI\",\"RES40\",top,0,1,1\r\n"
                              "\"U1\",\"MCU\",\"QFP\",inner,0,1,1"; // no line end

Util_pkptocohu& window()
{
    return FormSlots::get<Util_pkptocohu>();
}

template <class W = QWidget>
W* ctl(const QString& name)
{
    auto* w = window().form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

QString shown(const char* box)
{
    return ctl<QPlainTextEdit>(box)->toPlainText();
}

void press(const QString& button)
{
    ctl<QPushButton>(button)->click();
}

// Reads a pick-and-place file through the button and the chooser.
void readPkp(const QString& path)
{
    FileChoiceAnswer pick(path);
    press("Command1_0");
    QCOMPARE(pick.asked(), 1);
}

} // namespace

class TestPkpWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;
    QString boardDir;
    QString board;

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        boardDir = QDir::toNativeSeparators(folders->workFile("boards"));
        board = QDir::toNativeSeparators(writeFile(boardDir + "/main.pkp", smallBoard));
        popup("Util_pkptocohu");
        QVERIFY(window().isLoaded());
    }
    void cleanup()
    {
        window().unload();
        folders.reset();
    }

    void readShowsBothSides()
    {
        readPkp(board);
        QCOMPARE(window().lastdir(), boardDir);
        // Every box ticked: J1 and the DNI part are left out; the display
        // keeps the Symb-Value column.
        QCOMPARE(shown("topdata"), QString("TOP.XY\nmain Vx TOP\nRefdes\tX\tY\tRotate\tPart#\t\tSymb-Value\n"
                                           "R1\t1500\t201\t270\t##########\tRES40-10k"));
        QCOMPARE(shown("botdata"), QString("BOTTOM.XY\nmain Vx Bottom\nRefdes\tX\tY\tRotate\tPart#\t\tSymb-Value\n"
                                           "C1\t50\t-12\t90\t##########\tCAP10-100n"));
        // Clearing the boxes shows every placement at once.
        ctl<QCheckBox>("suppressjx")->click();
        QVERIFY(shown("topdata").contains("J1\t10\t20\t0"));
        QVERIFY(!shown("topdata").contains("R2"));
        ctl<QCheckBox>("suppressdni")->click();
        QVERIFY(shown("topdata").endsWith("R2\t1\t1\t0\t##########\tRES40-DNI"));
    }

    void mergeFillsPartNumbersAndOrphans()
    {
        readPkp(board);
        const QString parts = writeFile(boardDir + "/bom.csv",
                                        "Refdes,Part#,Value\n\"R1, C1,R1\",PN-1001 ,10k\nC1,PN-7 X7R,100n\n\nQ9,PN-9,x\n");
        {
            FileChoiceAnswer pick(parts);
            press("Command1_1");
            QCOMPARE(pick.asked(), 1);
            QCOMPARE(pick.choosers.at(0).folder, boardDir);
            QCOMPARE(pick.choosers.at(0).mask, QString("*.csv"));
        }
        QVERIFY(shown("topdata").endsWith("R1\t1500\t201\t270\tPN-1001\tRES40-10k"));
        QVERIFY(shown("botdata").endsWith("C1\t50\t-12\t90\tPN-1001\tCAP10-100n"));
        QCOMPARE(shown("orphans"), QString("Refdes\tPart#\nR1\tPN-1001\nC1\tPN-7\nQ9\tPN-9"));
        QCOMPARE(window().lastdir(), boardDir);

        // A parts list that cannot be read: an alert names it, the merged
        // numbers stay.
        const QString gone = boardDir + "/gone.csv";
        FileChoiceAnswer pick(gone);
        ModalAnswer pickAlert("Command1_0");
        pickAlert.setWindowName("Z_alert");
        press("Command1_1");
        QVERIFY(pickAlert.answered());
        QVERIFY(pickAlert.text().contains(gone));
        QVERIFY(shown("topdata").contains("PN-1001"));
    }

    void mergeWithoutExportDoesNothing()
    {
        {
            FileChoiceAnswer cancel = FileChoiceAnswer::cancel();
            press("Command1_0");
            QCOMPARE(cancel.asked(), 1);
        }
        ctl<QPlainTextEdit>("orphans")->setPlainText("kept");
        FileChoiceAnswer never(board);
        press("Command1_1");
        press("Command1_2");
        QTest::qWait(100);
        QCOMPARE(never.asked(), 0);
        QCOMPARE(shown("orphans"), QString("kept"));
        QCOMPARE(shown("topdata"), QString());
        QVERIFY(!QFile::exists(boardDir + "/_TOP.TXT") && !QFile::exists(boardDir + "/main_TOP.TXT"));
    }

    void unreadableExportLeavesNothingLoaded()
    {
        readPkp(board);
        {
            FileChoiceAnswer folder(boardDir); // a folder, not a file
            ModalAnswer folderAlert("Command1_0");
            folderAlert.setWindowName("Z_alert");
            press("Command1_0");
            QVERIFY(folderAlert.answered());
            QVERIFY(folderAlert.text().contains("Cannot read " + boardDir));
        }
        QCOMPARE(shown("topdata"), QString());
        QCOMPARE(shown("botdata"), QString());
        FileChoiceAnswer never(board);
        press("Command1_1");
        QCOMPARE(never.asked(), 0);
    }

    void outputFiles()
    {
        readPkp(board);
        retype(boxNamed(window(), "offset_0"), "100");
        pressEnter(boxNamed(window(), "offset_0"));
        QCOMPARE(boxNamed(window(), "offset_0")->text(), QString("100"));
        press("Command1_2");
        // "Symb in Output" ticked: five columns in the files.
        QCOMPARE(readFile(boardDir + "/main_TOP.TXT"),
                 QByteArray("TOP.XY\r\nmain Vx TOP\r\nRefdes\tX\tY\tRotate\tPart#\r\nR1\t1400\t201\t270\t##########\r\n"));
        QCOMPARE(readFile(boardDir + "/main_BOT.TXT"),
                 QByteArray("BOTTOM.XY\r\nmain Vx Bottom\r\nRefdes\tX\tY\tRotate\tPart#\r\nC1\t-50\t-12\t90\t##########\r\n"));
        QVERIFY(shown("topdata").endsWith("R1\t1400\t201\t270\t##########\tRES40-10k"));

        ctl<QCheckBox>("suppresssymb")->click();
        ctl<QCheckBox>("suppressex")->click();
        giveFocus(boxNamed(window(), "offset_1"));
        paste(boxNamed(window(), "offset_1"), "-2.5e1");
        leaveBox(boxNamed(window(), "offset_1"));
        QCOMPARE(boxNamed(window(), "offset_1")->text(), QString("-25"));
        press("Command1_2");
        QCOMPARE(readFile(boardDir + "/main_TOP.TXT"),
                 QByteArray("TOP.XY\r\nmain Vx TOP\r\nRefdes\tX\tY\tRotate\tPart#\t\tSymb-Value\r\n"
                            "R1\t1400\t226\t270\t##########\tRES40-10k\r\n"));
    }

    void emptySideWritesHeadersOnly()
    {
        const QString topOnly =
            writeFile(boardDir + "/top.pkp", "\"R1\",\"1k\",\"R\",TOP,0,0,0\n\"R2\",\"1k\",\"R\",BOTTOM,0,0,0\n");
        readPkp(topOnly);
        press("Command1_2");
        QCOMPARE(readFile(boardDir + "/top_BOT.TXT"), QByteArray("BOTTOM.XY\r\ntop Vx Bottom\r\nRefdes\tX\tY\tRotate\tPart#\r\n"));
        QCOMPARE(shown("botdata"), QString("BOTTOM.XY\ntop Vx Bottom\nRefdes\tX\tY\tRotate\tPart#\t\tSymb-Value"));
    }

    void unwritableSideStillWritesTheOther()
    {
        readPkp(board);
        QDir(boardDir).mkdir("main_TOP.TXT"); // a folder in the way
        ctl<QCheckBox>("suppressjx")->setChecked(false);
        ModalAnswer alert("Command1_0");
        press("Command1_2");
        QTRY_VERIFY(alert.answered());
        QVERIFY(alert.text().contains(QDir::toNativeSeparators(boardDir + "/main_TOP.TXT")));
        QVERIFY(readFile(boardDir + "/main_BOT.TXT").endsWith("C1\t50\t-12\t90\t##########\r\n"));
        QVERIFY(shown("topdata").contains("J1"));
    }

    // Another save of a side's file begun while the window writes it wins:
    // its contents stand, one alert names the file, and the other side is
    // still written.
    void newerSaveOfASideFile()
    {
        readPkp(board);
        const QString top = boardDir + "/main_TOP.TXT";
        AlertSink alerts;
        {
            NewerSaves other(top, "newer\r\n");
            press("Command1_2");
            QVERIFY(other.saves() > 0);
        }
        QCOMPARE(alerts.titles.size(), 1);
        QVERIFY(alerts.texts.first().contains(top));
        QVERIFY(alerts.texts.first().contains("newer save"));
        QCOMPARE(readFile(top), QByteArray("newer\r\n"));
        QVERIFY(readFile(boardDir + "/main_BOT.TXT").startsWith("BOTTOM.XY\r\nmain Vx Bottom\r\n"));
        QVERIFY(shown("topdata").startsWith("TOP.XY\nmain Vx TOP\n"));
    }

    // Coordinates from 1e15 on are written in digits like all others.
    void largeCoordinatesInDigits()
    {
        readPkp(writeFile(boardDir + "/far.pkp", "\"R1\",\"1k\",\"R\",TOP,0,1e20,-1e15\r\n"
                                                 "\"C1\",\"1n\",\"C\",BOT,0,999999999999999,2.5e15\r\n"));
        press("Command1_2");
        const QByteArray top = readFile(boardDir + "/far_TOP.TXT");
        const QByteArray bottom = readFile(boardDir + "/far_BOT.TXT");
        QVERIFY2(top.contains("R1\t100000000000000000000\t-1000000000000000\t0\t"), top.constData());
        QVERIFY2(bottom.contains("C1\t999999999999999\t2500000000000000\t0\t"), bottom.constData());
    }

    // Sixteen digits and more keep every digit of the value held, in the
    // list shown and in the file, offset or not (17 digits hold the double
    // nearest to what the file says).
    void longCoordinatesKeepEveryDigit()
    {
        readPkp(writeFile(boardDir + "/long.pkp", "\"R1\",\"1k\",\"R\",TOP,0,1234567890123456,-1234567890123456\r\n"
                                                  "\"R2\",\"1k\",\"R\",TOP,0,12345678901234567,9007199254740991\r\n"));
        const QString r1 = "R1\t1234567890123456\t-1234567890123456\t0\t##########";
        const QString r2 = "R2\t12345678901234568\t9007199254740991\t0\t##########";
        QVERIFY2(shown("topdata").endsWith(r1 + "\tR-1k\n" + r2 + "\tR-1k"), qPrintable(shown("topdata")));
        press("Command1_2");
        QVERIFY(readFile(boardDir + "/long_TOP.TXT").endsWith((r1 + "\r\n" + r2 + "\r\n").toLatin1()));
        retype(boxNamed(window(), "offset_0"), "1");
        pressEnter(boxNamed(window(), "offset_0"));
        QVERIFY2(shown("topdata").contains("R1\t1234567890123455\t-1234567890123456\t"), qPrintable(shown("topdata")));
    }

    void offsetsNeverShowNonNumbers_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("box");
        QTest::newRow("text") << "abc" << "0";
        QTest::newRow("negative fraction") << "-12.6" << "-13";
        QTest::newRow("huge") << "1e400" << "---";
        QTest::newRow("exponent") << "1.5e3" << "1500";
    }
    void offsetsNeverShowNonNumbers()
    {
        QFETCH(QString, pasted);
        readPkp(board);
        QLineEdit* box = boxNamed(window(), "offset_0");
        giveFocus(box);
        paste(box, pasted);
        leaveBox(box);
        QTEST(box->text(), "box");
        const QString top = shown("topdata");
        QVERIFY2(!top.contains("inf", Qt::CaseInsensitive) && !top.contains("nan", Qt::CaseInsensitive),
                 qPrintable(top));
    }

    void damagedExports_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("topLines");
        QTest::newRow("empty") << QByteArray() << 3;
        QTest::newRow("truncated mid-line") << QByteArray("\"R1\",\"1k\",\"R\",TOP,0,1") << 4;
        static const char binary[] = "\"\0\x01\xff,\r\r\n\",top\0,1,2,3\n\x80\"";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << 3;
        QTest::newRow("one long line") << QByteArray("\"R1\",\"") + QByteArray(1 << 20, 'x') + "\",\"R\",TOP,0,1,2" << 4;
        QTest::newRow("CR line ends") << QByteArray("\"R1\",\"1k\",\"R\",TOP,0,1,2\r\"R2\",\"1k\",\"R\",TOP,0,1,2\r") << 5;
    }
    void damagedExports()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, topLines);
        readPkp(writeFile(boardDir + "/bad.pkp", bytes));
        QCOMPARE(ctl<QPlainTextEdit>("topdata")->document()->blockCount(), topLines);
    }

    void pastOldCapacity()
    {
        QByteArray big;
        for (int i = 1; i <= 25000; ++i)
            big += "\"R" + QByteArray::number(i) + "\",\"1k\",\"R\",TOP,0," + QByteArray::number(i) + ",0\r\n";
        readPkp(writeFile(boardDir + "/big.pkp", big));
        QCOMPARE(window().placements().top.size(), size_t(25000));
        QPlainTextEdit* top = ctl<QPlainTextEdit>("topdata");
        QCOMPARE(top->document()->blockCount(), 25003);
        QCOMPARE(top->document()->lastBlock().text(), QString("R25000\t25000\t0\t0\t##########\tR-1k"));
    }

    // The placement files hold one byte per character: a UTF-8 export's
    // "é" goes in as it is, its "Ω" is refused and the old file stays.
    void outputOutsideLatin1()
    {
        const QString pkp = writeFile(boardDir + "/wide.pkp", "\"R1\",\"10k\xc3\xa9\",\"RES\",TOP,0,0,0\r\n"
                                                              "\"C1\",\"1\xce\xa9\",\"CAP\",BOT,0,0,0\r\n");
        const QByteArray old = "old bottom\r\n";
        writeFile(boardDir + "/wide_BOT.TXT", old);
        readPkp(pkp);
        ctl<QCheckBox>("suppresssymb")->click(); // the value goes into the files
        AlertSink alerts;
        press("Command1_2");
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains(QStringLiteral("\u03A9")));
        QVERIFY(alerts.texts[0].contains("wide_BOT.TXT"));
        QCOMPARE(readFile(boardDir + "/wide_BOT.TXT"), old);
        QVERIFY(readFile(boardDir + "/wide_TOP.TXT").contains("RES-10k\xe9\r\n"));
    }

    // Reading, merging, showing and writing a large board serve the event
    // loop in short slices; closing or quitting midway leaves the bottom
    // file (the last written) unwritten and the top file whole or absent,
    // never cut short.
    void largeBoardInSlices()
    {
        const int n = 40000;
        QByteArray pkp, parts;
        for (int i = 1; i <= n; ++i) {
            pkp += "\"R" + QByteArray::number(i) + "\",\"1k\",\"R\"," + (i % 2 ? "TOP" : "BOT") + ",0," +
                   QByteArray::number(i) + ",0\r\n";
            parts += "R" + QByteArray::number(i) + ",P" + QByteArray::number(i) + "\r\n";
        }
        const QString partsFile = writeFile(boardDir + "/big.csv", parts + "X1,extra\r\n");
        const QString pkpFile = writeFile(boardDir + "/big.pkp", pkp);
        bool busySeen = true;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            gaps.watchBusySign(window().form());
            gaps.restart();
            readPkp(pkpFile);
            {
                FileChoiceAnswer pick(partsFile);
                press("Command1_1");
            }
            press("Command1_2");
            gaps.stop();
            busySeen = busySeen && gaps.busySignSeen();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY(busySeen);
        QCOMPARE(shown("orphans"), QString("X1\textra"));
        QCOMPARE(ctl<QPlainTextEdit>("topdata")->document()->blockCount(), n / 2 + 3);
        const QByteArray top = readFile(boardDir + "/big_TOP.TXT");
        QCOMPARE(top.count('\n'), n / 2 + 3);
        QVERIFY(top.endsWith("R39999\t39999\t0\t0\tP39999\r\n"));

        for (bool quit : {false, true}) {
            QFile::remove(boardDir + "/big_TOP.TXT");
            QFile::remove(boardDir + "/big_BOT.TXT");
            EndMidway end(window(), [] { return window().form()->cursor().shape() == Qt::WaitCursor; }, quit);
            press("Command1_2");
            QVERIFY(end.ended());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!window().isLoaded());
            QVERIFY(!QFile::exists(boardDir + "/big_BOT.TXT"));
            QVERIFY(!QFile::exists(boardDir + "/big_TOP.TXT") || readFile(boardDir + "/big_TOP.TXT") == top);
            popup("Util_pkptocohu");
            readPkp(boardDir + "/big.pkp");
        }
    }

    // Options changed while a long showing runs are what the boxes end up
    // showing: the change waits for the run and is then shown whole, never
    // mixed with the lists of the options the run began with.
    void changeWhileShowing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("tick") << "suppressjx";
        QTest::newRow("offset") << "offset_0";
    }
    void changeWhileShowing()
    {
        QFETCH(QString, change);
        const int n = 30000;
        QByteArray pkp;
        for (int i = 1; i <= n; ++i)
            pkp += QByteArray(i % 2 ? "\"J" : "\"R") + QByteArray::number(i) + "\",\"1k\",\"R\"," +
                   (i % 4 < 2 ? "TOP" : "BOT") + ",0," + QByteArray::number(i) + ",0\r\n";
        readPkp(writeFile(boardDir + "/many.pkp", pkp));
        QCheckBox* dni = ctl<QCheckBox>("suppressdni");
        bool changed = false;
        QTimer::singleShot(0, [&] {
            changed = true;
            if (change == "offset_0") {
                retype(boxNamed(window(), "offset_0"), "7");
                pressEnter(boxNamed(window(), "offset_0"));
            } else {
                ctl<QCheckBox>(change)->click();
            }
        });
        dni->click(); // a long showing, the change made while it runs
        QVERIFY(changed);
        const QString top = shown("topdata"), bottom = shown("botdata");
        // What a showing with the final options alone gives.
        window().showdata(0);
        QCOMPARE(shown("topdata"), top);
        QCOMPARE(shown("botdata"), bottom);
        if (change == "offset_0") {
            QVERIFY(top.endsWith("R30000\t29993\t0\t0\t##########\tR-1k"));
        } else {
            QCOMPARE(ctl<QPlainTextEdit>("topdata")->document()->blockCount(), n / 2 + 3);
            QVERIFY(top.contains("\nJ29997\t29997\t0\t0\t##########\tR-1k\n"));
        }
    }

    // An export past the largest board file is refused whole: the alert
    // names it and the cap, and nothing of it is shown.
    void exportPastTheCap()
    {
        const QString huge = QDir::toNativeSeparators(boardDir + "/huge.pkp");
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(boardFileMaxBytes + 1));
        }
        ModalAnswer alert("Command1_0");
        alert.setWindowName("Z_alert");
        readPkp(huge);
        QVERIFY(alert.answered());
        QVERIFY2(alert.text().contains(toolargetext(huge, boardFileMaxBytes)), qPrintable(alert.text()));
        QCOMPARE(shown("topdata"), QString());
    }

    void lastdirSurvivesReopening()
    {
        readPkp(board);
        window().unload();
        QCOMPARE(readFile(Util_pkptocohu::settingsPath()), (boardDir + "\r\n").toLatin1());
        popup("Util_pkptocohu");
        QCOMPARE(window().lastdir(), boardDir);
        FileChoiceAnswer pick = FileChoiceAnswer::cancel();
        press("Command1_0");
        QCOMPARE(pick.asked(), 1);
        QCOMPARE(pick.choosers.at(0).folder, boardDir);
        QCOMPARE(pick.choosers.at(0).mask, QString("*.pkp"));
        QCOMPARE(pick.choosers.at(0).title, QString("Select Proteus Pick-and-Place file"));
    }

    void settingsFallBackToWorkFolder_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("folder gone") << QByteArray("/nonexistent/boards\r\n");
        QTest::newRow("binary") << QByteArray("\0\xff\r\n", 4);
    }
    void settingsFallBackToWorkFolder()
    {
        QFETCH(QByteArray, contents);
        window().unload();
        writeFile(Util_pkptocohu::settingsPath(), contents);
        popup("Util_pkptocohu");
        QCOMPARE(window().lastdir(), worktemp());
    }
};

VOLTARIS_TEST(TestPkpWindow);
#include "test_pkpwindow.moc"
