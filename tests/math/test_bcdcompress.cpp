#include "support/testmain.h"
#include "support/typing.h"

#include "math/math_bcdcompress.h"
#include "math/subbcd.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {
const QString decimalSample = "'Convert 9 character strings to 32bit binary\r\n"
                              "\r\n"
                              "Dim data_out as double\r\n"
                              "Dim text_in as string\r\n"
                              "\r\n"
                              "data_out=val(text_in)\r\n";
const QString hexSample = "'Convert 32bit binary to 9 character strings\r\n"
                          "\r\n"
                          "Dim data_in as double\r\n"
                          "Dim text_out as string\r\n"
                          "\r\n"
                          "text_out=Right(\"00000000\"+mid(str(data_in),2,9),9)\r\n";

QString lf(QString s)
{
    return s.replace("\r\n", "\n");
}
} // namespace

class TestBcdCompress : public QObject {
    Q_OBJECT
    Math_bcdcompress& w() { return FormSlots::get<Math_bcdcompress>(); }
    QLineEdit* dec() { return boxNamed(w(), "xdecimal"); }
    QLineEdit* hex() { return boxNamed(w(), "xhexadecimal"); }
    QString sample() { return w().form()->findChild<QPlainTextEdit*>("Text1")->toPlainText(); }
    void clear(QLineEdit* box)
    {
        giveFocus(box);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }

private Q_SLOTS:
    void init()
    {
        popup("Math_bcdcompress");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void conversions_data()
    {
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("padded");
        QTest::newRow("worked example") << "123456789" << "075BCD15" << "123456789";
        QTest::newRow("255") << "255" << "000000FF" << "000000255";
        QTest::newRow("largest") << "999999999" << "3B9AC9FF" << "999999999";
        QTest::newRow("fraction, half to even") << "2.5" << "00000002" << "0000002.5";
        // Longer than nine characters: the whole number the hex box holds.
        QTest::newRow("too many decimals") << "1234567.89" << "0012D688" << "001234568";
        QTest::newRow("empty") << "" << "00000000" << "000000000";
        QTest::newRow("point") << "." << "00000000" << "000000000";
        QTest::newRow("negative: limited") << "-5" << "00000000" << "000000000";
        QTest::newRow("above range: limited") << "1e99" << "3B9AC9FF" << "999999999";
        QTest::newRow("infinite") << "9e9999999" << "3B9AC9FF" << "999999999";
        QTest::newRow("letters") << "abc" << "00000000" << "000000000";
    }
    void conversions()
    {
        QFETCH(QString, decimal);
        QFETCH(QString, hex);
        QFETCH(QString, padded);
        QCOMPARE(bcddectohex(decimal), hex);
        QCOMPARE(bcdpaddecimal(decimal), padded);
    }

    void hexToDecimal_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<bool>("limited");
        QTest::newRow("worked example") << "075BCD15" << "123456789" << false;
        QTest::newRow("lower case") << "ff" << "000000255" << false;
        QTest::newRow("empty") << "" << "000000000" << false;
        QTest::newRow("largest") << "3B9AC9FF" << "999999999" << false;
        QTest::newRow("one above") << "3B9ACA00" << "999999999" << true;
        QTest::newRow("negative") << "FFFFFFFF" << "999999999" << true;
        QTest::newRow("junk") << "x-z!" << "000000000" << false;
    }
    void hexToDecimal()
    {
        QFETCH(QString, hex);
        QFETCH(QString, decimal);
        QFETCH(bool, limited);
        const BcdHexValue v = bcdhextodec(hex);
        QCOMPARE(v.decimal, decimal);
        QCOMPARE(v.limited, limited);
    }

