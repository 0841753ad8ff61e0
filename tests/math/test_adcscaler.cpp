#include "support/modal.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/rtfview.h"
#include "math/adcscale.h"
#include "math/math_adcscaler.h"
#include "math/math_adcscalerdoc.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {
// Chooses a series and one of its values in the picker, then presses OK.
std::function<void(QWidget*)> chooseValue(const QString& group, const QString& entry)
{
    return [group, entry](QWidget* picker) {
        auto* combo = picker->findChild<QComboBox*>("Combo1");
        combo->setCurrentIndex(combo->findText(group));
        combo->setCurrentIndex(combo->findText(entry));
    };
}
QColor background(QWidget* w)
{
    return w->palette().color(QPalette::Base);
}
} // namespace

class TestAdcScaler : public QObject {
    Q_OBJECT
    Math_adcscaler& w() { return FormSlots::get<Math_adcscaler>(); }
    Math_adcscalerdoc& help() { return FormSlots::get<Math_adcscalerdoc>(); }
    template <class T>
    T* ctl(const QString& name) { return w().form()->findChild<T*>(name); }
    QLineEdit* spec(int i) { return boxNamed(w(), QStringLiteral("spec_%1").arg(i)); }
    QString out(const char* name) { return ctl<QLineEdit>(name)->text(); }
    void choose(const char* list, const QString& text)
    {
        auto* l = ctl<QComboBox>(list);
        l->setCurrentIndex(l->findText(text));
    }
    void clickHelp() { QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton); }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("Math_adcscaler"));
        QVERIFY(w().visible());
    }
    void cleanup()
    {
        w().unload();
        help().unload();
    }

    void productBits_data()
    {
        QTest::addColumn<double>("product");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("over");
        QTest::newRow("0") << 0.0 << " 1 / 0x00000000" << false;
        QTest::newRow("1") << 1.0 << " 1 / 0x00000001" << false;
        QTest::newRow("1275") << 1275.0 << " 11 / 0x000004FB" << false;
        QTest::newRow("defaults") << 655358352.0 << " 30 / 0x270FF990" << false;
        QTest::newRow("2^31 - 1") << 2147483647.0 << " 31 / 0x7FFFFFFF" << false;
        QTest::newRow("2^31 - 1.25") << 2147483646.75 << " 31 / 0x7FFFFFFF" << false;
        QTest::newRow("2^31 - 0.5") << 2147483647.5 << "32 / 0x80000000" << false;
        QTest::newRow("2^31 - 0.75") << 2147483647.25 << " 31 / 0x7FFFFFFF" << false;
        QTest::newRow("2^31 - 0.25") << 2147483647.75 << "32 / 0x80000000" << false;
        QTest::newRow("2^31") << 2147483648.0 << "32 / 0x80000000" << false;
        QTest::newRow("2^32 - 1") << 4294967295.0 << "32 / 0xFFFFFFFF" << false;
        QTest::newRow("2^32 - 0.5") << 4294967295.5 << " 33 / 0xFFFFFFFF" << true;
        QTest::newRow("2^32") << 4294967296.0 << " 33 / 0xFFFFFFFF" << true;
        QTest::newRow("1e300") << 1e300 << " 997 / 0xFFFFFFFF" << true;
        QTest::newRow("infinite") << qInf() << "----" << true;
        QTest::newRow("not a number") << qQNaN() << "----" << true;
        QTest::newRow("negative") << -5.0 << "----" << true;
    }
    void productBits()
    {
        QFETCH(double, product);
        QFETCH(QString, text);
        QFETCH(bool, over);
        bool red = false;
        QCOMPARE(adcProductBits(product, &red), text);
        QCOMPARE(red, over);
    }

    void scaleTexts()
    {
        AdcScaleInput in; // the defaults
        AdcScaleTexts t = adcScale(in);
        QCOMPARE(QStringList({t.adcfs, t.pdfs, t.fullScale, t.scaler, t.resultBits}),
                 QStringList({"1023", "65536", "10.000000", "40039", " 30 / 0x270FF990"}));
        in.gain = 0;
        t = adcScale(in);
        QVERIFY(t.gainRed);
        QCOMPARE(t.fullScale, QString("----"));
        QCOMPARE(t.scaler, QString("0")); // "----" reads 0
        in = AdcScaleInput();
        in.multiplier = qInf();
        t = adcScale(in);
        QCOMPARE(t.scaler, QString("----"));
        QCOMPARE(t.resultBits, QString(" 1 / 0x00000000"));
        in = AdcScaleInput();
        in.depth = qInf();
        t = adcScale(in);
        QCOMPARE(t.resultBits, QString("----"));
        QVERIFY(t.resultRed);
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("ADC Scale Factor Calc"));
        QCOMPARE(ctl<QComboBox>("adcwidth")->currentText(), QString("10"));
        QCOMPARE(ctl<QComboBox>("postdivide")->currentText(), QString("16"));
        QCOMPARE(ctl<QComboBox>("postdivide")->count(), 16);
        QCOMPARE(ctl<QComboBox>("adcwidth")->itemData(5).toInt(), 24);
        QCOMPARE(out("adcfs"), QString("1023"));
        QCOMPARE(out("pdfs"), QString("65536"));
        QCOMPARE(spec(5)->text(), QString("10.000000"));
        QCOMPARE(out("scaler"), QString("40039"));
        QCOMPARE(out("resultbits"), QString(" 30 / 0x270FF990"));
        QCOMPARE(background(ctl<QLineEdit>("resultbits")), colors::green);
        QVERIFY(spec(5)->isReadOnly());
    }

    void eightBits()
    {
        choose("adcwidth", "8");
        choose("postdivide", "8");
        retype(spec(1), "0");
        retype(spec(4), "1");
        retype(spec(6), "1");
        QCOMPARE(spec(5)->text(), QString("5.000000"));
        QCOMPARE(out("scaler"), QString("5"));
        QCOMPARE(out("resultbits"), QString(" 11 / 0x000004FB"));
        QCOMPARE(out("adcfs"), QString("255"));
        QCOMPARE(out("pdfs"), QString("256"));
    }

    void zeroFieldsTurnRed_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("fullScale");
        QTest::addColumn<QString>("scaler");
        QTest::addColumn<QString>("bits");
        QTest::newRow("Rbot") << 2 << "----" << "0" << " 1 / 0x00000000";
        QTest::newRow("gain") << 3 << "----" << "0" << " 1 / 0x00000000";
        QTest::newRow("depth") << 4 << "10.000000" << "----" << " 1 / 0x00000000";
    }
    void zeroFieldsTurnRed()
    {
        QFETCH(int, field);
        QFETCH(QString, fullScale);
        QFETCH(QString, scaler);
        QFETCH(QString, bits);
        retype(spec(field), "0");
        QCOMPARE(background(spec(field)), colors::red);
        QCOMPARE(spec(5)->text(), fullScale);
        QCOMPARE(out("scaler"), scaler);
        QCOMPARE(out("resultbits"), bits);
        retype(spec(field), "2");
        QCOMPARE(background(spec(field)), colors::white);
    }

    void largeProducts()
    {
        retype(spec(6), "5000");
        const QString bits = out("resultbits");
        QVERIFY2(bits.startsWith("32 / 0x") && bits.size() == 15, qPrintable(bits));
        QVERIFY(QString("89ABCDEF").contains(bits.at(7)));
        QCOMPARE(bits, QStringLiteral("32 / 0x") + hexstr(int64_t(16.0 * numval(out("scaler")) * 1023)));
        QCOMPARE(background(ctl<QLineEdit>("resultbits")), colors::green);
        retype(spec(6), "10000");
        QCOMPARE(out("resultbits"), QString(" 33 / 0xFFFFFFFF"));
        QCOMPARE(background(ctl<QLineEdit>("resultbits")), colors::red);
        retype(spec(6), "1000000000");
        QCOMPARE(out("resultbits"), QString(" 50 / 0xFFFFFFFF"));
    }

    void confirmedFields()
    {
        retype(spec(4), "16.7");
        pressEnter(spec(4));
        QCOMPARE(spec(4)->text(), QString("16"));
        retype(spec(0), "3.3");
        leaveBox(spec(0));
        QCOMPARE(spec(0)->text(), QString("3.3000"));
        retype(spec(6), "2.5e");
        leaveBox(spec(6));
        QCOMPARE(spec(6)->text(), QString("2"));
        // A non-value leaves the field as 0 and still recomputes.
        paste(spec(3), "gain");
        QCOMPARE(spec(5)->text(), QString("----"));
        giveFocus(spec(3));
        leaveBox(spec(3));
        QCOMPARE(spec(3)->text(), QString("0.0000"));
        QCOMPARE(background(spec(3)), colors::red);
    }

    void figuresThatAreNoNumber_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("fullScale");
        QTest::addColumn<QString>("scaler");
        QTest::addColumn<QString>("bits");
        const QString huge(400, u'9');
        QTest::newRow("huge reference") << 0 << "----" << "0" << " 1 / 0x00000000";
        QTest::newRow("huge multiplier") << 6 << "10.000000" << "----" << " 1 / 0x00000000";
        QTest::newRow("huge depth") << 4 << "10.000000" << "0" << "----";
        QTest::newRow("negative reference") << 0 << "----" << "0" << " 1 / 0x00000000";
        QTest::newRow("negative multiplier") << 6 << "10.000000" << "----" << " 1 / 0x00000000";
    }
    void figuresThatAreNoNumber()
    {
        QFETCH(int, field);
        QFETCH(QString, fullScale);
        QFETCH(QString, scaler);
        QFETCH(QString, bits);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        paste(spec(field), tag.startsWith("huge") ? QString(400, u'9') : QStringLiteral("-7"));
        QCOMPARE(spec(5)->text(), fullScale);
        QCOMPARE(out("scaler"), scaler);
        QCOMPARE(out("resultbits"), bits);
    }

    void listsTakeNoKeys()
    {
        giveFocus(ctl<QComboBox>("adcwidth"));
        QTest::keyClicks(ctl<QComboBox>("adcwidth"), "1");
        QCOMPARE(ctl<QComboBox>("adcwidth")->currentText(), QString("10"));
    }

    void picker()
    {
        // The outputs are recomputed after the picker either way: a list
        // change made without its handler shows only then.
        auto* width = ctl<QComboBox>("adcwidth");
        {
            const QSignalBlocker quiet(width);
            width->setCurrentIndex(0);
        }
        {
            ModalAnswer answer(QStringLiteral("Command1"));
            answer.setWindowName(QStringLiteral("RLC_getresistor"));
            QTest::mouseDClick(spec(1), Qt::LeftButton);
            QVERIFY(answer.answered());
        }
        QCOMPARE(spec(1)->text(), QString("10.0000"));
        QCOMPARE(out("adcfs"), QString("255"));
        {
            ModalAnswer answer(QStringLiteral("OKButton"));
            answer.setWindowName(QStringLiteral("RLC_getresistor"));
            answer.setBeforePress(chooseValue("R=1%", "  4,990"));
            QTest::mouseDClick(spec(1), Qt::LeftButton);
            QVERIFY(answer.answered());
        }
        QCOMPARE(spec(1)->text(), QString("4.9900"));
        QCOMPARE(spec(5)->text(), QString("7.495000"));
        {
            // A series entry rather than a value leaves the field.
            ModalAnswer answer(QStringLiteral("OKButton"));
            answer.setWindowName(QStringLiteral("RLC_getresistor"));
            answer.setBeforePress(chooseValue("R=5%", "R=5%"));
            QTest::mouseDClick(spec(2), Qt::LeftButton);
            QVERIFY(answer.answered());
        }
        QCOMPARE(spec(2)->text(), QString("10.0000"));
    }

    void helpWindow()
    {
        clickHelp();
        QVERIFY(help().isLoaded() && help().visible());
        QCOMPARE(help().caption(), QString("ADC Scaler help"));
        QCOMPARE(help().top(), twips(100) * 15.0);
        QCOMPARE(help().left(), twips(100) * 15.0);
        auto* page = help().form()->findChild<RtfView*>("helprtf");
        QVERIFY(page);
        const QString text = page->toPlainText();
        for (const char* words : {"scale factor", "Average depth", "Why 8 and 16 bits are cheap", "Green", "Red",
                                  "0x270FF990", "40039"})
            QVERIFY2(text.contains(QLatin1String(words)), words);
        QTest::mouseClick(page->viewport(), Qt::LeftButton);
        QVERIFY(!help().form()->isVisible());
        QVERIFY(help().isLoaded());
        clickHelp();
        QVERIFY(help().form()->isVisible());
    }

    void helpPageReadOnce_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("missing") << QByteArray()
                                 << "Help file not installed!  Please run the latest voltaris installer.";
        QTest::newRow("own page") << QByteArray("{\\rtf1 first page}") << "first page";
        static const char binary[] = "{\\rtf1 \x00\xff{{{\\'zz}\\u-99999999999 ok";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << "zz";
    }
    void helpPageReadOnce()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        TempFolders folders(false);
        if (!bytes.isEmpty())
            writeFile(folders.appFile("adcscaler.rtf"), bytes);
        clickHelp();
        auto* page = help().textBox();
        QVERIFY2(page->toPlainText().contains(shown), qPrintable(page->toPlainText()));
        QTest::mouseClick(page->viewport(), Qt::LeftButton);
        writeFile(folders.appFile("adcscaler.rtf"), "{\\rtf1 second page}");
        clickHelp();
        QVERIFY(help().form()->isVisible());
        QVERIFY(page->toPlainText().contains(shown));
        QVERIFY(!page->toPlainText().contains("second page"));
    }
};

VOLTARIS_TEST(TestAdcScaler);
#include "test_adcscaler.moc"
