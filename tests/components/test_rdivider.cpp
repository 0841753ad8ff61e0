#include "support/modal.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "components/dividercalc.h"
#include "components/rlc_rdivider1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
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

class TestRdivider : public QObject {
    Q_OBJECT
    RLC_rdivider1& w() { return FormSlots::get<RLC_rdivider1>(); }
    QLineEdit* spec(int i) { return boxNamed(w(), "spec_" + QString::number(i)); }
    QString texts()
    {
        QStringList t;
        for (int i = 0; i < 4; ++i)
            t << spec(i)->text();
        return t.join(u' ');
    }
    void lock(int k) { QTest::mouseClick(w().form()->findChild<QRadioButton*>("lockedval_" + QString::number(k)), Qt::LeftButton); }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("RLC_rdivider1"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void start()
    {
        QCOMPARE(w().caption(), QString("Resistor Divider"));
        QCOMPARE(texts(), QString("2.0000 1.0000 5.0000 1.6667"));
        QVERIFY(spec(3)->isReadOnly());
        QVERIFY(!spec(0)->isReadOnly());
    }

    // Typing into one box with a chosen dependent quantity; the four boxes after.
    void solve_data()
    {
        QTest::addColumn<int>("dependent");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expect");
        QTest::newRow("Vout from Vin") << 3 << 2 << "12" << "2.0000 1.0000 12 4.0000";
        QTest::newRow("R1 from Vout") << 0 << 3 << "1" << "4.0000 1.0000 5.0000 1";
        QTest::newRow("R1 over Vin goes negative") << 0 << 3 << "10" << "-0.5000 1.0000 5.0000 10";
        QTest::newRow("R2 from R1") << 1 << 0 << "4" << "4 2.0001 5.0000 1.6667";
        QTest::newRow("Vin from R2") << 2 << 1 << "2" << "2.0000 2 3.3334 1.6667";
        QTest::newRow("minus and letters refused") << 3 << 0 << "-3a.5" << "3.5 1.0000 5.0000 1.1111";
    }
    void solve()
    {
        QFETCH(int, dependent);
        QFETCH(int, box);
        QFETCH(QString, keys);
        lock(dependent);
        retype(spec(box), keys);
        QTEST(texts(), "expect");
    }

    void repairWaitsForEnter()
    {
        lock(0);
        retype(spec(3), "");
        QTest::keyClick(spec(3), Qt::Key_Backspace);
        QCOMPARE(spec(3)->text(), QString());
        QCOMPARE(spec(0)->text(), QString("---"));
        QTest::keyClicks(spec(3), "2");
        QCOMPARE(texts(), QString("1.5000 1.0000 5.0000 2"));
        retype(spec(3), "0");
        QCOMPARE(spec(3)->text(), QString("0"));
        QCOMPARE(spec(0)->text(), QString("---"));
        pressEnter(spec(3));
        QCOMPARE(texts(), QString("49999.0000 1.0000 5.0000 0.0001"));
        // leaving the box repairs as well
        retype(spec(3), "0");
        leaveBox(spec(3));
        QCOMPARE(texts(), QString("49999.0000 1.0000 5.0000 0.0001"));
    }

    void repairOfAnotherBoxIsAtOnce()
    {
        lock(1);
        retype(spec(2), "2");
        pressEnter(spec(2));
        retype(spec(3), "2");
        QCOMPARE(texts(), QString("2.0000 40000.0000 2.0001 2"));
        // Vin typed equal to Vout waits in its own box
        retype(spec(2), "2"); // leaving Vout wrote it as 2.0000
        QCOMPARE(texts(), QString("2.0000 --- 2 2.0000"));
        pressEnter(spec(2));
        QCOMPARE(texts(), QString("2.0000 40000.0000 2.0001 2.0000"));
    }

    void pastedGarbage_data()
    {
        QTest::addColumn<int>("dependent");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("negative R1") << 3 << 0 << "-1" << "-0.0005"; // R2 repaired to 0.0001
        QTest::newRow("letters in Vin") << 3 << 2 << "abc" << "0.0000";
        QTest::newRow("empty R2 with Vin dependent") << 2 << 1 << "" << "---";
        QTest::newRow("huge R2") << 0 << 1 << "1e308" << "---";
    }
    void pastedGarbage()
    {
        QFETCH(int, dependent);
        QFETCH(int, box);
        QFETCH(QString, text);
        lock(dependent);
        giveFocus(spec(box));
        paste(spec(box), text);
        QTEST(spec(dependent)->text(), "result");
        leaveBox(spec(box));
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!spec(i)->text().contains("nan", Qt::CaseInsensitive));
            QVERIFY(!spec(i)->text().contains("inf", Qt::CaseInsensitive));
        }
    }

    void repairsAsTheTableSays()
    {
        DividerRepair r = dividerRepair(0, {2, 1, 5, 0});
        QCOMPARE(r.box, 3);
        QCOMPARE(r.value, 0.0001);
        r = dividerRepair(1, {2, 1, 2, 2});
        QCOMPARE(r.box, 2);
        QCOMPARE(r.value, 2.0001);
        QCOMPARE(dividerRepair(2, {2, 0, 5, 1}).box, 1);
        QCOMPARE(dividerRepair(3, {1, -1, 5, 1}).box, 1);
        QCOMPARE(dividerRepair(3, {2, 1, 5, 1}).box, -1);
    }

    void pickerWritesKiloOhms()
    {
        giveFocus(spec(0));
        {
            ModalAnswer a("OKButton");
            a.setBeforePress(chooseValue("R=1%", "  4,750"));
            QTest::mouseDClick(spec(0), Qt::LeftButton);
            QVERIFY(a.answered());
        }
        QCOMPARE(texts(), QString("4.7500 1.0000 5.0000 0.8696"));
        {
            ModalAnswer a("Command1");
            a.setBeforePress(chooseValue("R=5%", "  4,700"));
            QTest::mouseDClick(spec(1), Qt::LeftButton);
            QVERIFY(a.answered());
        }
        QCOMPARE(texts(), QString("4.7500 1.0000 5.0000 0.8696"));
    }

    void doubleClickOnVoltageDoesNothing()
    {
        ModalAnswer a("Command1", 300);
        QTest::mouseDClick(spec(2), Qt::LeftButton);
        QTest::mouseDClick(spec(3), Qt::LeftButton);
        QTest::qWait(400);
        QVERIFY(!a.answered());
        QCOMPARE(texts(), QString("2.0000 1.0000 5.0000 1.6667"));
    }
};

VOLTARIS_TEST(TestRdivider);
#include "test_rdivider.moc"
