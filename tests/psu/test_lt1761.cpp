#include "psutest.h"
#include "support/modal.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "psu/psutil_lt1761.h"
#include "psu/regulatorcalc.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {
// Chooses a series and one of its values in the picker before its button.
std::function<void(QWidget*)> chooseValue(const QString& group, const QString& entry)
{
    return [group, entry](QWidget* picker) {
        auto* combo = picker->findChild<QComboBox*>("Combo1");
        combo->setCurrentIndex(combo->findText(group));
        combo->setCurrentIndex(combo->findText(entry));
    };
}
} // namespace

class TestLt1761 : public QObject {
    Q_OBJECT
    PSUtil_lt1761& w() { return FormSlots::get<PSUtil_lt1761>(); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(openFromMenu("zlt1761"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void formulas()
    {
        QVERIFY(qAbs(lt1761Rbot(3, 100000, 30e-9, 1.22) - 68655.0) < 0.05);
        QVERIFY(!std::isfinite(lt1761Rbot(1, 100000, 30e-9, 1.22))); // not reachable
        QVERIFY(!std::isfinite(lt1761Rbot(3, 100000, 30e-9, 0)));
        QVERIFY(qAbs(lt1761Vout(100000, 68539.4, 30e-9, 1.22) - 3.003) < 0.00005);
        QVERIFY(!std::isfinite(lt1761Vout(100000, 0, 30e-9, 1.22)));
        QVERIFY(!std::isfinite(lt1761IadjRun(3, 0)));
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("LT1761 FB Calculator"));
        // the design-time texts stand until the first edit
        QCOMPARE(boxMismatch(w(), "calcdata", "0=3.0000;2=100.0000;3=68.5394;4=17.8000;5=30.0000;6=1.2200;1=30.0000"),
                 QString());
        QLineEdit* run = boxNamed(w(), "calcdata_4");
        QVERIFY(run->isReadOnly());
        QCOMPARE(run->palette().color(QPalette::Base), QColor(255, 192, 128));
    }

    void examples_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expect");
        QTest::newRow("Enter in Vout") << "e0" << "3=68.6550;4=17.8000;5=30.0000";
        QTest::newRow("Enter in RBot") << "e3" << "0=3.0030;4=17.8300;5=30.0300";
        QTest::newRow("unreachable Vout") << "t0:1;e0" << "0=1.0000;3=68.5394;4=-2.2000;5=10.0000";
        QTest::newRow("Ifb refuses a point") << "t1:3.5" << "1=35";
        QTest::newRow("Vfb takes a point") << "t6:1.25" << "6=1.25";
        QTest::newRow("leaving re-formats") << "t6:1.25;l6" << "6=1.2500";
        QTest::newRow("Vfb of 0") << "t6:0;e0" << "3=---;4=-12.1700;5=0.0300";
        QTest::newRow("no RBot, then Ifb") << "t6:0;e0;e1" << "0=---;4=---;5=---";
        QTest::newRow("result boxes take no keys") << "t4:5;t5:5" << "4=17.8000;5=30.0000";
        QTest::newRow("filter refuses sign and letters") << "t2:-47k" << "2=47";
        QTest::newRow("pasted negative RTop") << "p2:-100;e3" << "0=-0.5630;4=---;5=---";
        QTest::newRow("pasted garbage Vout") << "p0:abc;e0" << "0=0.0000;3=68.5394;4=---;5=---";
    }
    void examples()
    {
        QFETCH(QString, script);
        QFETCH(QString, expect);
        runScript(w(), "calcdata", script);
        QCOMPARE(boxMismatch(w(), "calcdata", expect), QString());
    }

    // A change recomputes only for the box that has the focus.
    void changeOfUnfocusedBoxWaits()
    {
        runScript(w(), "calcdata", "t0:3");
        paste(boxNamed(w(), "calcdata_6"), "2");
        QCOMPARE(boxMismatch(w(), "calcdata", "0=3;3=68.6550"), QString());
    }

    void pickerGivesRTop()
    {
        QLineEdit* rtop = boxNamed(w(), "calcdata_2");
        giveFocus(rtop);
        {
            ModalAnswer a("OKButton");
            a.setBeforePress(chooseValue("R=1%", "  10,000"));
            QTest::mouseDClick(rtop, Qt::LeftButton);
            QVERIFY(a.answered());
        }
        QCOMPARE(boxMismatch(w(), "calcdata", "2=10.0000;3=6.8551"), QString());
    }

    void pickerCancelChangesNothing()
    {
        QLineEdit* rbot = boxNamed(w(), "calcdata_3");
        giveFocus(rbot);
        {
            ModalAnswer a("Command1");
            a.setBeforePress(chooseValue("R=5%", "  4,700"));
            QTest::mouseDClick(rbot, Qt::LeftButton);
            QVERIFY(a.answered());
        }
        QCOMPARE(boxMismatch(w(), "calcdata", "3=68.5394;0=3.0000"), QString());
    }
};

VOLTARIS_TEST(TestLt1761);
#include "test_lt1761.moc"
