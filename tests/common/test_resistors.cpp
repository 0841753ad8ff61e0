#include "support/modal.h"
#include "support/testmain.h"

#include "common/rlc_getresistor.h"
#include "common/stdseries.h"
#include "common/verror.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {
// Picks entries in the open picker the way a user does, then presses a button.
std::function<void(QWidget*)> choose(const QString& group, const QString& value)
{
    return [group, value](QWidget* dlg) {
        auto* combo = dlg->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QVERIFY(combo);
        if (!group.isEmpty())
            combo->setCurrentIndex(combo->findText(group));
        if (!value.isEmpty()) {
            const int i = combo->findText(value);
            QVERIFY2(i >= 2, qPrintable(value));
            combo->setCurrentIndex(i);
        }
    };
}

// A caller's resistor field: written only when the picker hands a value.
void pickInto(QLineEdit& field)
{
    if (auto ohms = RLC_getresistor::pick())
        field.setText(QString::number(*ohms));
}

int listCount()
{
    auto* combo = FormSlots::get<RLC_getresistor>().form()->findChild<QComboBox*>(QStringLiteral("Combo1"));
    return combo->count();
}
} // namespace

class TestResistors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void series_data()
    {
        QTest::addColumn<int>("series");
        QTest::addColumn<int>("index");
        QTest::addColumn<float>("value");
        QTest::newRow("1% count") << 0 << 0 << 576.f;
        QTest::newRow("1% first") << 0 << 1 << 10.f;
        QTest::newRow("1% 25") << 0 << 25 << 17.8f;
        QTest::newRow("1% 96") << 0 << 96 << 97.6f;
        QTest::newRow("1% 97") << 0 << 97 << 100.f;
        QTest::newRow("1% last") << 0 << 576 << 9760000.f;
        QTest::newRow("1% end") << 0 << 577 << 0.f;
        QTest::newRow("5% count") << 1 << 0 << 201.f;
        QTest::newRow("5% first") << 1 << 1 << 0.1f;
        QTest::newRow("5% 4.7") << 1 << 41 << 4.7f;
        QTest::newRow("5% 192") << 1 << 192 << 9100000.f;
        QTest::newRow("5% 193") << 1 << 193 << 10000000.f;
        QTest::newRow("5% last") << 1 << 201 << 22000000.f;
        QTest::newRow("5% end") << 1 << 202 << 0.f;
        QTest::newRow("other count") << 2 << 0 << 0.f;
        QTest::newRow("other first") << 2 << 1 << 0.f;
    }
    void series()
    {
        QFETCH(int, series);
        QFETCH(int, index);
        QFETCH(float, value);
        std::vector<float> v(1001, -1.f);
        stdseries(int16_t(series), v);
        QCOMPARE(v[size_t(index)], value);
    }

    void seriesAscendingAndSized()
    {
        for (int16_t s : {int16_t(0), int16_t(1)}) {
            std::vector<float> v(1001);
            stdseries(s, v);
            const int n = int(v[0]);
            for (int i = 2; i <= n; ++i)
                QVERIFY2(v[size_t(i)] > v[size_t(i - 1)], qPrintable(QString::number(i)));
            // Exactly count + 2 entries is enough; one fewer is refused untouched.
            std::vector<float> exact(size_t(n + 2));
            stdseries(s, exact);
            QCOMPARE(exact.back(), 0.f);
            std::vector<float> small(size_t(n + 1), 7.f);
            QVERIFY_THROWS_EXCEPTION(VError, stdseries(s, small));
            QCOMPARE(small[0], 7.f);
        }
    }

    void format_data()
    {
        QTest::addColumn<int>("series");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("5% below 1") << 1 << 0.1f << " 0.10";
        QTest::newRow("5% 0.47") << 1 << 0.47f << " 0.47";
        QTest::newRow("5% 9.1") << 1 << 9.1f << " 9.1";
        QTest::newRow("5% 4700") << 1 << 4700.f << " 4,700";
        QTest::newRow("5% 22M") << 1 << 22000000.f << " 22,000,000";
        QTest::newRow("1% 97.6") << 0 << 97.6f << " 97.6";
        QTest::newRow("1% 47500") << 0 << 47500.f << " 47,500";
        QTest::newRow("1% 1M") << 0 << 1000000.f << " 1,000,000";
        QTest::newRow("other") << 3 << 5.f << "";
    }
    void format()
    {
        QFETCH(int, series);
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(resformat(int16_t(series), value), text);
    }

    void pickerDesign()
    {
        RLC_getresistor& w = FormSlots::get<RLC_getresistor>();
        QCOMPARE(w.caption(), QStringLiteral("Resistor  picker"));
        auto* combo = w.form()->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("R=1%"));
        QCOMPARE(combo->itemText(1), QStringLiteral("R=5%"));
        QCOMPARE(combo->placeholderText(), QStringLiteral("Select group..."));
        QCOMPARE(RLC_getresistor::entryValue(QStringLiteral("R=5%")), std::nullopt);
        QCOMPARE(RLC_getresistor::entryValue(QStringLiteral("  1,000")), std::optional<double>(1000.0));
    }

    void pickerOkCancelAndListSize()
    {
        QLineEdit field;
        field.setText(QStringLiteral("330"));

        // Nothing chosen yet: OK hands nothing.
        {
            ModalAnswer a(QStringLiteral("OKButton"));
            pickInto(field);
            QVERIFY(a.answered());
        }
        QCOMPARE(field.text(), QStringLiteral("330"));

        {
            ModalAnswer a(QStringLiteral("OKButton"));
            a.setBeforePress(choose(QStringLiteral("R=5%"), QStringLiteral("  4.7")));
            pickInto(field);
            QVERIFY(a.answered());
        }
        QCOMPARE(field.text(), QStringLiteral("4.7"));
        QCOMPARE(listCount(), 2 + 201);

        {
            ModalAnswer a(QStringLiteral("OKButton"));
            a.setBeforePress(choose(QString(), QStringLiteral("  1,000")));
            pickInto(field);
        }
        QCOMPARE(field.text(), QStringLiteral("1000"));

        // The selection persists: OK again hands the same value.
        {
            ModalAnswer a(QStringLiteral("OKButton"));
            pickInto(field);
        }
        QCOMPARE(field.text(), QStringLiteral("1000"));

        // Cancel after choosing a value leaves the field.
        field.setText(QStringLiteral("2200"));
        {
            ModalAnswer a(QStringLiteral("Command1"));
            a.setBeforePress(choose(QStringLiteral("R=1%"), QStringLiteral("  47,500")));
            pickInto(field);
            QVERIFY(a.answered());
        }
        QCOMPARE(field.text(), QStringLiteral("2200"));

        // The close box is a Cancel too.
        {
            ModalAnswer a{QString()};
            a.setBeforePress(choose(QStringLiteral("R=5%"), QStringLiteral("  10")));
            pickInto(field);
            QVERIFY(a.answered());
        }
        QCOMPARE(field.text(), QStringLiteral("2200"));

        // Repeated series choices and Cancels never grow the list beyond
        // the two groups and one series.
        for (int i = 0; i < 4; ++i) {
            ModalAnswer a(QStringLiteral("Command1"));
            a.setBeforePress([](QWidget* dlg) {
                auto* combo = dlg->findChild<QComboBox*>(QStringLiteral("Combo1"));
                combo->setCurrentIndex(1);
                combo->setCurrentIndex(0);
                combo->setCurrentIndex(1);
            });
            pickInto(field);
            QVERIFY(listCount() <= 2 + 576);
        }
        QCOMPARE(listCount(), 2 + 576);
        QCOMPARE(field.text(), QStringLiteral("2200"));
    }
};

VOLTARIS_TEST(TestResistors);
#include "test_resistors.moc"
