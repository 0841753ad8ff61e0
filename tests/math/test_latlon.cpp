#include "support/widetext.h"
#include "support/alertsink.h"
#include "support/filechoice.h"
#include "support/oddfiles.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/owntext.h"
#include "common/files.h"
#include "common/paths.h"
#include "math/math_latlon.h"
#include "math/pointing.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString workFile(const QTemporaryDir& dir, const QString& name)
{
    return dir.filePath(name);
}
} // namespace

class TestLatLon : public QObject {
    Q_OBJECT
    Math_latlon& w() { return FormSlots::get<Math_latlon>(); }
    QLineEdit* box(const char* name, int i) { return boxNamed(w(), QStringLiteral("%1_%2").arg(name).arg(i)); }
    QComboBox* list(const char* name, int i)
    {
        return w().form()->findChild<QComboBox*>(QStringLiteral("%1_%2").arg(name).arg(i));
    }
    QString t(const char* name, int i) { return box(name, i)->text(); }
    QStringList outputs() { return {t("dist", 0), t("dist", 1), t("dist", 2), t("pa", 3)}; }
    // Sets one side as typed: latitude, N/S, longitude, E/W.
    void setSide(int i, const QString& lat, const QString& ns, const QString& lon, const QString& ew)
    {
        retype(box("lt", i), lat);
        list("ltd", i)->setCurrentText(ns);
        retype(box("ln", i), lon);
        list("lnd", i)->setCurrentText(ew);
    }
    void doubleClickFrame(int i)
    {
        auto* frame = w().form()->findChild<QGroupBox*>(i == 0 ? "Fromloc" : "Frame1");
        QTest::mouseDClick(frame, Qt::LeftButton, {}, QPoint(frame->width() - 4, frame->height() - 4));
    }
    QString iniPath() { return joinpath(apppath(), QStringLiteral("latlon.ini")); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(iniPath());
        popup("Math_latlon");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void startUp()
    {
        QCOMPARE(w().caption(), QString("Pointing Angle Calculator"));
        QCOMPARE(QStringList({list("ltd", 0)->currentText(), list("lnd", 0)->currentText(),
                              list("ltd", 1)->currentText(), list("lnd", 1)->currentText()}),
                 QStringList({"N", "E", "S", "W"}));
        QCOMPARE(t("lt", 0), QString("0.00000000"));
        QCOMPARE(outputs(), QStringList({"0.0000", "0.0000", "0.0000", "0.00000000"}));
        QCOMPARE(w().locationfolder(), worktemp());
    }

    void workedExamples_data()
    {
        QTest::addColumn<QStringList>("from");
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QStringList>("expected"); // km, miles, feet, angle; "" not checked
        QTest::newRow("along the equator")
            << QStringList{"0", "N", "0", "E"} << QStringList{"0", "N", "90", "E"}
            << QStringList{"10007.5434", "6218.3993", "32833147.6377", "90.00000000"};
        QTest::newRow("north") << QStringList{"0", "N", "0", "E"} << QStringList{"10", "N", "0", "E"}
                               << QStringList{"", "", "", "0.00000000"};
        QTest::newRow("south") << QStringList{"0", "N", "0", "E"} << QStringList{"10", "S", "0", "E"}
                               << QStringList{"", "", "", "180.00000000"};
        QTest::newRow("west") << QStringList{"0", "N", "0", "E"} << QStringList{"0", "N", "10", "W"}
                              << QStringList{"", "", "", "270.00000000"};
        // Due north a hair to the west: the angle wraps to 0, not 360.
        QTest::newRow("the pole, west of the start") << QStringList{"10", "N", "5", "E"} << QStringList{"90", "N", "6", "W"}
                                                     << QStringList{"", "", "", "0.00000000"};
        QTest::newRow("the pole, a hair west") << QStringList{"10", "N", "0", "E"}
                                               << QStringList{"90", "N", "0.00000001", "W"}
                                               << QStringList{"", "", "", "0.00000000"};
        // 359.999999995 less a hair: eight decimals would read 360.
        QTest::newRow("a hair short of a whole turn") << QStringList{"0", "N", "0", "E"}
                                                      << QStringList{"63.4349", "N", "0.00000001", "W"}
                                                      << QStringList{"", "", "", "0.00000000"};
        QTest::newRow("antipodes") << QStringList{"0", "N", "0", "E"} << QStringList{"0", "N", "180", "E"}
                                   << QStringList{"20015.0868", "", "", "0.00000000"};
        QTest::newRow("London to New York")
            << QStringList{"51.5", "N", "0.12", "W"} << QStringList{"40.7", "N", "74.0", "W"}
            << QStringList{"5571.4908", "3461.9639", "18279169.2913", "288.32368389"};
        QTest::newRow("the same point") << QStringList{"33.3", "S", "151.2", "E"} << QStringList{"33.3", "S", "151.2", "E"}
                                        << QStringList{"0.0000", "0.0000", "0.0000", "0.00000000"};
    }
    void workedExamples()
    {
        QFETCH(QStringList, from);
        QFETCH(QStringList, to);
        QFETCH(QStringList, expected);
        setSide(0, from[0], from[1], from[2], from[3]);
        setSide(1, to[0], to[1], to[2], to[3]);
        const QStringList shown = outputs();
        for (int k = 0; k < 4; ++k)
            if (!expected[k].isEmpty())
                QCOMPARE(shown[k], expected[k]);
    }

    // Miles and feet come from the km figure as shown.
    void distancesFromShownKm()
    {
        const DistanceTexts d = distancetexts(0.00004);
        QCOMPARE(d.km, QString("0.0000"));
        QCOMPARE(d.miles, QString("0.0000"));
        QCOMPARE(distancetexts(0.00005).feet, QString("0.3281"));
        QCOMPARE(distancetexts(qInf()).miles, QString("---"));
    }

    void enterAndLeavingReformat()
    {
        retype(box("lt", 0), "12.5");
        QCOMPARE(t("lt", 0), QString("12.5"));
        pressEnter(box("lt", 0));
        QCOMPARE(t("lt", 0), QString("12.50000000"));
        retype(box("ln", 1), "3");
        QTest::keyClicks(box("ln", 1), "-x,");
        QCOMPARE(t("ln", 1), QString("3"));
        leaveBox(box("ln", 1));
        QCOMPARE(t("ln", 1), QString("3.00000000"));
    }

    void pastedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reformatted");
        QTest::newRow("negative") << "-10" << "-10.00000000";
        QTest::newRow("letters") << "north" << "0.00000000";
        QTest::newRow("huge") << "1e300" << "";
        QTest::newRow("infinite") << "9e9999999" << "---";
        QTest::newRow("empty") << "" << "0.00000000";
    }
    void pastedText()
    {
        QFETCH(QString, text);
        QFETCH(QString, reformatted);
        paste(box("lt", 1), text);
        for (const QString& s : outputs())
            QVERIFY2(!s.contains("nan") && !s.contains("inf"), qPrintable(s));
        giveFocus(box("lt", 1));
        leaveBox(box("lt", 1));
        if (!reformatted.isEmpty())
            QCOMPARE(t("lt", 1), reformatted);
    }

