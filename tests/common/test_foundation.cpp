#include "support/modal.h"
#include "support/testmain.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/toolwindow.h"
#include "common/z_alert.h"

#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <limits>

// A window with one decimal box filtered the way design tools filter.
class Keys_window : public ToolWindow {
    Q_OBJECT
public:
    Keys_window() : ToolWindow("Keys_window", QSize(3000, 1000)) {}
    int enters = 0;

protected:
    void build(QWidget* form) override
    {
        auto* box = place<QLineEdit>(form, "spec_0", 0, 0, 2000, 300);
        onKeyPress(box, [this](int key) {
            key = keydecimal(key);
            if (key == 13) {
                ++enters;
                key = 0;
            }
            return key;
        });
    }
};

class TestFoundation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numval_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.5" << 12.5;
        QTest::newRow("leading blanks") << "   7" << 7.0;
        QTest::newRow("sign") << "-3.25V" << -3.25;
        QTest::newRow("plus") << "+4" << 4.0;
        QTest::newRow("exponent") << "1.5E3" << 1500.0;
        QTest::newRow("negative exponent") << "2e-3" << 0.002;
        QTest::newRow("half exponent") << "2E" << 2.0;
        QTest::newRow("unit suffix") << "10k" << 10.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("comma is not a point") << "1,5" << 1.0;
        QTest::newRow("huge exponent") << "1e999999999" << std::numeric_limits<double>::infinity();
    }
    void numval()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(::numval(text), value);
    }

    void numstr_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("fraction") << 0.05 << " .05";
        QTest::newRow("negative fraction") << -0.5 << "-.5";
        QTest::newRow("whole") << 1234.0 << " 1234";
        QTest::newRow("15 digits") << 0.1 + 0.2 << " .3";
        QTest::newRow("third") << 1.0 / 3 << " .333333333333333";
        QTest::newRow("big") << 1e15 << " 1E+15";
        QTest::newRow("fifteen digits whole") << 123456789012345.0 << " 123456789012345";
        QTest::newRow("small") << 1e-5 << " 1E-05";
        QTest::newRow("small fixed") << 0.0001 << " .0001";
        QTest::newRow("nan") << std::nan("") << " ---";
    }
    void numstr()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(::numstr(value), text);
    }

    void plaindec_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 0.5 << "0.5";
        QTest::newRow("whole") << 2.0 << "2";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("tiny") << 1e-7 << "1E-07";
        QTest::newRow("negative tiny") << -2.5e-9 << "-2.5E-09";
        QTest::newRow("nine digits") << 123456789.0 << "123456789";
        QTest::newRow("huge") << 6.02e23 << "6.02E+23";
        QTest::newRow("negative fraction") << -0.25 << "-0.25";
        QTest::newRow("long binary expansion") << 0.1 + 0.2 << "0.3";
        QTest::newRow("mixed") << -1234.5 << "-1234.5";
        QTest::newRow("inf") << -std::numeric_limits<double>::infinity() << "---";
    }
    void plaindec()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(::plaindec(value), text);
    }

    void fmt_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::newRow("three places") << 5.0 << "0.000" << "5.000";
        QTest::newRow("round half up") << 2.675 << "0.00" << "2.68";
        QTest::newRow("round negative away") << -2.5 << "0" << "-3";
        QTest::newRow("below one") << 0.5 << "0.000" << "0.500";
        QTest::newRow("carry") << 9.9996 << "0.000" << "10.000";
        QTest::newRow("grouping") << 1234567.25 << "###,###,##0.0" << "1,234,567.3";
        QTest::newRow("grouping small") << 12.0 << "###,###,##0.0" << "12.0";
        QTest::newRow("grouping zero") << 0.04 << "###,###,##0.0" << "0.0";
        QTest::newRow("zero pad") << 42.0 << "00000000" << "00000042";
        QTest::newRow("hash int") << 0.4 << "#" << "";
        QTest::newRow("negative rounds to zero") << -0.0004 << "0.000" << "0.000";
        QTest::newRow("huge") << 1e20 << "0" << "100000000000000000000";
        QTest::newRow("four places") << 1089.91826 << "0.0000" << "1089.9183";
        QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "0.000" << "---";
    }
    void fmt()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QCOMPARE(::fmt(value, pattern), text);
    }

    void fmtIgnoresLocale()
    {
        const QLocale old;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        QCOMPARE(::fmt(1234.5, "###,###,##0.00"), QStringLiteral("1,234.50"));
        QCOMPARE(::numstr(2.5), QStringLiteral(" 2.5"));
        QCOMPARE(::plaindec(-0.75), QStringLiteral("-0.75"));
        QCOMPARE(::numval("2.5"), 2.5);
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(old);
    }

    void hexstr()
    {
        QCOMPARE(::hexstr(255), QStringLiteral("FF"));
        QCOMPARE(::hexstr(0), QStringLiteral("0"));
        QCOMPARE(::hexstr(-1), QStringLiteral("FFFFFFFF"));
        QCOMPARE(::hexstr(-2147483647 - 1), QStringLiteral("80000000"));
    }

    void controlChars()
    {
        initchars();
        initchars();
        QCOMPARE(cc.CRLF.size(), 2);
        QCOMPARE(cc.CRLF.at(0).unicode(), char16_t(13));
        QCOMPARE(cc.TAB, QString(QChar(9)));
        QCOMPARE(cc.NAK, QString(QChar(21)));
        QCOMPARE(cc.QUOTE, QStringLiteral("\""));
    }

    void keyFilters_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("dec");
        QTest::addColumn<int>("integer");
        QTest::addColumn<int>("hex");
        QTest::newRow("digit") << int('7') << int('7') << int('7') << int('7');
        QTest::newRow("point") << 46 << 46 << 0 << 0;
        QTest::newRow("minus") << 45 << 0 << 0 << 0;
        QTest::newRow("plus") << 43 << 0 << 0 << 0;
        QTest::newRow("comma") << 44 << 0 << 0 << 0;
        QTest::newRow("e") << 101 << 0 << 0 << 101;
        QTest::newRow("E") << 69 << 0 << 0 << 69;
        QTest::newRow("a") << 97 << 0 << 0 << 97;
        QTest::newRow("g") << 103 << 0 << 0 << 0;
        QTest::newRow("enter") << 13 << 13 << 13 << 13;
        QTest::newRow("backspace") << 8 << 8 << 8 << 8;
        QTest::newRow("del") << 127 << 127 << 127 << 127;
        QTest::newRow("copy") << 3 << 0 << 0 << 0;
        QTest::newRow("paste") << 22 << 0 << 0 << 0;
        QTest::newRow("escape") << 27 << 0 << 0 << 0;
        QTest::newRow("tab") << 9 << 0 << 0 << 0;
    }
    void keyFilters()
    {
        QFETCH(int, key);
        QFETCH(int, dec);
        QFETCH(int, integer);
        QFETCH(int, hex);
        QCOMPARE(keydecimal(key), dec);
        QCOMPARE(keyinteger(key), integer);
        QCOMPARE(keyhex(key), hex);
    }

    // The shared key-press filter drops refused keys and reports Enter.
    void keyFilterOnABox()
    {
        Keys_window& w = FormSlots::get<Keys_window>();
        w.show();
        auto* box = w.form()->findChild<QLineEdit*>("spec_0");
        QTest::keyClicks(box, "-1a2.5e,3");
        QCOMPARE(box->text(), QStringLiteral("12.53"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("12.5"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(w.enters, 1);
        QTest::keyClick(box, Qt::Key_Left); // navigation keys are not filtered
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("12."));
        w.unload();
    }

    void alertModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<bool>("shown");
        QTest::newRow("notice OK") << 0 << "Command1_0" << -1 << 1 << true;
        QTest::newRow("notice Cancel") << 0 << "Command1_1" << 0 << 1 << true;
        QTest::newRow("plain no beep") << 1 << "Command1_0" << -1 << 0 << true;
        QTest::newRow("close box") << 1 << "" << 0 << 0 << true;
        QTest::newRow("mode 3") << 3 << "Command1_0" << 0 << 0 << false;
        QTest::newRow("mode -1") << -1 << "Command1_0" << 0 << 0 << false;
    }
    void alertModes()
    {
        QFETCH(int, mode);
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(int, beeps);
        QFETCH(bool, shown);
        const int before = beepCount();
        const QString text =
            "Please select an active serial port before attepmting to comunicate with your peripheral device!";
        Qt::Alignment align = {};
        ModalAnswer a(button, shown ? 10000 : 300);
        a.setBeforePress([&](QWidget* form) { align = form->findChild<QTextEdit*>("message")->alignment(); });
        QCOMPARE(alertbox("Serial port error", text, mode), answer);
        QCOMPARE(beepCount() - before, beeps);
        if (!shown) {
            QTRY_VERIFY_WITH_TIMEOUT(!a.answered(), 300);
            return;
        }
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Serial port error"));
        QCOMPARE(a.text(), text);
        QCOMPARE(bool(align & Qt::AlignHCenter), mode != 1);
        QVERIFY(!FormSlots::get<Z_alert>().isLoaded());
    }

    void alertErrorMode()
    {
        setHandledError(VError(-5, "Invalid procedure call"));
        ModalAnswer a("Command1_0");
        QCOMPARE(alertbox("Com port error", "ignored", 2), -1);
        QCOMPARE(a.text(), QStringLiteral("Error Code: -5\n\nInvalid procedure call"));
    }

    // A second alert while one shows answers 0 at once, without a beep.
    void noSecondAlert()
    {
        int inner = 99;
        int innerBeeps = -1;
        ModalAnswer a("Command1_0");
        a.setBeforePress([&](QWidget*) {
            const int b = beepCount();
            inner = alertbox("second", "over the first", 0);
            innerBeeps = beepCount() - b;
        });
        QCOMPARE(alertbox("first", "text", 0), -1);
        QCOMPARE(inner, 0);
        QCOMPARE(innerBeeps, 0);
    }
};

VOLTARIS_TEST(TestFoundation);
#include "test_foundation.moc"
