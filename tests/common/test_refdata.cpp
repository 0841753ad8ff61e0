#include "support/testmain.h"

#include "common/fields.h"
#include "common/numtext.h"
#include "common/refdata.h"
#include "common/verror.h"

#include <QTest>
#include <cmath>

namespace {
QString metal(const QString& request, double width, double thickness, double length, const QString& gauge,
              const QString& metalName, const QString& units)
{
    return metalprop(request, width, thickness, length, gauge, metalName, 123.0, units);
}

double num(const QString& text)
{
    return numval(text);
}

double awg(double n)
{
    return 0.005 * std::pow(92.0, (36.0 - n) / 39.0);
}
} // namespace

class TestRefdata : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void metalList()
    {
        const QString list = metal("M", 0, 0, 0, "", "", "e");
        QCOMPARE(getfield(list, 0, ","), QStringLiteral("26"));
        QCOMPARE(getfield(list, 1, ","), QStringLiteral("Aluminum"));
        QCOMPARE(getfield(list, 13, ","), QStringLiteral("Magnesium"));
        QCOMPARE(getfield(list, 14, ","), QStringLiteral("Mercury"));
        QCOMPARE(getfield(list, 26, ","), QStringLiteral("Zinc"));
        // Every listed name is known to the table.
        for (int i = 1; i <= 26; ++i)
            QVERIFY(num(metal("p", 0, 0, 0, "", getfield(list, i, ","), "e")) < 1e-5);
    }

    void resistivity_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("copper") << "Copper" << " 1.72E-08";
        QTest::newRow("capitals") << "COPPER" << " 1.72E-08";
        QTest::newRow("silver") << "silver" << " 1.5873015E-08";
        QTest::newRow("nichrome") << "Nichrome" << " 1E-06";
        QTest::newRow("misspelt as listed") << "Molybendum" << " 5.34E-08";
        QTest::newRow("unknown") << "unobtainium" << " 1";
    }
    void resistivity()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(metal("p", 0, 0, 0, "", name, "e"), text);
    }

    void gauges_data()
    {
        QTest::addColumn<QString>("gauge");
        QTest::addColumn<double>("n");
        QTest::newRow("4/0") << "0000" << -3.0;
        QTest::newRow("1/0") << "0" << 0.0;
        QTest::newRow("8/0") << "00000000" << -7.0;
        QTest::newRow("36") << "36" << 36.0;
        QTest::newRow("10") << "10" << 10.0;
        QTest::newRow("text") << "abc" << 0.0;
        QTest::newRow("nine zeros is a number") << "000000000" << 0.0;
    }
    void gauges()
    {
        QFETCH(QString, gauge);
        QFETCH(double, n);
        QCOMPARE(num(metal("d", 0, 0, 0, gauge, "copper", "e")), num(numstr(awg(n))));
    }

    void diameterExamples()
    {
        QCOMPARE(num(metal("d", 0, 0, 0, "0000", "", "e")), 0.46);
        QCOMPARE(num(metal("d", 0, 0, 0, "36", "", "e")), 0.005);
    }

    void resistances()
    {
        // Rectangular bar, mm and metres: 1.72e-8 / 20e-6.
        QCOMPARE(num(metal("R", 10, 2, 1, "", "copper", "m")), 8.6e-4);
        // AWG 10 copper, 12 inches.
        const double d = 0.005 * std::pow(92.0, 26.0 / 39.0) * 0.0254 / 2;
        const double a = 1.72e-8 * 0.3048 / (3.141592654 * d * d);
        QCOMPARE(num(metal("a", 0, 0, 12, "10", "copper", "e")), num(numstr(a)));
        // The wire's cross-section is the same in either unit system.
        QCOMPARE(num(metal("a", 0, 0, 1, "10", "copper", "m")), num(numstr(1.72e-8 / (3.141592654 * d * d))));
        // Round conductor of 1 mm over 1 m.
        const double c = 1.72e-8 / (3.141592654 * 0.0005 * 0.0005);
        QCOMPARE(num(metal("c", 1, 0, 1, "", "copper", "m")), num(numstr(c)));
        // Mils and inches: 100 x 100 mil bar, 10 inches.
        const double r = 1.72e-8 * 0.254 / (2.54e-3 * 2.54e-3);
        QCOMPARE(num(metal("r", 100, 100, 10, "", "copper", "e")), num(numstr(r)));
        QCOMPARE(metal("x", 1, 1, 1, "", "copper", "e"), QString());
    }

    void zeroCrossSectionRaises()
    {
        for (const char* request : {"r", "c"}) {
            try {
                metal(request, 0, 2, 1, "", "copper", "m");
                QFAIL("no error raised");
            } catch (const VError& e) {
                QCOMPARE(e.number(), verr::DivisionByZero);
            }
        }
        QVERIFY_THROWS_EXCEPTION(VError, metal("r", 3, 0, 1, "", "copper", "m"));
    }

    void dielectrics_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("small letters") << "k" << "fr4" << "5.000";
        QTest::newRow("range") << "s" << "Acrylic" << "450 to 1520";
        QTest::newRow("placeholder") << "s" << "Select" << "0";
        QTest::newRow("no such name") << "k" << "Glass" << "";
        QTest::newRow("capital key") << "K" << "Glass-Float" << "4.000 to 10.000";
        QTest::newRow("name with slash") << "s" << "PVC-Type 1 / Vintec 1" << "552";
        QTest::newRow("last row") << "k" << "WOOD" << "2.500 to 8.000";
        QTest::newRow("unknown key") << "x" << "Wood" << "";
    }
    void dielectrics()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(dielectric(key, name), text);
    }

    void dielectricList()
    {
        const QString list = dielectric("m", "");
        QCOMPARE(getfield(list, 0, ","), QStringLiteral("75"));
        QCOMPARE(getfield(list, 1, ","), QStringLiteral("Select"));
        QCOMPARE(getfield(list, 2, ","), QStringLiteral("Acrylic"));
        QCOMPARE(getfield(list, 3, ","), QStringLiteral("Air 1atm"));
        QCOMPARE(getfield(list, 74, ","), QStringLiteral("Water pure"));
        QCOMPARE(getfield(list, 75, ","), QStringLiteral("Wood"));
        QCOMPARE(list.count(QStringLiteral("Butyl Rubber")), 2);
        QVERIFY(!list.endsWith(u','));
        // Every listed name answers both questions.
        for (int i = 1; i <= 75; ++i) {
            const QString name = getfield(list, i, ",");
            QVERIFY2(!dielectric("k", name).isEmpty(), qPrintable(name));
            QVERIFY2(!dielectric("s", name).isEmpty(), qPrintable(name));
        }
    }
};

VOLTARIS_TEST(TestRefdata);
#include "test_refdata.moc"
