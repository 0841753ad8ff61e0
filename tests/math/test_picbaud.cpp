#include "support/modal.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "math/pic_picbaud.h"
#include "math/picbaudcalc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestPicBaud : public QObject {
    Q_OBJECT
    PIC_picbaud& w() { return FormSlots::get<PIC_picbaud>(); }
    template <class T>
    T* ctl(const QString& name) { return w().form()->findChild<T*>(name); }
    QComboBox* clock(int i) { return ctl<QComboBox>(QStringLiteral("clock_%1").arg(i)); }
    QLineEdit* manual() { return ctl<QLineEdit>("manual"); }
    QString useclock() { return ctl<QLineEdit>("useclock")->text(); }
    QStringList results()
    {
        QStringList out;
        for (int i = 0; i < 6; ++i)
            out << ctl<QLineEdit>(QStringLiteral("result_%1").arg(i))->text();
        return out;
    }
    void choose(QComboBox* list, const QString& text)
    {
        const int k = list->findText(text);
        QVERIFY2(k >= 0, qPrintable(text));
        list->setCurrentIndex(k);
    }
    void enterClock(const QString& mhz)
    {
        giveFocus(manual());
        manual()->selectAll();
        QTest::keyClicks(manual(), mhz);
        pressEnter(manual());
    }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("PIC_picbaud"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void clockEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<qint64>("hz");
        QTest::newRow("32.768k") << "32.768k" << qint64(32768);
        QTest::newRow("46.6084k") << "46.6084k" << qint64(46608);
        QTest::newRow("120.8475k half to even") << "120.8475k" << qint64(120848);
        QTest::newRow("3.579545") << "3.579545" << qint64(3579545);
        QTest::newRow("12.000393") << "12.000393" << qint64(12000393);
        QTest::newRow("80.000000") << "80.000000" << qint64(80000000);
    }
    void clockEntries()
    {
        QFETCH(QString, entry);
        QFETCH(qint64, hz);
        QCOMPARE(qint64(picClockHz(entry)), hz);
        const int k = clock(2)->findText(entry);
        QVERIFY(k > 0);
        QCOMPARE(clock(2)->itemData(k).toLongLong(), hz);
    }

    void oscillatorFits32Bits()
    {
        QCOMPARE(picOscillatorHz("4", false), std::optional<int32_t>(4000000));
        QCOMPARE(picOscillatorHz("20", true), std::optional<int32_t>(80000000));
        QCOMPARE(picOscillatorHz("2147.483647", false), std::optional<int32_t>(2147483647));
        QCOMPARE(picOscillatorHz("2147.483648", false), std::nullopt);
        QCOMPARE(picOscillatorHz("600", true), std::nullopt);
        QCOMPARE(picOscillatorHz(QString(400, u'9'), false), std::nullopt);
        QCOMPARE(picOscillatorHz("MHz", false), std::optional<int32_t>(0));
        const PicBaudMode low = picBaudMode(4000000, 9600, 64);
        QVERIFY(low.valid);
        QCOMPARE(low.spbrg, 6);
        QVERIFY(!picBaudMode(32768, 9600, 16).valid);
        QCOMPARE(picBaudMode(20000000, 300, 64).spbrg, 255);
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("PIC Baud Rate Calculator"));
        QCOMPARE(results(), QStringList(6, "----"));
        QCOMPARE(useclock(), QString("0"));
        QCOMPARE(clock(0)->currentText(), QString("300"));
        QCOMPARE(clock(1)->currentText(), QString("Select"));
        QCOMPARE(clock(2)->currentText(), QString("Select"));
        QCOMPARE(clock(0)->count(), 13);
        QCOMPARE(clock(1)->count(), 16);
        QCOMPARE(clock(2)->count(), 148);
        QCOMPARE(clock(0)->itemData(12).toInt(), 115200);
    }

    void examples_data()
    {
        QTest::addColumn<QString>("baud");
        QTest::addColumn<int>("list"); // 1, 2: choose the clock there; 0: type it
        QTest::addColumn<QString>("clockText");
        QTest::addColumn<bool>("times4");
        QTest::addColumn<QString>("used");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("4 MHz 9600") << "9600" << 1 << "4.000000" << false << "4"
                                    << QStringList{"0x06", "8928.571", "-6.994", "0x19", "9615.385", "0.160"};
        QTest::newRow("20 MHz 9600") << "9600" << 2 << "20.000000" << false << "20"
                                     << QStringList{"0x20", "9469.697", "-1.357", "0x81", "9615.385", "0.160"};
        QTest::newRow("32.768 kHz 9600") << "9600" << 1 << "32.768k" << false << "0.032768" << QStringList(6, "----");
        QTest::newRow("20 MHz 300 saturates") << "300" << 0 << "20" << false << "20"
                                              << QStringList{"0xFF", "1220.703", "306.901", "0xFF", "4882.813", "1527.604"};
        QTest::newRow("20 x4 is 80 MHz") << "9600" << 0 << "20" << true << "80"
                                         << QStringList{"0x81", "9615.385", "0.160", "0xFF", "19531.250", "103.451"};
        QTest::newRow("3.579545 115.2K: low speed below 0") << "115.2K" << 2 << "3.579545" << false << "3.579545"
                                         << QStringList{"----", "----", "----", "0x01", "111860.781", "-2.899"};
        QTest::newRow("2147.483647 fits") << "9600" << 0 << "2147.483647" << false << "2147.483647"
                                          << QStringList{"0xFF", "131072.000", "1265.333", "0xFF", "524288.000", "5361.333"};
        QTest::newRow("2147.483648 does not") << "9600" << 0 << "2147.483648" << false << "2147.483648"
                                              << QStringList(6, "----");
        QTest::newRow("600 x4 does not") << "9600" << 0 << "600" << true << "2400" << QStringList(6, "----");
    }
    void examples()
    {
        QFETCH(QString, baud);
        QFETCH(int, list);
        QFETCH(QString, clockText);
        QFETCH(bool, times4);
        QFETCH(QString, used);
        QFETCH(QStringList, expect);
        choose(clock(0), baud);
        ctl<QCheckBox>("times4")->setChecked(times4);
        if (list == 0)
            enterClock(clockText);
        else
            choose(clock(list), clockText);
        QCOMPARE(useclock(), used);
        QCOMPARE(results(), expect);
        if (clockText == "32.768k")
            QCOMPARE(manual()->text(), QString("0.032768"));
    }

    void oneClockListResetsTheOther()
    {
        choose(clock(1), "8.000000");
        QCOMPARE(manual()->text(), QString("8.000000"));
        choose(clock(2), "10.000000");
        QCOMPARE(clock(1)->currentIndex(), 0);
        QCOMPARE(manual()->text(), QString("10.000000"));
        choose(clock(1), "455.000k");
        QCOMPARE(clock(2)->currentIndex(), 0);
        QCOMPARE(manual()->text(), QString("0.455000"));
        QCOMPARE(useclock(), QString("0.455"));
    }

    void manualTakesDigitsAndPointOnly()
    {
        giveFocus(manual());
        QTest::keyClicks(manual(), "1a6-.e5");
        QTest::keyClick(manual(), Qt::Key_Backspace);
        QCOMPARE(manual()->text(), QString("16.5"));
        QCOMPARE(results(), QStringList(6, "----")); // until Enter
        pressEnter(manual());
        QCOMPARE(useclock(), QString("16.5"));
        QCOMPARE(results().at(0), QString("0xFF"));
    }

    void pastedClocks_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("used");
        QTest::newRow("negative") << "-4" << "-4";
        QTest::newRow("letters") << "fast" << "0";
        QTest::newRow("400 digits") << QString(400, u'9') << "---";
    }
    void pastedClocks()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, used);
        paste(manual(), pasted);
        pressEnter(manual());
        QCOMPARE(useclock(), used);
        QCOMPARE(results(), QStringList(6, "----"));
    }

    void listsTakeNoKeys()
    {
        giveFocus(clock(0));
        QTest::keyClicks(clock(0), "9");
        QCOMPARE(clock(0)->currentText(), QString("300"));
    }

    void aboutAndLabels()
    {
        const int beeps = beepCount();
        ModalAnswer answer(QStringLiteral("Command1_0"));
        QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(answer.answered());
        QCOMPARE(answer.title(), QString("About PICBaud"));
        QVERIFY(answer.text().contains("This program calculates the value for the Baud Rate Generator for a PIC "
                                       "hardware UART. Sync=0 selects Async mode Brgh=x indicates Low or High "
                                       "speed mode."));
        QCOMPARE(beepCount(), beeps + 1);
        QTest::mouseDClick(ctl<QLabel>("Label1_0"), Qt::LeftButton);
        QCOMPARE(beepCount(), beeps + 2);
    }
};

VOLTARIS_TEST(TestPicBaud);
#include "test_picbaud.moc"
