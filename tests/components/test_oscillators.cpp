#include "support/testmain.h"
#include "support/typing.h"

#include "components/osc_lm555astable.h"
#include "components/osc_picrcosc.h"
#include "components/oscillatorcalc.h"
#include "components/rlc_resonance.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <cmath>

namespace {
QLineEdit* spec(ToolWindow& w, int i)
{
    return boxNamed(w, QStringLiteral("spec_%1").arg(i));
}
// Empties a box with the keyboard, as a user retyping it does.
void empty(QLineEdit* box)
{
    giveFocus(box);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
}
bool sane(const QString& text)
{
    return !text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}
const QString longNumber = QString(400, u'9');
} // namespace

class TestLm555 : public QObject {
    Q_OBJECT
    Osc_lm555astable& w() { return FormSlots::get<Osc_lm555astable>(); }
    QLineEdit* box(int i) { return spec(w(), i); }
    QSlider* slider(int i) { return w().form()->findChild<QSlider*>(QStringLiteral("Slider1_%1").arg(i)); }
    QStringList results() { return {box(7)->text(), box(8)->text(), box(3)->text(), box(4)->text()}; }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("Osc_lm555astable"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void formulas_data()
    {
        QTest::addColumn<QList<double>>("in"); // pot1, slider1, limit1, pot2, slider2, limit2, ct
        QTest::addColumn<QList<double>>("out"); // r1, r2, duty, freq (NaN: none)
        const double none = qQNaN();
        QTest::newRow("defaults") << QList<double>{50, 0, 1, 50, 0, 1, 1} << QList<double>{51000, 51000, 33.3333, 9.4118};
        QTest::newRow("R1 pot out") << QList<double>{50, 100, 1, 50, 0, 1, 1} << QList<double>{1000, 51000, 49.5146, 13.9806};
        QTest::newRow("half of R2 pot") << QList<double>{50, 0, 1, 50, 50, 1, 1} << QList<double>{51000, 26000, 25.2427, 13.9806};
        QTest::newRow("no capacitor") << QList<double>{50, 0, 1, 50, 0, 1, 0} << QList<double>{51000, 51000, 33.3333, none};
        QTest::newRow("no resistance") << QList<double>{0, 0, 0, 0, 0, 0, 1} << QList<double>{0, 0, none, none};
        QTest::newRow("negative capacitor") << QList<double>{50, 0, 1, 50, 0, 1, -1} << QList<double>{51000, 51000, 33.3333, none};
        QTest::newRow("negative resistor") << QList<double>{50, 0, 1, 50, 0, -90, 1} << QList<double>{51000, -40000, none, none};
    }
    void formulas()
    {
        QFETCH(QList<double>, in);
        QFETCH(QList<double>, out);
        const Lm555Astable t = lm555Astable(in[0], in[1], in[2], in[3], in[4], in[5], in[6]);
        const double got[] = {t.r1, t.r2, t.duty, t.freq};
        for (int i = 0; i < 4; ++i) {
            if (std::isnan(out[i]))
                QVERIFY2(std::isnan(got[i]), qPrintable(QString::number(i)));
            else
                QVERIFY2(qAbs(got[i] - out[i]) < 0.0001, qPrintable(QString::number(got[i])));
        }
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("LM555 Astable timing"));
        QCOMPARE(results(), (QStringList{"51.000", "51.000", "33.333", "9.412"}));
        QCOMPARE(slider(0)->minimum(), 0);
        QCOMPARE(slider(0)->maximum(), 100);
    }

    void slidersRecompute()
    {
        slider(0)->setValue(100);
        QCOMPARE(results(), (QStringList{"1.000", "51.000", "49.515", "13.981"}));
        // Dragging follows every move.
        slider(1)->setSliderDown(true);
        slider(1)->setSliderPosition(50);
        QCOMPARE(box(8)->text(), QString("26.000"));
        slider(1)->setSliderDown(false);
    }

