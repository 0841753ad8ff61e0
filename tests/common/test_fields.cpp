#include "support/testmain.h"

#include "common/fields.h"
#include "common/verror.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void getfield_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("delim");
        QTest::addColumn<QString>("result");
        QTest::newRow("middle field") << "a,b,c" << 2 << "," << "b";
        QTest::newRow("past the end") << "a,b,c" << 4 << "," << "";
        QTest::newRow("count") << "a,b,c" << 0 << "," << "3";
        QTest::newRow("count, other negative n") << "a,b,c" << -5 << "," << "3";
        QTest::newRow("trailing delimiter not counted") << "a,b,c," << 0 << "," << "3";
        QTest::newRow("field after trailing delimiter") << "a,b,c," << 4 << "," << "";
        QTest::newRow("leading delimiter counts") << ",a" << 0 << "," << "2";
        QTest::newRow("field before leading delimiter") << ",a" << 1 << "," << "";
        QTest::newRow("empty between") << "a,,c" << 2 << "," << "";
        QTest::newRow("no delimiter, field 1") << "abc" << 1 << "," << "abc";
        QTest::newRow("no delimiter, field 2") << "abc" << 2 << "," << "";
        QTest::newRow("no delimiter, count") << "abc" << 0 << "," << "1";
        QTest::newRow("empty text count") << "" << 0 << "," << "0";
        QTest::newRow("blanks collapse") << "  12   34  " << 2 << " " << "34";
        QTest::newRow("blanks count") << "  12   34  " << 0 << " " << "2";
        QTest::newRow("blank trailing field") << "  12   34  " << 3 << " " << "";
        QTest::newRow("empty delimiter is blank") << "  12   34  " << 1 << "" << "12";
        QTest::newRow("tab is ordinary") << "a\tb c" << 1 << " " << "a\tb";
        QTest::newRow("case-sensitive") << "aXbxc" << 2 << "x" << "c";
        QTest::newRow("above 8000") << "a,b,c" << 8001 << "," << "";
        QTest::newRow("trim") << ",,a,b,," << -1 << "," << "a,b";
        QTest::newRow("trim only delimiters") << ",,," << -1 << "," << "";
        QTest::newRow("trim keeps inner blanks") << "  a  b  " << -1 << " " << "a  b";
        QTest::newRow("trim with long delimiter") << ",,a,," << -1 << ",," << ",,a,,";
        QTest::newRow("two-character delimiter") << "a::b::c" << 2 << "::" << "b";
        QTest::newRow("two-character count") << "a::b::" << 0 << "::" << "2";
    }
    void getfield()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, delim);
        QFETCH(QString, result);
        QCOMPARE(::getfield(std::as_const(text), n, delim), result);
    }

    void getfieldWritesBack()
    {
        QString text = QStringLiteral(",,a,b,,");
        QString delim = QStringLiteral(",");
        QCOMPARE(::getfield(text, -1, delim), QStringLiteral("a,b"));
        QCOMPARE(text, QStringLiteral("a,b,,"));

        text = QStringLiteral("  12   34  ");
        delim = QString();
        QCOMPARE(::getfield(text, 1, delim), QStringLiteral("12"));
        QCOMPARE(delim, QStringLiteral(" "));
        QCOMPARE(text, QStringLiteral("  12   34  "));

        // A literal delimiter still lets the text be written back.
        text = QStringLiteral("//x/");
        QCOMPARE(::getfield(text, -1, "/"), QStringLiteral("x"));
        QCOMPARE(text, QStringLiteral("x/"));
    }

    // The position table of old held 8000 entries; texts with more
    // delimiters must neither overrun nor miscount.
    void manyDelimiters()
    {
        QStringList parts;
        for (int i = 1; i <= 9000; ++i)
            parts << QString::number(i);
        const QString line = parts.join(u',');
        QCOMPARE(::getfield(line, 0, ","), QStringLiteral("9000"));
        QCOMPARE(::getfield(line, 7999, ","), QStringLiteral("7999"));
        QCOMPARE(::getfield(line, 8000, ","), QStringLiteral("8000"));
        QCOMPARE(::getfield(line, 8001, ","), QString());
        QCOMPARE(::getfield(QString(20000, u','), 8000, ","), QString());
        QCOMPARE(::getfield(QString(20000, u','), 0, ","), QStringLiteral("20000"));
    }

    void splitcount()
    {
        QStringList r{QStringLiteral("keep")};
        QCOMPARE(::splitcount(r, QString(), ","), 0);
        QCOMPARE(r, QStringList{QStringLiteral("keep")});
        QCOMPARE(::splitcount(r, "a,b,c", ","), 2);
        QCOMPARE(r, (QStringList{"a", "b", "c"}));
        QCOMPARE(::splitcount(r, "abc", ","), 0);
        QCOMPARE(r, QStringList{QStringLiteral("abc")});
        QCOMPARE(::splitcount(r, "a\r\nb\r\n", "\r\n"), 2);
        QCOMPARE(r, (QStringList{"a", "b", ""}));
        QCOMPARE(::splitcount(r, "a,b", ""), 0);
    }

    void hextolong_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("all ones") << "FFFFFFFF" << -1;
        QTest::newRow("most negative") << "80000000" << int(0x80000000u);
        QTest::newRow("most positive") << "7FFFFFFF" << 2147483647;
        QTest::newRow("lower case") << "ffff" << 65535;
        QTest::newRow("prefix dropped") << "0x1F" << 31;
        QTest::newRow("comma dropped") << "1,2" << 18;
        QTest::newRow("last eight digits") << "123456789" << 591751049;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("no digits") << "xyz-" << 0;
        QTest::newRow("seven digits stay positive") << "FFFFFFF" << 0x0FFFFFFF;
        QTest::newRow("sign dropped") << "-10" << 16;
    }
    void hextolong()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(::hextolong(text), value);
    }

    void hexpad_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("pad") << 10.0 << 2 << "0A";
        QTest::newRow("pad 4") << 255.0 << 4 << "00FF";
        QTest::newRow("cut") << 4660.0 << 2 << "34";
        QTest::newRow("negative") << -1.0 << 4 << "FFFF";
        QTest::newRow("negative wide") << -1.0 << 10 << "00FFFFFFFF";
        QTest::newRow("seven") << 7.0 << 2 << "07";
        QTest::newRow("2500") << 2500.0 << 4 << "09C4";
        QTest::newRow("27") << 27.0 << 2 << "1B";
        QTest::newRow("half to even down") << 2.5 << 2 << "02";
        QTest::newRow("half to even up") << 3.5 << 2 << "04";
        QTest::newRow("fraction rounds") << 26.7 << 2 << "1B";
        QTest::newRow("negative half") << -0.5 << 2 << "00";
        QTest::newRow("negative odd half") << -1.5 << 4 << "FFFE";
        QTest::newRow("at most 18 pad") << 1.0 << 30 << QString(18, u'0') + "1";
        QTest::newRow("zero width") << 5.0 << 0 << "";
        QTest::newRow("above 32 bits") << 4294967296.0 << 10 << "0100000000";
    }
    void hexpad()
    {
        QFETCH(double, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        QCOMPARE(::hexpad(value, width), text);
    }

    void hexpadOutOfRange()
    {
        const double bad[] = {-2147483649.0, 1e300, std::nan(""), -std::numeric_limits<double>::infinity()};
        for (double v : bad) {
            try {
                ::hexpad(v, 4);
                QFAIL("no error raised");
            } catch (const VError& e) {
                QCOMPARE(e.number(), verr::Overflow);
            }
        }
    }

    void hextobytes()
    {
        QCOMPARE(::hextobytes("6 1 6 2 6 3"), QStringLiteral("abc"));
        const QString abc = ::hextobytes("ABC");
        QCOMPARE(abc.size(), 2);
        QCOMPARE(abc[0].unicode(), 10);
        QCOMPARE(abc[1].unicode(), 188);
        QCOMPARE(::hextobytes("xyz"), QString());
        QCOMPARE(::hextobytes("00ff")[1].unicode(), 255);
    }
};

VOLTARIS_TEST(TestFields);
#include "test_fields.moc"