    void locationFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("loaded"); // lt, ltd, ln, lnd
        QTest::newRow("directions") << QByteArray("51.5 N\r\n0.12 w\r\n")
                                    << QStringList{"51.50000000", "N", "0.12000000", "W"};
        QTest::newRow("numbers only") << QByteArray("12\n34\n") << QStringList{"12.00000000", "S", "34.00000000", "W"};
        QTest::newRow("lower case, extra blanks") << QByteArray("  7.25   n  x\n  8    E\nmore\n")
                                                  << QStringList{"7.25000000", "N", "8.00000000", "E"};
        QTest::newRow("negative") << QByteArray("-5 n\n-6 e") << QStringList{"-5.00000000", "N", "-6.00000000", "E"};
        QTest::newRow("one line") << QByteArray("45 n") << QStringList{"45.00000000", "N", "0.00000000", "W"};
        QTest::newRow("empty") << QByteArray() << QStringList{"0.00000000", "S", "0.00000000", "W"};
        QTest::newRow("binary") << QByteArray("\x00\xff\x80\x01\n\x02", 6)
                                << QStringList{"0.00000000", "S", "0.00000000", "W"};
        QTest::newRow("long lines") << QByteArray(300000, '9') + "\n2 e"
                                    << QStringList{"---", "S", "2.00000000", "E"};
    }
    void locationFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, loaded);
        QTemporaryDir folders;
        const QString path = writeFile(workFile(folders, "sub/place.txt"), bytes);
        FileChoiceAnswer answer(path);
        doubleClickFrame(1);
        QCOMPARE(answer.asked(), 1);
        QCOMPARE(QStringList({t("lt", 1), list("ltd", 1)->currentText(), t("ln", 1), list("lnd", 1)->currentText()}),
                 loaded);
        QCOMPARE(t("addbox", 1), path);
        QCOMPARE(QDir(w().locationfolder()), QDir(workFile(folders, "sub")));
        for (const QString& s : outputs())
            QVERIFY2(!s.contains("nan") && !s.contains("inf"), qPrintable(s));
    }

    // The outputs follow a loaded location; cancelling changes nothing.
    void loadAndCancel()
    {
        QTemporaryDir folders;
        const QString path = writeFile(workFile(folders, "london.txt"), "51.5 N\n0.12 W\n");
        {
            FileChoiceAnswer answer(path);
            doubleClickFrame(0);
        }
        writeFile(workFile(folders, "newyork.txt"), "40.7 n\n74.0 w\n");
        {
            FileChoiceAnswer answer(workFile(folders, "newyork.txt"));
            doubleClickFrame(1);
            QCOMPARE(answer.choosers.at(0).folder, folders.path());
            QCOMPARE(answer.choosers.at(0).mask, QString("*.txt"));
            QCOMPARE(answer.choosers.at(0).title, QString("Select location file"));
        }
        QCOMPARE(outputs(), QStringList({"5571.4908", "3461.9639", "18279169.2913", "288.32368389"}));
        FileChoiceAnswer cancel = FileChoiceAnswer::cancel();
        doubleClickFrame(0);
        QCOMPARE(cancel.asked(), 1);
        QCOMPARE(t("lt", 0), QString("51.50000000"));
        QCOMPARE(t("addbox", 0), path);
        QCOMPARE(QDir(w().locationfolder()), QDir(folders.path()));
    }

    // The folder of the last location file survives a close in latlon.ini.
    void folderSurvives_data()
    {
        addWideTextRows(QStringLiteral("Pomiary-"), QString(), false);
        QTest::newRow("plain") << QStringLiteral("places");
    }
    void folderSurvives()
    {
        QFETCH(QString, wide);
        QTemporaryDir folders;
        const QString path = writeFile(workFile(folders, wide + "/home.txt"), "1 n\n2 e\n");
        {
            FileChoiceAnswer answer(path);
            doubleClickFrame(0);
        }
        w().unload();
        QCOMPARE(decodeOwnText(readFile(iniPath())), pathpart(path, 3) + "\r\n");
        popup("Math_latlon");
        QCOMPARE(w().locationfolder(), pathpart(path, 3));
        FileChoiceAnswer answer = FileChoiceAnswer::cancel();
        doubleClickFrame(1);
        QCOMPARE(QDir(answer.choosers.at(0).folder), QDir(workFile(folders, wide)));
    }

    // A location file past the cap is refused whole, with the cap named.
    void oversizedLocationFile()
    {
        QTemporaryDir folders;
        const QString path = writeFile(workFile(folders, "big.txt"), "1 n\n2 e\n" + QByteArray(1 << 20, ' '));
        FileChoiceAnswer answer(path);
        AlertSink alerts;
        const QString before = t("lt", 0);
        doubleClickFrame(0);
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains(path));
        QVERIFY(alerts.texts[0].contains("1 MiB"));
        QCOMPARE(t("lt", 0), before);
        QVERIFY(t("addbox", 0) != path);
    }

    // Something other than a file in place of latlon.ini: the window opens
    // at once with the work folder, and closing it says once which file
    // could not be saved and why, leaving the odd thing as it was.
    void settingsPathNotAFile_data() { addOddFileRows(); }
    void settingsPathNotAFile()
    {
        QFETCH(OddFile, odd);
        w().unload();
        makeOddFile(iniPath(), odd);
        QElapsedTimer clock;
        clock.start();
        popup("Math_latlon");
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(w().locationfolder(), worktemp());
        AlertSink alerts;
        w().unload();
        QTest::qWait(100);
        QCOMPARE(alerts.texts.size(), 1);
        QVERIFY2(alerts.texts[0].contains(iniPath()) && alerts.texts[0].contains(oddFileWord(odd)),
                 qPrintable(alerts.texts[0]));
        QVERIFY(isOddFile(iniPath(), odd));
        QFile::remove(iniPath());
        QDir(iniPath()).removeRecursively();
    }

    // A chosen location that is no file loads nothing and never blocks.
    void locationNotAFile_data() { addOddFileRows(); }
    void locationNotAFile()
    {
        QFETCH(OddFile, odd);
        QTemporaryDir folders;
        const QString path = workFile(folders, "odd.txt");
        makeOddFile(path, odd);
        retype(box("lt", 0), "5");
        pressEnter(box("lt", 0));
        FileChoiceAnswer answer(path);
        QElapsedTimer clock;
        clock.start();
        doubleClickFrame(0);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(t("lt", 0), QString("5.00000000"));
        QCOMPARE(t("addbox", 0), QString());
    }

    void parsesLocation()
    {
        const Location loc = parselocation({"51.5 N", "0.12 w"});
        QCOMPARE(loc.latitude, 51.5);
        QVERIFY(loc.north);
        QCOMPARE(loc.longitude, 0.12);
        QVERIFY(!loc.east);
        const Location none = parselocation({});
        QCOMPARE(none.latitude, 0.0);
        QVERIFY(!none.north && !none.east);
    }
};

VOLTARIS_TEST(TestLatLon);
#include "test_latlon.moc"