    void enterAndLeavingRecompute()
    {
        retype(box(2), "2.2");
        QCOMPARE(box(4)->text(), QString("9.412")); // typing alone does not
        pressEnter(box(2));
        QCOMPARE(box(2)->text(), QString("2.200000"));
        QCOMPARE(box(4)->text(), QString("4.278"));
        retype(box(0), "100");
        retype(box(5), "2");
        QCOMPARE(box(0)->text(), QString("100.000")); // leaving re-formats every input
        leaveBox(box(5));
        QCOMPARE(box(5)->text(), QString("2.000"));
        QCOMPARE(box(7)->text(), QString("102.000"));
    }

    void noResultShowsDashes_data()
    {
        QTest::addColumn<QString>("zeroed"); // boxes set to 0
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("capacitor 0") << "2" << QStringList{"51.000", "51.000", "33.333", "---"};
        QTest::newRow("resistances 0") << "0 1 5 6" << QStringList{"0.000", "0.000", "---", "---"};
    }
    void noResultShowsDashes()
    {
        QFETCH(QString, zeroed);
        QFETCH(QStringList, expect);
        for (const QString& i : zeroed.split(u' '))
            retype(box(i.toInt()), "0");
        pressEnter(box(2));
        QCOMPARE(results(), expect);
    }

    void pastedTextIsReadByItsLeadingNumber_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("frequency");
        QTest::newRow("letters") << 2 << "abc" << "0.000000" << "---";
        QTest::newRow("negative capacitor") << 2 << "-1" << "-1.000000" << "---";
        QTest::newRow("leading number") << 2 << "2.2uF" << "2.200000" << "4.278";
        QTest::newRow("negative limit") << 6 << "-90" << "-90.000" << "---";
        // Too large to show: the box shows "---", which reads 0.
        QTest::newRow("400 digits") << 0 << longNumber << "---" << "13.981";
    }
    void pastedTextIsReadByItsLeadingNumber()
    {
        QFETCH(int, index);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(QString, frequency);
        paste(box(index), pasted);
        pressEnter(box(index));
        QCOMPARE(box(index)->text(), shown);
        QCOMPARE(box(4)->text(), frequency);
        for (const QString& t : results())
            QVERIFY2(sane(t), qPrintable(t));
    }

    void filterRefusesOtherKeys()
    {
        retype(box(2), "-2e,x3");
        QCOMPARE(box(2)->text(), QString("23"));
    }
};

class TestPicRcOsc : public QObject {
    Q_OBJECT
    Osc_picrcosc& w() { return FormSlots::get<Osc_picrcosc>(); }
    QLineEdit* box(int i) { return spec(w(), i); }
    QRadioButton* dvariable(int i) { return w().form()->findChild<QRadioButton*>(QStringLiteral("dvariable_%1").arg(i)); }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("Osc_picrcosc"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void formulas()
    {
        QVERIFY(qAbs(picRcFrequency(3, 24) - 20037.4311) < 0.0001);
        QVERIFY(qAbs(picRcResistor(24, 4000) - 15.0280) < 0.0001);
        QVERIFY(qAbs(picRcCapacitor(3, 4000) - 120.2246) < 0.0001);
        QCOMPARE(picRcFrequency(0, 24), 0.0);
        QCOMPARE(picRcResistor(24, -1), 0.0);
        QCOMPARE(picRcCapacitor(-3, 4000), 0.0);
        QVERIFY(qAbs(picRcSupply(5, 3) - 0.8333) < 0.0001);
        QVERIFY(std::isnan(picRcSupply(5, 0)));
        QVERIFY(std::isnan(picRcSupply(5, -2)));
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("PIC RC Oscillator (Untested)"));
        QCOMPARE(box(4)->text(), QString("0.833"));
        QCOMPARE(box(2)->text(), QString("20037.431"));
        QVERIFY(dvariable(2)->isChecked());
        QVERIFY(box(2)->isReadOnly());
        QVERIFY(!box(0)->isReadOnly());
    }

