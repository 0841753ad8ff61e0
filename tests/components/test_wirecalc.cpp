#include "support/testmain.h"
#include "support/tempfolders.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/rtfview.h"
#include "components/cond_wirecalc.h"
#include "components/cond_wirecalchelp.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestWireCalc : public QObject {
    Q_OBJECT
    Cond_wirecalc& w() { return FormSlots::get<Cond_wirecalc>(); }
    template <class T>
    T* ctl(const QString& name) { return w().form()->findChild<T*>(name); }
    QLineEdit* spec(int i) { return boxNamed(w(), QStringLiteral("spec_%1").arg(i)); }
    QStringList results()
    {
        QStringList out;
        for (int i = 0; i < 4; ++i)
            out << ctl<QLineEdit>(QStringLiteral("result_%1").arg(i))->text();
        return out;
    }
    static QStringList four(const QString& s) { return {s, s, s, s}; }
    void chooseAwg(const QString& size)
    {
        auto* awg = ctl<QComboBox>("awg");
        awg->setCurrentIndex(awg->findText(size));
    }
    // near the left edge, where an option button's circle is
    void click(const QString& name)
    {
        auto* b = ctl<QAbstractButton>(name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    void setList(int i, const QString& text) { ctl<QPlainTextEdit>(QStringLiteral("speclist_%1").arg(i))->setPlainText(text); }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("Cond_wirecalc"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void opening()
    {
        QCOMPARE(w().caption(), QString("Conductor Calculator"));
        QCOMPARE(ctl<QComboBox>("material")->currentText(), QString("Copper"));
        QCOMPARE(ctl<QComboBox>("material")->count(), 26);
        QCOMPARE(ctl<QComboBox>("awg")->count(), 88);
        QCOMPARE(spec(3)->text(), QString("731.43"));
        // 1 x 1 mil copper bar, 1 inch, 1 A
        QCOMPARE(results(), four("0.677165354"));
        QCOMPARE(ctl<QLineEdit>("errorbox")->text(), QString());
    }

    void awgDiameter_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("metric");
        QTest::addColumn<QString>("diameter");
        QTest::newRow("4/0 mils") << "0000" << false << "460.00";
        QTest::newRow("4/0 mm") << "0000" << true << "11.68";
        QTest::newRow("1/0") << "0" << false << "324.86";
        QTest::newRow("36") << "36" << false << "5.00";
    }
    void awgDiameter()
    {
        QFETCH(QString, size);
        QFETCH(bool, metric);
        QFETCH(QString, diameter);
        if (metric)
            click("units_1");
        chooseAwg(size);
        QCOMPARE(spec(3)->text(), diameter);
    }

    void shapes_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QList<int>>("boxes");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("bar 1x1x5") << "mode_0" << QList<int>{2} << QStringList{"5"} << four("3.385826772");
        QTest::newRow("two in parallel halve all")
            << "mode_0" << QList<int>{5} << QStringList{"2"} << four("0.338582677");
        QTest::newRow("current 2 A") << "mode_0" << QList<int>{6} << QStringList{"2"}
                                     << QStringList{"0.677165354", "0.677165354", "1.354330708", "2.708661416"};
        QTest::newRow("frequency leaves AC as DC")
            << "mode_0" << QList<int>{7} << QStringList{"1000"} << four("0.677165354");
        QTest::newRow("round 1 mil") << "mode_1" << QList<int>{3} << QStringList{"1"} << four("0.862193707");
        QTest::newRow("zero width") << "mode_0" << QList<int>{0} << QStringList{"0"} << four("Error");
        QTest::newRow("empty length") << "mode_0" << QList<int>{2} << QStringList{""} << four("Error");
        QTest::newRow("zero diameter") << "mode_1" << QList<int>{3} << QStringList{"0"} << four("Error");
        QTest::newRow("zero conductors") << "mode_2" << QList<int>{5} << QStringList{"0"} << four("Error");
        QTest::newRow("zero wire length") << "mode_2" << QList<int>{8} << QStringList{"0"} << four("Error");
    }
    void shapes()
    {
        QFETCH(QString, option);
        QFETCH(QList<int>, boxes);
        QFETCH(QStringList, values);
        QFETCH(QStringList, expect);
        click(option);
        for (int i = 0; i < boxes.size(); ++i) {
            retype(spec(boxes[i]), values[i]);
            if (values[i].isEmpty())
                QTest::keyClick(spec(boxes[i]), Qt::Key_Backspace);
        }
        QCOMPARE(results(), expect);
    }

    void awgWire()
    {
        click("mode_2");
        chooseAwg("10");
        retype(spec(8), "1000");
        pressEnter(spec(8));
        QCOMPARE(results(), four("0.083038801"));
    }

    void metricReadsTheSameNumbers()
    {
        click("units_1");
        QCOMPARE(ctl<QLabel>("unitlabel_0")->text(), QString("mm"));
        QCOMPARE(ctl<QLabel>("unitlabel_5")->text(), QString("Meters"));
        QCOMPARE(spec(3)->text(), QString("731.43")); // the diameter is not rewritten
        // 1 x 1 mm copper, 1 m: 1.72e-8 / 1e-6
        QCOMPARE(results(), four("0.017200000"));
        click("units_0");
        QCOMPARE(ctl<QLabel>("unitlabel_1")->text(), QString("Mils"));
        QCOMPARE(ctl<QLabel>("unitlabel_2")->text(), QString("Inches"));
        QCOMPARE(results(), four("0.677165354"));
    }

    void pastedBadNumbers_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("negative width") << 0 << "-1" << four("Error");
        QTest::newRow("negative conductors") << 5 << "-2" << four("Error");
        QTest::newRow("negative length") << 2 << "-5" << four("Error");
        QTest::newRow("letters") << 1 << "abc" << four("Error");
        QTest::newRow("minus alone") << 1 << "-" << four("Error");
        QTest::newRow("dots read leading number") << 2 << "5..3.1" << four("3.385826772");
    }
    void pastedBadNumbers()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QStringList, expect);
        paste(spec(index), text);
        QCOMPARE(results(), expect);
    }

    void hugeNumberNeverShowsNanOrInf()
    {
        paste(spec(2), QString(400, u'9'));
        for (const QString& r : results()) {
            QVERIFY2(!r.contains("nan", Qt::CaseInsensitive) && !r.contains("inf", Qt::CaseInsensitive),
                     qPrintable(r));
        }
        // a cross-section too small to be told from 0 has no resistance to show
        paste(spec(0), "1e-200");
        paste(spec(1), "1e-200");
        QCOMPARE(results(), four("---"));
    }

    void keysFilteredAndListsTakeNoKeys()
    {
        retype(spec(0), "2x-e.5");
        QCOMPARE(spec(0)->text(), QString("2.5"));
        auto* material = ctl<QComboBox>("material");
        giveFocus(material);
        QTest::keyClicks(material, "zi");
        QCOMPARE(material->currentText(), QString("Copper"));
    }

    void busBars_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("design sample") << QString() << four("3.385826772");
        QTest::newRow("one line without end") << "1,1,5" << four("3.385826772");
        QTest::newRow("sections add in series, not parallel") << "1,1,2\n1,1,3\n" << four("3.385826772");
    }
    void busBars()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, expect);
        if (!list.isEmpty())
            setList(0, list);
        retype(spec(5), "2"); // the conductor count plays no part
        click("crunch_0");
        QVERIFY(ctl<QRadioButton>("mode_3")->isChecked());
        QCOMPARE(results(), expect);
        QCOMPARE(ctl<QLineEdit>("errorbox")->text(), QString("Enter data into table then press either 'R' or 'C'"));
    }

    void busBarsWithoutData_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty rectangular") << 0 << "";
        QTest::newRow("only dropped lines") << 0 << "0,1,5\n1,0,5\nnothing here\n";
        QTest::newRow("empty circular") << 1 << "";
    }
    void busBarsWithoutData()
    {
        QFETCH(int, list);
        QFETCH(QString, text);
        setList(list, text);
        const int beeps = beepCount();
        click(QStringLiteral("crunch_%1").arg(list));
        QVERIFY(beepCount() > beeps);
        QCOMPARE(results(), four("No data"));
        QCOMPARE(ctl<QLineEdit>("errorbox")->text(), QString("No data to compute path impedance"));
    }

    void circularListNotComputed()
    {
        setList(1, "1,1,1\n");
        click("crunch_1");
        QVERIFY(ctl<QRadioButton>("mode_4")->isChecked());
        QCOMPARE(results(), four("---------"));
        QCOMPARE(ctl<QLineEdit>("errorbox")->text(), QString("Circular bus not yet coded!"));
        click("mode_0");
        QCOMPARE(results(), four("0.677165354"));
        QCOMPARE(ctl<QLineEdit>("errorbox")->text(), QString());
    }

    void longListSumsEverySection()
    {
        QString text;
        for (int i = 0; i < 1500; ++i)
            text += QStringLiteral("1,1,1\n");
        setList(0, text);
        click("crunch_0");
        QCOMPARE(results()[0], QString("1015.748031496"));
    }

    void helpPage()
    {
        auto& help = FormSlots::get<Cond_wirecalchelp>();
        help.unload();
        click("Command1");
        QVERIFY(help.isLoaded() && help.visible());
        QCOMPARE(help.caption(), QString("Wirecalc Help"));
        auto* page = help.form()->findChild<RtfView*>("aboutbox");
        QVERIFY(page);
        const QString text = page->toPlainText();
        // The page names what the window shows for the round list, and
        // gives that list no form of its own, since nothing reads one.
        for (const char* words : {"Conductor Calculator", "Conductors in ||", "in series", "skin effect",
                                  "Circular bus not yet coded!", "No data"})
            QVERIFY2(text.contains(QLatin1String(words)), words);
        QVERIFY(!text.contains(QLatin1String("diameter,length")));
        QTest::mouseClick(page->viewport(), Qt::LeftButton);
        QVERIFY(!help.form()->isVisible());
        click("Command1");
        QVERIFY(help.form()->isVisible());
        help.unload();
    }

    void helpPageMissingOrDamaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        const QByteArray page = readFile(sourceDataDir() + "/wirecalc.rtf");
        QTest::newRow("missing") << QByteArray() << notInstalledText();
        QTest::newRow("truncated") << page.left(page.indexOf("Units")) << "Conductor Calculator";
        static const char binary[] = "{\\rtf1 \x00\xff{{{\\'zz}\\u-99999999999 ok";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << "zz";
    }
    void helpPageMissingOrDamaged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        auto& help = FormSlots::get<Cond_wirecalchelp>();
        help.unload();
        TempFolders folders(false);
        if (!bytes.isEmpty())
            writeFile(folders.appFile("wirecalc.rtf"), bytes);
        click("Command1");
        QVERIFY(help.visible());
        QVERIFY2(help.textBox()->toPlainText().contains(shown), qPrintable(help.textBox()->toPlainText()));
        help.unload();
    }
};

VOLTARIS_TEST(TestWireCalc);
#include "test_wirecalc.moc"
