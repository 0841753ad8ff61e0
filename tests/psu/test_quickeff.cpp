#include "psutest.h"
#include "support/alertsink.h"
#include "support/oddfiles.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "psu/psutil_quickeff.h"
#include "psu/quickeffcalc.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

class TestQuickEff : public QObject {
    Q_OBJECT
    PSUtil_quickeff& w() { return FormSlots::get<PSUtil_quickeff>(); }
    void option(int n) { w().form()->findChild<QRadioButton*>(QString("Option1_%1").arg(n))->click(); }
    std::unique_ptr<TempFolders> m_folders;

private Q_SLOTS:
    // Each test: a fresh program folder without a settings file.
    void init()
    {
        m_folders = std::make_unique<TempFolders>(false);
        QVERIFY(openFromMenu("zquickeff"));
        QVERIFY(w().visible());
    }
    void cleanup()
    {
        w().unload();
        m_folders.reset();
    }

    void formulas()
    {
        const EfficiencyPoint p = efficiency(5, 2, 12, 1);
        QCOMPARE(p.pout, 10.0);
        QCOMPARE(p.pin, 12.0);
        QVERIFY(p.effValid);
        QVERIFY(!efficiency(5, 2, 12, 0).effValid);
        QVERIFY(!efficiency(5, 2, -12, 1).effValid);
        QCOMPARE(decimalsPattern(0), QString("0."));
        QCOMPARE(decimalsPattern(6), QString("0.000000"));
        QCOMPARE(decimalsPattern(-1), QString("0"));
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("Quick Effiiciency Calculator"));
        QCOMPARE(boxMismatch(w(), "spec", "0=0.000;4=0.000;6=--------;13=--------;20=--------"), QString());
        QVERIFY(w().form()->findChild<QRadioButton*>("Option1_3")->isChecked());
    }

    void examples_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expect");
        QTest::newRow("5/2/12/1") << "t0:5;t1:2;t2:12;t3:1;e3" << "4=10.000;5=12.000;6=83.333";
        QTest::newRow("second column") << "t7:5;t8:2;t9:12;t10:1;e10" << "11=10.000;12=12.000;13=83.333;6=--------";
        QTest::newRow("Enter discarded, re-formats") << "t1:2.5;e1" << "1=2.500";
        QTest::newRow("leaving re-formats") << "t2:7;l2" << "2=7.000";
        QTest::newRow("filter refuses sign and letters") << "t0:-5v" << "0=5";
        QTest::newRow("pasted negative Vin, then a key") << "t0:5;t1:2;p2:-12;t3:1" << "4=10.000;5=-12.000;6=--------";
        QTest::newRow("pasted garbage, then a key") << "p0:volts;t1:2" << "4=0.000";
        QTest::newRow("overflow") << "p0:1e300;p1:1e300;t2:1;t3:1" << "4=---;6=---";
    }
    void examples()
    {
        QFETCH(QString, script);
        QFETCH(QString, expect);
        runScript(w(), "spec", script);
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    // Each typed key first recomputes on the text before it.
    void keyRecomputesOnOldText()
    {
        runScript(w(), "spec", "t0:5;t1:2;t2:1;t3:1;e3");
        QCOMPARE(boxMismatch(w(), "spec", "6=1000.000"), QString());
        auto* iin = w().form()->findChild<QLineEdit*>("spec_3");
        iin->home(false);
        QTest::keyPress(iin, Qt::Key_2); // press alone: no key release yet
        QCOMPARE(iin->text(), QString("21.000"));
        QCOMPARE(boxMismatch(w(), "spec", "6=1000.000"), QString());
        QTest::keyRelease(iin, Qt::Key_2);
        QCOMPARE(boxMismatch(w(), "spec", "6=47.619"), QString());
    }

    void zeroIinLeavesOtherColumns()
    {
        runScript(w(), "spec", "t0:5;t1:2;t2:12;t3:1;t7:5;t8:2;t9:12;t10:1;e10");
        runScript(w(), "spec", "t3:0;e3");
        QCOMPARE(boxMismatch(w(), "spec", "6=--------;4=10.000;5=0.000;13=83.333"), QString());
    }

    void decimalsOption()
    {
        runScript(w(), "spec", "t1:2.5;e1");
        option(0);
        QCOMPARE(boxMismatch(w(), "spec", "1=3.;0=0.;6=0."), QString());
        option(6);
        QCOMPARE(boxMismatch(w(), "spec", "1=3.000000"), QString());
    }

    void settingsRoundTrip()
    {
        runScript(w(), "spec", "t0:5;t1:2.34567;t2:12;t3:1;e3;t14:9.5;e14");
        w().unload();
        const QByteArray saved = readFile(PSUtil_quickeff::settingsPath());
        QCOMPARE(saved.count("\r\n"), 21);
        QVERIFY(saved.startsWith("5.000000\r\n2.346000\r\n12.000000\r\n1.000000\r\n11.730000\r\n"));
        QVERIFY(openFromMenu("zquickeff"));
        QCOMPARE(boxMismatch(w(), "spec", "0=5.000;1=2.346;2=12.000;14=9.500;4=11.730;6=97.750"), QString());
        QVERIFY(w().form()->findChild<QRadioButton*>("Option1_3")->isChecked());
    }

    // Every value the file is written with reads back: a pasted negative
    // and a whole number past fifteen digits.
    void settingsKeepAnyFiniteValue_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pasted -5") << "p0:-5;l0" << QByteArray("-5.000000") << "0=-5.000;4=-10.000";
        QTest::newRow("typed 10^15") << "t0:1000000000000000;e0" << QByteArray("1000000000000000.000000")
                                     << "0=1000000000000000.000";
        QTest::newRow("typed 15 nines") << "t0:999999999999999;e0" << QByteArray("999999999999999.000000")
                                        << "0=999999999999999.000";
    }
    void settingsKeepAnyFiniteValue()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, line);
        QFETCH(QString, shown);
        runScript(w(), "spec", script + ";t1:2;t2:10;t3:1;e3");
        w().unload();
        QVERIFY(readFile(PSUtil_quickeff::settingsPath()).startsWith(line + "\r\n2.000000\r\n"));
        QVERIFY(openFromMenu("zquickeff"));
        QCOMPARE(boxMismatch(w(), "spec", shown + ";1=2.000;2=10.000;3=1.000"), QString());
    }

    void damagedSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expect");
        QTest::newRow("empty") << QByteArray() << "0=0.000;20=--------";
        QTest::newRow("short") << QByteArray("5\r\n2\r\n12\r\n") << "0=5.000;1=2.000;2=12.000;3=0.000;6=--------";
        QTest::newRow("LF and CR ends") << QByteArray("5\n2\r12\n1") << "3=1.000;6=83.333";
        QTest::newRow("not numbers") << QByteArray("abc\r\n\xff\xfe\r\n-3x\r\n4\r\n") << "0=0.000;1=0.000;2=-3.000;3=4.000";
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\x7f\x80\xff", 6) << "0=0.000;20=--------";
        QTest::newRow("one huge line") << QByteArray(200000, '7') << "0=0.000;1=0.000";
        QTest::newRow("infinite, huge, negative")
            << QByteArray("1e308\r\n1e99999\r\n1e15\r\n-999999999999999\r\n")
            << "0=1" + QString(308, u'0') + ".000;1=0.000;2=1000000000000000.000;3=-999999999999999.000";
        QTest::newRow("extra lines") << QByteArray("1\n").repeated(40) << "14=1.000;20=100.000";
    }
    void damagedSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expect);
        w().unload();
        writeFile(PSUtil_quickeff::settingsPath(), file);
        QVERIFY(openFromMenu("zquickeff"));
        QCOMPARE(boxMismatch(w(), "spec", expect), QString());
    }

    // Something else where the settings file belongs: the window opens at
    // once with its defaults, and closing it says once which file could not
    // be saved and why.
    void settingsPathNotAFile_data() { addOddFileRows(); }
    void settingsPathNotAFile()
    {
        QFETCH(OddFile, odd);
        w().unload();
        const QString path = PSUtil_quickeff::settingsPath();
        makeOddFile(path, odd);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(openFromMenu("zquickeff"));
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(boxMismatch(w(), "spec", "0=0.000;3=0.000;20=--------"), QString());
        AlertSink alerts;
        w().unload();
        QTest::qWait(100);
        QCOMPARE(alerts.texts.size(), 1);
        QVERIFY2(alerts.texts[0].contains(path) && alerts.texts[0].contains(oddFileWord(odd)), qPrintable(alerts.texts[0]));
        QVERIFY(isOddFile(path, odd));
    }
};

VOLTARIS_TEST(TestQuickEff);
#include "test_quickeff.moc"