    void solving_data()
    {
        QTest::addColumn<int>("solve");
        QTest::addColumn<int>("a");
        QTest::addColumn<QString>("aText");
        QTest::addColumn<int>("b");
        QTest::addColumn<QString>("bText");
        QTest::addColumn<QString>("solved");
        QTest::newRow("R from 24 pF, 4000 kHz") << 0 << 1 << "24" << 2 << "4000" << "15.028";
        QTest::newRow("C from 3 k, 4000 kHz") << 1 << 0 << "3" << 2 << "4000" << "120.225";
        QTest::newRow("F from 3 k, 24 pF") << 2 << 0 << "3" << 1 << "24" << "20037.431";
        QTest::newRow("R with F 0") << 0 << 1 << "24" << 2 << "0" << "0.000";
        QTest::newRow("F with R 0") << 2 << 1 << "24" << 0 << "0" << "0.000";
    }
    void solving()
    {
        QFETCH(int, solve);
        QFETCH(int, a);
        QFETCH(QString, aText);
        QFETCH(int, b);
        QFETCH(QString, bText);
        QFETCH(QString, solved);
        QTest::mouseClick(dvariable(solve), Qt::LeftButton);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(box(i)->isReadOnly(), i == solve);
        retype(box(a), aText);
        retype(box(b), bText); // every key release recomputes, unlimited
        QCOMPARE(box(solve)->text(), solved);
    }

    void confirmedValuesAreLimited_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("R 1") << 0 << "1" << "3.000";
        QTest::newRow("R 250") << 0 << "250" << "100.000";
        QTest::newRow("R 47") << 0 << "47" << "47.000";
        QTest::newRow("C 10") << 1 << "10" << "24.000";
        QTest::newRow("C 10000") << 1 << "10000" << "10000.000";
        QTest::newRow("F 0") << 2 << "0" << "1.000";
        QTest::newRow("F 30000") << 2 << "30000" << "20000.000";
        QTest::newRow("Vdd 12") << 3 << "12" << "5.500";
        QTest::newRow("Vdd 1") << 3 << "1" << "2.000";
    }
    void confirmedValuesAreLimited()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QTest::mouseClick(dvariable(index == 0 ? 1 : 0), Qt::LeftButton);
        retype(box(index), typed);
        QCOMPARE(box(index)->text(), typed); // unlimited while typing
        pressEnter(box(index));
        QCOMPARE(box(index)->text(), shown);
        retype(box(index), typed);
        leaveBox(box(index));
        QCOMPARE(box(index)->text(), shown);
    }

    void supplyCurrent()
    {
        retype(box(3), "0");
        QCOMPARE(box(4)->text(), QString("0.833")); // Vdd 0 leaves it
        retype(box(3), "3");
        QCOMPARE(box(4)->text(), QString("0.500"));
        // While R is retyped there is no current to show.
        empty(box(0));
        QCOMPARE(box(4)->text(), QString("---"));
        QCOMPARE(box(2)->text(), QString("0.000"));
        QTest::keyClicks(box(0), "6");
        QCOMPARE(box(0)->text(), QString("6"));
        QCOMPARE(box(4)->text(), QString("0.250"));
        // The current uses the R in its box before a solved R replaces
        // it: after the last key of "4000", the R solved for "400".
        QTest::mouseClick(dvariable(0), Qt::LeftButton);
        retype(box(2), "4000");
        QCOMPARE(box(0)->text(), QString("15.028"));
        QCOMPARE(box(4)->text(), QString("0.010"));
        retype(box(3), "3");
        QCOMPARE(box(4)->text(), QString("0.100"));
    }

    void pastedValues_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("negative R") << 0 << "-3" << "3.000";
        QTest::newRow("letters in C") << 1 << "pF" << "24.000";
        QTest::newRow("400 digits in R") << 0 << longNumber << "100.000";
        QTest::newRow("negative Vdd") << 3 << "-5" << "2.000";
    }
    void pastedValues()
    {
        QFETCH(int, index);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        paste(box(index), pasted);
        giveFocus(box(index));
        leaveBox(box(index));
        QCOMPARE(box(index)->text(), shown);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(sane(box(i)->text()), qPrintable(box(i)->text()));
    }
};

