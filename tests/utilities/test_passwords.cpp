#include "support/alertsink.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/randomsource.h"
#include "utilities/passwordgen.h"
#include "utilities/util_passwords.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {
Util_passwords& window()
{
    return FormSlots::get<Util_passwords>();
}

template <class W>
W* ctl(const QString& name)
{
    auto* w = window().form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// A draw r that gives the character c.
double drawFor(char c)
{
    return (c - 48 + 0.5) / 75.0;
}

QStringList listLines()
{
    const QByteArray bytes = readFile(Util_passwords::listPath());
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

class TestPasswords : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;

    void generate(const QString& length, const QString& description = QStringLiteral("Description"))
    {
        ctl<QLineEdit>("Text2")->setText(length);
        ctl<QLineEdit>("Text3")->setText(description);
        ctl<QPushButton>("Command1")->click();
    }
    QString shown() { return ctl<QLineEdit>("Text1")->text(); }

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        popup("Util_passwords");
        QVERIFY(window().isLoaded());
    }
    void cleanup()
    {
        window().setDrawSource({});
        window().unload();
        folders.reset();
    }

    // Every code from "0" to "z" is reached, and nothing outside it.
    void drawCoversTheRange()
    {
        QCOMPARE(passwordDraw(0.0), QChar('0'));
        QCOMPARE(passwordDraw(0.99999999), QChar('z'));
        QCOMPARE(passwordDraw(1.0 / 75), QChar('1'));
        QCOMPARE(passwordDraw(74.0 / 75 - 1e-12), QChar('y'));
    }

    void classes_data()
    {
        QTest::addColumn<bool>("digits");
        QTest::addColumn<bool>("symbols");
        QTest::addColumn<QString>("taken");
        const QString letters = QStringLiteral("ABCDEFGHJKMNPQRSTUVWXYZabcdefghjkmnopqrstuvwxyz");
        QTest::newRow("letters only") << false << false << letters;
        QTest::newRow("Numbers") << true << false << "0123456789" + letters;
        QTest::newRow("Symbols") << false << true << "@" + letters;
        QTest::newRow("both") << true << true << "0123456789@" + letters;
    }
    // What each draw of "0" to "z" leaves in the password.
    void classes()
    {
        QFETCH(bool, digits);
        QFETCH(bool, symbols);
        QFETCH(QString, taken);
        QString got;
        for (int code = 48; code <= 122; ++code)
            if (passwordCharTaken(QChar(code), digits, symbols))
                got += QChar(code);
        QCOMPARE(got, taken);
        // The symbols the draw cannot reach are still of the class.
        for (char c : {'$', '&', '#'})
            QCOMPARE(passwordCharTaken(QChar(c), digits, symbols), symbols);
    }

    // A scripted sequence: discarded draws leave no trace, and the draw
    // stops as soon as the length is reached.
    void discardRule()
    {
        const std::vector<double> script = {drawFor('I'), drawFor('a'), drawFor('5'), drawFor(':'), drawFor('@'),
                                            drawFor('l'), drawFor('O'), drawFor('o'), drawFor('Z'), drawFor('b')};
        size_t at = 0;
        auto next = [&] { return script.at(at++); };
        QCOMPARE(drawPassword(2.5, false, false, next), QStringLiteral("aoZ"));
        QCOMPARE(at, size_t(9));
        at = 0;
        QCOMPARE(drawPassword(3, true, true, next), QStringLiteral("a5@"));
        QCOMPARE(at, size_t(5));
    }

    void tabs_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("tabs");
        QTest::newRow("1") << 1 << 5;
        QTest::newRow("14") << 14 << 4;
        QTest::newRow("32") << 32 << 2;
        QTest::newRow("33") << 33 << 1;
        QTest::newRow("40") << 40 << 1;
        QTest::newRow("41") << 41 << 0;
        QTest::newRow("48") << 48 << 0;
        QTest::newRow("49") << 49 << 0;
        QTest::newRow("200") << 200 << 0;
    }
    void tabs()
    {
        QFETCH(int, length);
        QFETCH(int, tabs);
        QCOMPARE(passwordTabs(length), tabs);
        const QString line = passwordLine(QString(length, u'd'), QStringLiteral("pw"));
        QCOMPARE(line, QString(length, u'd') + QString(tabs, u'\t') + "pw");
    }

    // Control characters of a description never split the list's line.
    void descriptionStaysOneLine()
    {
        QCOMPARE(passwordLine(QStringLiteral("a\tb\r\nc"), QStringLiteral("pw")), QStringLiteral("a b  c\t\t\t\t\tpw"));
        QCOMPARE(passwordLine(QString(), QStringLiteral("pw")), QStringLiteral("No description\t\t\t\tpw"));
    }

    void lengths_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("length");
        QTest::newRow("5.5") << "5.5" << 6;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("32") << "32" << 32;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("33") << "33" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("negative") << "-8" << 0;
        QTest::newRow("huge") << "1e300" << 0;
        QTest::newRow("number then text") << "12abc" << 12;
    }
    // Through the window: a refused length beeps, shows and writes nothing.
    void lengths()
    {
        QFETCH(QString, typed);
        QFETCH(int, length);
        ctl<QLineEdit>("Text1")->setText(QStringLiteral("old"));
        const int beeps = beepCount();
        generate(typed);
        QCOMPARE(shown().size(), length);
        QCOMPARE(beepCount() - beeps, length == 0 ? 1 : 0);
        QCOMPARE(QFile::exists(Util_passwords::listPath()), length != 0);
    }

    void onlyTakenCharacters_data()
    {
        QTest::addColumn<bool>("digits");
        QTest::addColumn<QString>("allowed");
        QTest::newRow("letters") << false << "[A-HJKMNP-Za-hjkm-z]";
        QTest::newRow("Numbers") << true << "[A-HJKMNP-Za-hjkm-z0-9]";
    }
    void onlyTakenCharacters()
    {
        QFETCH(bool, digits);
        QFETCH(QString, allowed);
        RandomSource fixed(30);
        window().setDrawSource([&fixed] { return fixed.next(); });
        ctl<QCheckBox>("numb")->setChecked(digits);
        QString all;
        for (int i = 0; i < 40; ++i) {
            generate("32");
            all += shown();
        }
        QCOMPARE(all.size(), 40 * 32);
        QVERIFY2(QRegularExpression("^" + allowed + "+$").match(all).hasMatch(), qPrintable(all));
        // Lower-case o is a letter like any other; digits only when asked.
        QVERIFY(all.contains(u'o'));
        QCOMPARE(all.contains(QRegularExpression("[0-9]")), digits);
    }

    // The system's source: two runs started from the same state of the
    // program's random source (as after a test fixed its seed) still give
    // different passwords; many passwords differ from each other and none
    // is one character repeated.
    void realSourceVaries()
    {
        QStringList fresh;
        for (int run = 0; run < 2; ++run) {
            seedRandomSource(30);
            generate("16");
            fresh << shown();
        }
        QCOMPARE(fresh[0].size(), 16);
        QVERIFY2(fresh[0] != fresh[1], qPrintable(fresh.join(u' ')));
        QSet<QString> seen;
        for (int i = 0; i < 200; ++i) {
            generate("16");
            const QString pw = shown();
            QCOMPARE(pw.size(), 16);
            QVERIFY2(pw != QString(16, pw.at(0)), qPrintable(pw));
            seen.insert(pw);
        }
        QCOMPARE(seen.size(), 200);
    }

    // Each press adds one line and keeps the earlier ones; the list is the
    // owner's alone.
    void listFile()
    {
        generate("8", QStringLiteral("router admin"));
        const QString first = shown();
        generate("10", QString());
        QCOMPARE(ctl<QLineEdit>("Text3")->text(), QStringLiteral("No description"));
        const QString second = shown();
        generate("12", QString(41, u'x'));
        const QStringList lines = listLines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], "router admin" + QString(4, u'\t') + first);
        QCOMPARE(lines[1], "No description" + QString(4, u'\t') + second);
        QCOMPARE(lines[2], QString(41, u'x') + shown());
        QCOMPARE(QFile::permissions(Util_passwords::listPath()),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }

    // A list that cannot be written: one alert naming it, the password stays.
    void listNotWritable()
    {
        QDir().mkpath(Util_passwords::listPath());
        AlertSink alerts;
        generate("8");
        QCOMPARE(shown().size(), 8);
        QCOMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains(Util_passwords::listPath()));
    }

    // The list holds one byte per character: a description it cannot hold
    // is refused, naming box and character, and the list keeps its lines.
    void descriptionOutsideLatin1()
    {
        generate("8", QStringLiteral("M\u00FCnchen"));
        const QByteArray before = readFile(Util_passwords::listPath());
        QVERIFY(before.startsWith("M\xfcnchen\t"));
        AlertSink alerts;
        generate("8", QStringLiteral("\u0141\u00F3d\u017A"));
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains("\"Description\""));
        QVERIFY(alerts.texts[0].contains(QStringLiteral("\u0141")));
        QCOMPARE(shown(), QString());
        QCOMPARE(readFile(Util_passwords::listPath()), before);
    }
};

VOLTARIS_TEST(TestPasswords);
#include "test_passwords.moc"
