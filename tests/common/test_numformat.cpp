#include "support/testmain.h"

#include "common/numformat.h"

#include <QTest>
#include <climits>
#include <cmath>
#include <limits>

class TestNumformat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void binstr()
    {
        QCOMPARE(::binstr(5, 4), QStringLiteral("0101"));
        QCOMPARE(::binstr(6, 0), QString());
        QCOMPARE(::binstr(6, -3), QString());
        int bits = 40;
        QCOMPARE(::binstr(-1, bits), QString(32, u'1'));
        QCOMPARE(bits, 31);
        bits = 32;
        QCOMPARE(::binstr(5, bits), QString(29, u'0') + "101");
        QCOMPARE(bits, 31);
        bits = 8;
        QCOMPARE(::binstr(-2, bits), QStringLiteral("11111110"));
        QCOMPARE(bits, 8);
        QCOMPARE(::binstr(INT_MIN, 32), "1" + QString(31, u'0'));
    }

    void pads_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("zeros");
        QTest::addColumn<QString>("blanks");
        QTest::newRow("pad") << 7 << 3 << "007" << "  7";
        QTest::newRow("sign dropped") << -7 << 3 << "007" << "  7";
        QTest::newRow("cut from left") << 12345 << 3 << "345" << "345";
        QTest::newRow("1234") << 1234 << 3 << "234" << "234";
        QTest::newRow("spacepad 42") << 42 << 5 << "00042" << "   42";
        QTest::newRow("at most 100 pad") << 5 << 150 << QString(100, u'0') + "5" << QString(100, u' ') + "5";
        QTest::newRow("zero width") << 5 << 0 << "" << "";
        QTest::newRow("most negative") << INT_MIN << 12 << "002147483648" << "  2147483648";
        QTest::newRow("most positive") << INT_MAX << 4 << "3647" << "3647";
    }
    void pads()
    {
        QFETCH(int, value);
        QFETCH(int, width);
        QFETCH(QString, zeros);
        QFETCH(QString, blanks);
        QCOMPARE(::zeropad(value, width), zeros);
        QCOMPARE(::spacepad(value, width), blanks);
    }

    void zerofill_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("pad") << 5.0 << 2 << "05";
        QTest::newRow("sign lost") << -12.0 << 4 << "0012";
        QTest::newRow("fraction") << 3.5 << 4 << "03.5";
        QTest::newRow("below one") << 0.25 << 5 << "00.25";
        QTest::newRow("cut") << 2024.0 << 2 << "24";
        QTest::newRow("zero") << 0.0 << 2 << "00";
    }
    void zerofill()
    {
        QFETCH(double, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        QCOMPARE(::zerofill(value, width), text);
    }

    void engformat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << 0.5 << "S" << "0.500 S";
        QTest::newRow("two") << 2.0 << "S" << "2.000 S";
        QTest::newRow("kilo, small mantissa") << 20.0 << "S" << "0.020 kS";
        QTest::newRow("kilo") << 1500.0 << "S" << "1.500 kS";
        QTest::newRow("zero") << 0.0 << "S" << "0.000 nS";
        QTest::newRow("nano") << 1e-9 << "S" << "1.000 nS";
        QTest::newRow("micro") << 4.7e-6 << "s" << "4.700 us";
        QTest::newRow("milli") << 0.0033 << "s" << "3.300 ms";
        QTest::newRow("mega") << 2.5e6 << "Hz" << "2.500 MHz";
        QTest::newRow("rounded down") << 1.0019 << "V" << "1.001 V";
        // Binary fractions must not eat the last digit.
        QTest::newRow("binary fraction") << 3.3e-8 << "F" << "0.033 uF";
        QTest::newRow("binary fraction 2") << 1.001 << "" << "1.001 ";
        QTest::newRow("binary fraction 3") << 0.0029 << "s" << "2.900 ms";
        QTest::newRow("below 1e-11") << 1e-12 << "F" << "0.001 nF";
        QTest::newRow("negative") << -1500.0 << "S" << "-1.500 kS";
        QTest::newRow("negative small") << -3.3e-8 << "F" << "-0.033 uF";
        QTest::newRow("1e7 stays mega") << 1e7 << "Hz" << "10.000 MHz";
        QTest::newRow("large") << 1.23456e9 << "Hz" << "1234.560 MHz";
        QTest::newRow("huge") << 1e30 << "Hz" << "1" + QString(24, u'0') + ".000 MHz";
        QTest::newRow("NaN") << std::nan("") << "S" << "---";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "S" << "---";
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << "S" << "---";
    }
    void engformat()
    {
        QFETCH(double, value);
        QFETCH(QString, unit);
        QFETCH(QString, text);
        QCOMPARE(::engformat(value, unit), text);
    }

    void quesenable_data()
    {
        QTest::addColumn<int>("meterbits");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("code 1") << 0 << 1 << "stat:ques:enab  4";
        QTest::newRow("meter bits") << 0x1A03 << 0 << "stat:ques:enab  6659";
        QTest::newRow("only meter bits pass") << 0xFFFF << 0 << "stat:ques:enab  6659";
        QTest::newRow("full code") << 0 << 1023 << "stat:ques:enab  26108";
        QTest::newRow("code bit 7") << 0 << 128 << "stat:ques:enab  1024";
        QTest::newRow("code bit 8") << 0 << 256 << "stat:ques:enab  8192";
        QTest::newRow("code bit 9") << 0 << 512 << "stat:ques:enab  16384";
        QTest::newRow("bits above 9 ignored") << 0 << 1024 + 3 << "stat:ques:enab  12";
    }
    void quesenable()
    {
        QFETCH(int, meterbits);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(::quesenable(meterbits, code), text);
    }
};

VOLTARIS_TEST(TestNumformat);
#include "test_numformat.moc"