class TestResonance : public QObject {
    Q_OBJECT
    RLC_resonance& w() { return FormSlots::get<RLC_resonance>(); }
    QLineEdit* box(int i) { return spec(w(), i); }
    QStringList results()
    {
        QStringList out;
        for (const char* name : {"fr", "reactance", "q"})
            out << w().form()->findChild<QLineEdit*>(name)->text();
        return out;
    }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("RLC_resonance"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void formulas()
    {
        const Resonance r = resonance(100e-6, 0.1e-6, 10);
        QVERIFY(qAbs(r.fr - 50329.212098) < 1e-6);
        QVERIFY(qAbs(r.reactance - 31.622777) < 1e-6);
        QVERIFY(qAbs(r.q - 3.162278) < 1e-6);
        const Resonance noL = resonance(0, 1e-6, 1);
        QVERIFY(std::isnan(noL.fr) && std::isnan(noL.reactance));
        QCOMPARE(noL.q, 0.0);
        QVERIFY(std::isnan(resonance(1e-6, 1e-6, 0).q));
        QVERIFY(std::isnan(resonance(1e-6, -1e-6, -1).fr));
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("L/C/R Resonant Circuit"));
        QCOMPARE(results(), (QStringList{"15915.494307", "1.000000", "1.000000"}));
        QVERIFY(w().form()->findChild<QLineEdit*>("fr")->isReadOnly());
    }

    void everyKeyRecomputes()
    {
        retype(box(0), "100");
        retype(box(1), "0.1");
        retype(box(2), "10");
        QCOMPARE(results(), (QStringList{"50329.212098", "31.622777", "3.162278"}));
    }

    void emptiedAndConfirmed()
    {
        empty(box(0));
        QCOMPARE(results(), (QStringList{"Error", "Error", "0.000000"}));
        leaveBox(box(0));
        QCOMPARE(box(0)->text(), QString("0.000001"));
        empty(box(2));
        QCOMPARE(results().at(2), QString("Error"));
        leaveBox(box(2));
        QCOMPARE(box(2)->text(), QString("0.000001"));
        retype(box(0), "10");
        QCOMPARE(results(), (QStringList{"15915.494307", "1.000000", "1000000.000000"}));
        retype(box(1), "0");
        pressEnter(box(1));
        QCOMPARE(box(1)->text(), QString("0.000001"));
        retype(box(1), "2.5");
        pressEnter(box(1));
        QCOMPARE(box(1)->text(), QString("2.500000"));
    }

    void pastedValues_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("negative C") << 1 << "-10" << QStringList{"Error", "Error", "0.000000"};
        QTest::newRow("negative R") << 2 << "-1" << QStringList{"15915.494307", "1.000000", "Error"};
        QTest::newRow("letters in L") << 0 << "uH" << QStringList{"Error", "Error", "0.000000"};
        QTest::newRow("leading number") << 0 << "100uH" << QStringList{"5032.921210", "3.162278", "3.162278"};
    }
    void pastedValues()
    {
        QFETCH(int, index);
        QFETCH(QString, pasted);
        QFETCH(QStringList, expect);
        paste(box(index), pasted);
        QCOMPARE(results(), expect);
        giveFocus(box(index));
        leaveBox(box(index));
        QVERIFY(box(index)->text().toDouble() >= 0.000001);
    }

    void hugeValuesNeverShowInfinity()
    {
        paste(box(0), longNumber);
        paste(box(1), longNumber);
        for (const QString& t : results())
            QVERIFY2(sane(t), qPrintable(t));
    }
};

VOLTARIS_TEST(TestLm555);
VOLTARIS_TEST(TestPicRcOsc);
VOLTARIS_TEST(TestResonance);
#include "test_oscillators.moc"
