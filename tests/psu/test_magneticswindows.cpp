#include "support/modal.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "psuwindows.h"

#include "app/a_main.h"
#include "common/coredata.h"
#include "common/designtool.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "psu/psutil_inductorcore.h"
#include "psu/psutil_lcfilter.h"
#include "psu/psutil_pushpullforward.h"
#include "psu/psutil_shuttlecalc.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QPushButton>
#include <QTest>

namespace {
// A core with the worked examples' figures, added to the program folder's
// copy of the data file before the table is first read: Al 100, Ae 1.0,
// OD 2.0, ID 1.0, height 0.8, BSat 4000.
const char* exampleCore = "ZZ-EXAMPLE Test 100 100 1.0 0.5 5.0 2.0 1.0 0.8 10 1 4000 Example No Worked-example";
const char* exampleKey = "ZZ-EXAMPLE Test Example";

int coreIndex(const QString& key)
{
    return int(coredata(0).split(QChar(255)).indexOf(key)) - 1;
}

QComboBox* selector(ToolWindow& w)
{
    return w.form()->findChild<QComboBox*>("coreselector");
}
} // namespace

class TestMagneticsWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QFile file(joinpath(apppath(), "voltaris.cdt"));
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Append));
        const bool lineOpen = file.size() > 0 && !file.readAll().endsWith('\n');
        file.write(QByteArray(lineOpen ? "\r\n" : "") + exampleCore + "\r\n");
        file.close();
        QVERIFY2(coreIndex(exampleKey) > 0, "the core table was read before the example core was added");
    }

    void coreInductorExamples()
    {
        auto& w = openFromMenu<PSUtil_inductorcore>("zinductorcore");
        QCOMPARE(w.caption(), QString("Solid Core Inductor Calculator"));
        // No core chosen, BSAT left at 0: the default, 60 % of it, no turns without Al.
        giveFocus(spec(w, 0));
        leaveBox(spec(w, 0));
        QCOMPARE(spec(w, 0)->text(), QString("3300"));
        QCOMPARE(spec(w, 2)->text(), QString("1980"));
        QCOMPARE(spec(w, 6)->text(), QString("0.0000"));

        retype(spec(w, 4), "100");
        pressEnter(spec(w, 4));
        retype(spec(w, 5), "100");
        pressEnter(spec(w, 5));
        QCOMPARE(spec(w, 6)->text(), QString("31.6228"));
        retype(spec(w, 6), "20");
        QCOMPARE(spec(w, 5)->text(), QString("40.0000"));

        // Enter never reaches the box; "." is refused in whole-number boxes.
        typeInto(spec(w, 6), ".5");
        QCOMPARE(spec(w, 6)->text(), QString("205"));
        // Leaving a result box changes nothing.
        const QString current = spec(w, 8)->text();
        QVERIFY(spec(w, 8)->isReadOnly());
        QCOMPARE(spec(w, 8)->palette().color(QPalette::Base), QColor(192, 255, 255));
        QCOMPARE(spec(w, 8)->text(), current);
    }

    void coreInductorRanges_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("factor above 100") << 1 << "150" << "100";
        QTest::newRow("factor 0") << 1 << "0" << "60";
        QTest::newRow("Ae 0") << 3 << "0" << "0.1080";
        QTest::newRow("Al 0") << 4 << "0" << "100.0000";
        QTest::newRow("inductance 0") << 5 << "0" << "100.0000";
        QTest::newRow("turns 0") << 6 << "0" << "10.0000";
        QTest::newRow("inductance reformatted") << 5 << "12.5" << "12.5000";
        QTest::newRow("inductance handed over as ---") << 5 << "---" << "100.0000";
    }
    void coreInductorRanges()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        auto& w = openFromMenu<PSUtil_inductorcore>("zinductorcore");
        giveFocus(spec(w, index));
        paste(spec(w, index), typed);
        leaveBox(spec(w, index));
        QCOMPARE(spec(w, index)->text(), after);
    }

    void coreInductorEnergy()
    {
        auto& w = openFromMenu<PSUtil_inductorcore>("zinductorcore");
        selector(w)->setCurrentIndex(coreIndex(exampleKey));
        QCOMPARE(spec(w, 0)->text(), QString("4000"));
        QCOMPARE(spec(w, 3)->text(), QString("1.0000"));
        QCOMPARE(spec(w, 4)->text(), QString("100.0000"));
        // 2400 G over 1 cm^2 with Al 100: 2400^2 x 1e-7 / 100 x 1000 = 5.76 mJ;
        // E = L I^2 in 100 uH gives 7.5895 A, at 31.6228 turns 240.0012 A-t.
        retype(spec(w, 5), "100");
        pressEnter(spec(w, 5));
        QCOMPARE(spec(w, 2)->text(), QString("2400"));
        QCOMPARE(spec(w, 9)->text(), QString("5.7600"));
        QCOMPARE(spec(w, 8)->text(), QString("7.5895"));
        QCOMPARE(spec(w, 7)->text(), QString("240.0012"));
    }

    void pastedNegativeInductanceShowsNoTurns()
    {
        auto& w = openFromMenu<PSUtil_inductorcore>("zinductorcore");
        retype(spec(w, 4), "100");
        pressEnter(spec(w, 4));
        giveFocus(spec(w, 5));
        paste(spec(w, 5), "-10");
        typeInto(spec(w, 5), "0");
        QCOMPARE(spec(w, 5)->text(), QString("-100"));
        QCOMPARE(spec(w, 6)->text(), QString("---"));
        QCOMPARE(spec(w, 8)->text(), QString("0.0000"));
        QVERIFY(w.isLoaded());
    }

    void shippedCoreFillsBoxesAndShowsSheet()
    {
        auto& w = openFromMenu<PSUtil_inductorcore>("zinductorcore");
        QComboBox* list = selector(w);
        QCOMPARE(list->itemText(0), QString("Select"));
        QCOMPARE(list->currentIndex(), 0);
        const int t50 = coreIndex("T50-26 Micrometals Mix-26");
        QVERIFY(t50 > 0);
        QCOMPARE(list->itemText(t50), QString("T50-26 Micrometals Mix-26"));
        list->setCurrentIndex(t50);
        QCOMPARE(spec(w, 0)->text(), QString("13800"));
        QCOMPARE(spec(w, 3)->text(), QString("0.1182"));
        QCOMPARE(spec(w, 4)->text(), QString("36.2600"));
        QCOMPARE(spec(w, 2)->text(), QString("8280"));

        ModalAnswer ok("Command1_0");
        QTest::mouseClick(w.form()->findChild<QLabel*>("Label1_20"), Qt::LeftButton);
        QVERIFY(ok.answered());
        QCOMPARE(ok.title(), QString("Core specifications"));
        QVERIFY(ok.text().contains("Name\t\tT50-26 Micrometals"));
        QVERIFY(ok.text().contains("BSat\t\t13800\tGauss"));

        // A typed core figure drops the core's name.
        typeInto(spec(w, 4), "1");
        QCOMPARE(list->currentIndex(), 0);
        // With "Select" the label shows nothing.
        ModalAnswer none("Command1_0", 200);
        QTest::mouseClick(w.form()->findChild<QLabel*>("Label1_20"), Qt::LeftButton);
        QTest::qWait(250);
        QVERIFY(!none.answered());
    }

    void lcFilterDefaultsAndModes()
    {
        auto& w = openFromMenu<PSUtil_lcfilter>("zlcfilter");
        QCOMPARE(w.caption(), QString("Forward  Converter LC Filter Design"));
        const QStringList single = {"100.0000", "82.6531", "0.3306", "428.5714", "0.0150"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(spec(w, 6 + i)->text(), single[i]);
        w.setMode(1);
        const QStringList pushPull = {"200.0000", "41.3265", "0.1653", "214.2857", "0.0150"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(spec(w, 6 + i)->text(), pushPull[i]);
        // A mode text that names no item leaves the filter frequency as it was.
        auto* mode = w.form()->findChild<QComboBox*>("mode");
        mode->setEditText("Triple");
        QCOMPARE(spec(w, 6)->text(), QString("200.0000"));
    }

    void lcFilterRules_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("boxes"); // spec(0) to spec(4) after leaving
        QTest::addColumn<QString>("inductance");
        QTest::newRow("Vout above Vin raises Vin") << 0 << "20" << QStringList{"20.0000", "20.0000", "0.5000", "2.000", "0.03"} << "0.0000";
        QTest::newRow("Vin below Vout lowers Vout") << 1 << "3" << QStringList{"3.0000", "3.0000", "0.5000", "2.000", "0.03"} << "0.0000";
        QTest::newRow("Imin above Imax held to Imax") << 2 << "3" << QStringList{"5.0000", "14.0000", "2.0000", "2.000", "0.03"} << "20.6633";
        QTest::newRow("Imax below Imin held to Imin") << 3 << "0.25" << QStringList{"5.0000", "14.0000", "0.5000", "0.5000", "0.03"} << "82.6531";
        QTest::newRow("ripple 0") << 4 << "0" << QStringList{"5.0000", "14.0000", "0.5000", "2.000", "0.03000"} << "82.6531";
        QTest::newRow("Imin cleared") << 2 << "" << QStringList{"5.0000", "14.0000", "0.5000", "2.000", "0.03"} << "82.6531";
    }
    void lcFilterRules()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QStringList, boxes);
        QFETCH(QString, inductance);
        auto& w = openFromMenu<PSUtil_lcfilter>("zlcfilter");
        retype(spec(w, index), typed);
        if (typed.isEmpty()) {
            QTest::keyClick(spec(w, index), Qt::Key_Backspace);
            QCOMPARE(spec(w, 7)->text(), QString("---"));
            QCOMPARE(spec(w, 8)->text(), QString("0.0000"));
        }
        leaveBox(spec(w, index));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(spec(w, i)->text(), boxes[i]);
        QCOMPARE(spec(w, 7)->text(), inductance);
    }

    void lcFilterHandsInductanceToCoreInductor()
    {
        auto& core = openFromMenu<PSUtil_inductorcore>("zinductorcore");
        selector(core)->setCurrentIndex(coreIndex(exampleKey));
        auto& w = openFromMenu<PSUtil_lcfilter>("zlcfilter");
        w.form()->findChild<QPushButton*>("Command1")->click();
        QVERIFY(core.isLoaded());
        QCOMPARE(spec(core, 5)->text(), QString("82.6531"));
        // Al 100: sqrt(82.6531e-6 / 100e-9) turns.
        QCOMPARE(spec(core, 6)->text(), QString("28.7495"));

        // The box being typed in is left before the hand-over, so the core
        // inductor gets the inductance of the tidied inputs.
        retype(spec(w, 1), "0");
        QCOMPARE(spec(w, 7)->text(), QString("---"));
        w.form()->findChild<QPushButton*>("Command1")->click();
        QCOMPARE(spec(w, 1)->text(), QString("14.0000"));
        QCOMPARE(spec(core, 5)->text(), QString("82.6531"));
    }

    void shuttleExample()
    {
        auto& w = openFromMenu<PSUtil_shuttlecalc>("zshuttlecalc");
        QCOMPARE(w.caption(), QString("Torroid Shuttle Calculator"));
        // With "Select" nothing is computed; Enter only tidies.
        retype(spec(w, 0), "10");
        pressEnter(spec(w, 0));
        QCOMPARE(spec(w, 2)->text(), QString("0.000"));
        retype(spec(w, 4), "100");
        pressEnter(spec(w, 4));
        QCOMPARE(spec(w, 4)->text(), QString("100.000"));
        QCOMPARE(spec(w, 5)->text(), QString("0"));

        selector(w)->setCurrentIndex(coreIndex(exampleKey));
        QCOMPARE(spec(w, 2)->text(), QString("28.000"));
        QCOMPARE(spec(w, 3)->text(), QString("280.000"));
        QCOMPARE(spec(w, 5)->text(), QString("14"));

        // A fill factor of 0 while typing, then "10" on Enter.
        retype(spec(w, 1), "0");
        for (int i : {2, 3, 5})
            QCOMPARE(spec(w, i)->text(), QString("---"));
        pressEnter(spec(w, 1));
        QCOMPARE(spec(w, 1)->text(), QString("10"));
        QCOMPARE(spec(w, 2)->text(), QString("28.000"));

        // A pasted fractional count is used as it is, then shown whole.
        giveFocus(spec(w, 0));
        paste(spec(w, 0), "12.5");
        leaveBox(spec(w, 0));
        QCOMPARE(spec(w, 3)->text(), QString("350.000"));
        QCOMPARE(spec(w, 0)->text(), QString("13"));
    }

    void pushPullExample()
    {
        auto& w = openFromMenu<PSUtil_pushpullforward>("zpushpull");
        QCOMPARE(w.caption(), QString("Push-Pull Transformer"));
        QCOMPARE(w.form()->findChild<QLabel*>("Label1_12")->text(), QString("Core"));
        selector(w)->setCurrentIndex(coreIndex(exampleKey));
        QCOMPARE(spec(w, 2)->text(), QString("1.0000"));
        QCOMPARE(spec(w, 3)->text(), QString("4000"));
        QCOMPARE(spec(w, 5)->text(), QString("2000"));
        retype(spec(w, 0), "24");
        leaveBox(spec(w, 0));
        QCOMPARE(spec(w, 1)->text(), QString("24.0000"));
        QCOMPARE(spec(w, 28)->text(), QString("2.85"));
        QCOMPARE(spec(w, 28)->palette().color(QPalette::Base), QColor(255, 128, 128));
        // No primary turns chosen: the minimums are 0 and no voltage follows.
        for (int b : {8, 13, 18, 23}) {
            QCOMPARE(spec(w, b + 1)->text(), QString("0.00"));
            QCOMPARE(spec(w, b + 3)->text(), QString("---"));
            QCOMPARE(spec(w, b + 4)->text(), QString("---"));
        }
    }

    void pushPullModes()
    {
        auto& w = openFromMenu<PSUtil_pushpullforward>("zpushpull");
        selector(w)->setCurrentIndex(coreIndex(exampleKey));
        retype(spec(w, 1), "30");
        leaveBox(spec(w, 1));
        w.form()->findChild<QRadioButton*>("convmode_1")->click();
        QCOMPARE(spec(w, 4)->text(), QString("100"));
        QCOMPARE(spec(w, 7)->text(), QString("100"));
        QCOMPARE(spec(w, 5)->text(), QString("4000"));
        QCOMPARE(spec(w, 0)->text(), QString("30.0000"));
        for (int i : {0, 4, 7})
            QVERIFY(!spec(w, i)->isEnabled());
        w.form()->findChild<QRadioButton*>("convmode_0")->click();
        QCOMPARE(spec(w, 4)->text(), QString("50"));
        QCOMPARE(spec(w, 7)->text(), QString("95"));
        QCOMPARE(spec(w, 5)->text(), QString("2000"));
        for (int i : {0, 4, 7})
            QVERIFY(spec(w, i)->isEnabled());
    }

    void pushPullChosenTurns_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("reset"); // after a new duty cycle
        QTest::newRow("7.25 over 6") << "17.4" << "6" << "7.25" << "8" << "8";
        QTest::newRow("7.25 under 9") << "17.4" << "9" << "7.25" << "9" << "8";
        QTest::newRow("exactly 7") << "16.8" << "0" << "7.00" << "7" << "7";
    }
    void pushPullChosenTurns()
    {
        QFETCH(QString, target);
        QFETCH(QString, chosen);
        QFETCH(QString, minimum);
        QFETCH(QString, after);
        QFETCH(QString, reset);
        auto& w = openFromMenu<PSUtil_pushpullforward>("zpushpull");
        retype(spec(w, 0), "24");
        leaveBox(spec(w, 0));
        retype(spec(w, 7), "100");
        leaveBox(spec(w, 7));
        retype(spec(w, 29), "10");
        leaveBox(spec(w, 29));
        retype(spec(w, 10), chosen);
        retype(spec(w, 8), target);
        QCOMPARE(spec(w, 9)->text(), minimum);
        leaveBox(spec(w, 8));
        QCOMPARE(spec(w, 10)->text(), after);
        // The secondary voltages follow the chosen turns.
        QCOMPARE(spec(w, 11)->text(), fmt(after.toDouble() / 10 * 24, "0.0000"));

        // A new duty cycle resets every chosen count to its rounded-up minimum.
        retype(spec(w, 10), "20");
        leaveBox(spec(w, 10));
        // Pasted: no key release recomputes the minimums first.
        giveFocus(spec(w, 7));
        paste(spec(w, 7), "50");
        leaveBox(spec(w, 7));
        QCOMPARE(spec(w, 10)->text(), reset);
        QCOMPARE(spec(w, 9)->text(), fmt(minimum.toDouble() * 2, "0.00"));
    }

    void pushPullHandsSecondaryToLcFilter()
    {
        FormSlots::get<PSUtil_lcfilter>().unload();
        auto& w = openFromMenu<PSUtil_pushpullforward>("zpushpull");
        retype(spec(w, 0), "24");
        leaveBox(spec(w, 0));
        retype(spec(w, 29), "10");
        leaveBox(spec(w, 29));
        retype(spec(w, 6), "50");
        leaveBox(spec(w, 6));
        retype(spec(w, 18), "5");
        leaveBox(spec(w, 18));
        retype(spec(w, 20), "5");
        leaveBox(spec(w, 20));
        QCOMPARE(spec(w, 22)->text(), QString("12.0000"));

        w.form()->findChild<QPushButton*>("Command1_2")->click();
        auto& lc = FormSlots::get<PSUtil_lcfilter>();
        QVERIFY(lc.isLoaded());
        QCOMPARE(lc.mode(), 1);
        QCOMPARE(spec(lc, 5)->text(), QString("50.0000"));
        QCOMPARE(spec(lc, 0)->text(), QString("5.0000"));
        QCOMPARE(spec(lc, 1)->text(), QString("12.0000"));
        QCOMPARE(spec(lc, 6)->text(), QString("100.0000"));
        // (12 - 5)(1 - 5/12) / (0.5 x 1.4 x 100) mH
        QCOMPARE(spec(lc, 7)->text(), QString("58.3333"));
    }
};

VOLTARIS_TEST(TestMagneticsWindows);
#include "test_magneticswindows.moc"