    void typingDecimal()
    {
        QCOMPARE(w().caption(), QString("2.5:1 BCD compression"));
        clear(dec());
        QCOMPARE(w().convdirection(), 1);
        QStringList seen;
        for (const char* key : {"2", "5", "5"}) {
            QTest::keyClicks(dec(), key);
            seen << hex()->text();
        }
        QCOMPARE(seen, QStringList({"00000002", "00000019", "000000FF"}));
        leaveBox(dec());
        QCOMPARE(dec()->text(), QString("000000255"));
        retype(dec(), "123456789");
        QCOMPARE(hex()->text(), QString("075BCD15"));
        // At most nine characters; letters and signs do nothing.
        retype(dec(), "1234567890");
        QCOMPARE(dec()->text(), QString("123456789"));
        retype(dec(), "9a-b9");
        QCOMPARE(dec()->text(), QString("99"));
        pressEnter(dec());
        QCOMPARE(dec()->text(), QString("000000099"));
        QCOMPARE(hex()->text(), QString("00000063"));
        retype(dec(), ".");
        leaveBox(dec());
        QCOMPARE(dec()->text(), QString("000000000"));
    }

    void typingHex_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("decimal");
        QTest::newRow("negative") << "FFFFFFFF" << "3B9AC9FF" << "999999999";
        QTest::newRow("one above the range") << "3B9ACA00" << "3B9AC9FF" << "999999999";
        QTest::newRow("largest") << "3B9AC9FF" << "3B9AC9FF" << "999999999";
        QTest::newRow("not hex keys") << "g1zx-" << "1" << "000000001";
    }
    void typingHex()
    {
        QFETCH(QString, keys);
        QFETCH(QString, hex);
        QFETCH(QString, decimal);
        retype(this->hex(), keys);
        QCOMPARE(w().convdirection(), 2);
        QCOMPARE(this->hex()->text(), hex);
        QCOMPARE(dec()->text(), decimal);
    }

    void hexEnterAndEmpty()
    {
        retype(hex(), "ff");
        pressEnter(hex());
        QCOMPARE(hex()->text(), QString("000000FF"));
        QCOMPARE(dec()->text(), QString("000000255"));
        clear(hex());
        QCOMPARE(dec()->text(), QString("000000000"));
        leaveBox(hex());
        QCOMPARE(hex()->text(), QString("00000000"));
    }

    void codeSamples()
    {
        QCOMPARE(bcdcodesample(true), decimalSample);
        QCOMPARE(bcdcodesample(false), hexSample);
        giveFocus(hex());
        QCOMPARE(sample(), lf(hexSample));
        giveFocus(dec());
        QCOMPARE(sample(), lf(decimalSample));
    }

    // The box without the focus by the flag converts nothing.
    void otherBoxConvertsNothing()
    {
        giveFocus(dec());
        paste(hex(), "000000FF");
        QCOMPARE(dec()->text(), QString("000000000"));
    }

    void pastedAnything_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("padded");
        QTest::newRow("negative") << "-123" << "00000000" << "000000000";
        QTest::newRow("huge") << "9e999" << "3B9AC9FF" << "999999999";
        QTest::newRow("letters") << "seven" << "00000000" << "000000000";
        QTest::newRow("empty") << "" << "00000000" << "000000000";
        // Exponent forms keep their value: decimals that fit stay, others
        // leave the whole number the hex box holds.
        QTest::newRow("exponent, decimals fit") << "15E-4" << "00000000" << "0000.0015";
        QTest::newRow("exponent, too many decimals") << "123456E-9" << "00000000" << "000000000";
        QTest::newRow("exponent, tiny") << "5E-8" << "00000000" << "000000000";
        QTest::newRow("exponent, whole") << "1234E3" << "0012D450" << "001234000";
    }
    void pastedAnything()
    {
        QFETCH(QString, text);
        QFETCH(QString, hex);
        QFETCH(QString, padded);
        giveFocus(dec());
        paste(dec(), text);
        QCOMPARE(this->hex()->text(), hex);
        leaveBox(dec());
        QCOMPARE(dec()->text(), padded);
        QCOMPARE(this->hex()->text(), hex); // padding keeps the value
        QVERIFY(!QApplication::activeModalWidget());
        giveFocus(this->hex());
        paste(this->hex(), text);
        QVERIFY(dec()->text().size() == 9);
    }
};

VOLTARIS_TEST(TestBcdCompress);
#include "test_bcdcompress.moc"
