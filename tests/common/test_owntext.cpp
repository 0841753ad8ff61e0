#include "support/alertsink.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/widetext.h"

#include "common/files.h"
#include "common/logfile.h"
#include "common/owntext.h"
#include "common/settingline.h"
#include "common/textlines.h"

#include <QTemporaryDir>
#include <QTest>

class TestOwnText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        addWideTextRows();
        QTest::newRow("ascii") << QStringLiteral("plain");
        QTest::newRow("latin-1") << QStringLiteral("M\u00FCnchen \u00B5V");
        // Latin-1 characters whose bytes would read as UTF-8 "é".
        QTest::newRow("looks like utf-8") << QStringLiteral("\u00C3\u00A9");
        QTest::newRow("leading zero-width no-break space") << QStringLiteral("\uFEFFx\u03A9");
        QTest::newRow("latin-1 that begins like a mark") << QStringLiteral("\u00EF\u00BB\u00BF\u00E9");
        QTest::newRow("control characters") << QStringLiteral("a\u0001\u007F\u0080b");
        QTest::newRow("empty") << QString();
    }
    void roundTrip()
    {
        QFETCH(QString, wide);
        QCOMPARE(decodeOwnText(encodeOwnText(wide)), wide);

        QTemporaryDir dir;
        const QString line = dir.filePath("line.txt");
        QVERIFY(writeSettingLine(line, wide));
        QCOMPARE(readSettingLine(line), wide);

        const QString settings = dir.filePath("settings.txt");
        QStringList lines(101);
        lines[1] = wide;
        lines[2] = QStringLiteral("second");
        lines[100] = wide;
        filelines("save", settings, lines);
        QStringList back(101);
        filelines("load", settings, back);
        QCOMPARE(back, lines);
    }

    void latin1StaysLatin1()
    {
        // Files other programs (and older versions) read stay byte for byte
        // as they were whenever Latin-1 can hold the text.
        QCOMPARE(encodeOwnText(QStringLiteral("M\u00FCnchen\r\n")), muenchenLatin1() + "\r\n");
        QCOMPARE(encodeOwnText(QStringLiteral("\u0141\u00FC")), QByteArray("\xC5\x81\xC3\xBC"));
    }

    void readsOldAndForeignBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("old latin-1 path") << QByteArray("/data/M\xFCnchen") << QStringLiteral("/data/M\u00FCnchen") << false;
        QTest::newRow("utf-8") << QByteArray("\xC5\x81\xC3\xB3" "d\xC5\xBA") << wideText(WideText::Lodz) << true;
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF\xCE\xA9") << QStringLiteral("\u03A9") << true;
        QTest::newRow("mark, ascii") << QByteArray("\xEF\xBB\xBF" "abc") << QStringLiteral("abc") << false;
        QTest::newRow("cut utf-8 reads as latin-1") << QByteArray("ab\xC5") << QStringLiteral("ab\u00C5") << false;
        QTest::newRow("overlong form is not utf-8") << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF") << false;
        QTest::newRow("surrogate is not utf-8") << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u0080")
                                                << false;
        QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QString(QStringLiteral("a") + QChar(0) + u'b') << false;
    }
    void readsOldAndForeignBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, utf8);
        QCOMPARE(decodeOwnText(bytes), text);
        QTemporaryDir dir;
        const TextLines t = readTextLines(writeFile(dir.filePath("f.txt"), bytes + "\r\nnext\r\n"), 1024);
        QCOMPARE(t.lines, QStringList({text, QStringLiteral("next")}));
        QCOMPARE(t.utf8, utf8);
        if (!text.contains(QChar(0)))
            QCOMPARE(readSettingLine(writeFile(dir.filePath("line.txt"), bytes + "\r\n")), text);
    }

    // A damaged settings file grown past what is read still gives its first line.
    void settingLineOfAGiantFile()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("line.txt"), "/work/boards\r\n" + QByteArray(200 * 1024, 'x'));
        QCOMPARE(readSettingLine(path), QStringLiteral("/work/boards"));
    }

    void singleByteRefusalNamesBoxAndCharacter()
    {
        AlertSink alerts;
        QVERIFY(singlebytefits("record.txt", {{"customer", QStringLiteral("M\u00FCnchen")}}));
        QVERIFY(alerts.texts.isEmpty());
        QVERIFY(!singlebytefits("record.txt", {{"serial", "7"},
                                               {"customer", wideText(WideText::Lodz)},
                                               {"note", wideText(WideText::Cjk)}}));
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains("record.txt"));
        QVERIFY(alerts.texts[0].contains("\"customer\""));
        QVERIFY(alerts.texts[0].contains(QStringLiteral("\"\u0141\" (U+0141)")));
        QVERIFY(!singlebytefits("log.csv", {{"note", wideText(WideText::Astral)}}));
        QTRY_COMPARE(alerts.texts.size(), 2);
        QVERIFY(alerts.texts[1].contains(QStringLiteral("\"\U0001D11E\" (U+1D11E)")));
    }

    // Characters are counted whole: a pair outside the Basic Multilingual
    // Plane is one, and a cut never falls inside it, at any limit.
    void charactersCountedWhole_data()
    {
        const QString clef = QStringLiteral("\U0001D11E");
        const QChar high(0xD834);
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("chars");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("left");
        QTest::newRow("plain") << "ABCDEF" << 6 << 3 << "ABC";
        QTest::newRow("pair at the cut") << "AB" + clef + "C" << 4 << 3 << "AB" + clef;
        QTest::newRow("pair past the cut") << "AB" + clef + "C" << 4 << 2 << "AB";
        QTest::newRow("pairs only") << clef.repeated(5) << 5 << 4 << clef.repeated(4);
        QTest::newRow("limit past the end") << clef + "A" << 2 << 12 << clef + "A";
        QTest::newRow("half a pair counts one") << QString(high) + "A" << 2 << 1 << QString(high);
        QTest::newRow("empty") << QString() << 0 << 3 << QString();
    }
    void charactersCountedWhole()
    {
        QFETCH(QString, text);
        QFETCH(int, chars);
        QFETCH(int, n);
        QFETCH(QString, left);
        QCOMPARE(charCount(text), chars);
        QCOMPARE(leftChars(text, n), left);
    }

    // Half a pair, which would be written as "?", is refused with the file,
    // the box and the character named; whole pairs pass.
    void halfCharacterRefused()
    {
        AlertSink alerts;
        const QString clef = QStringLiteral("\U0001D11E");
        QCOMPARE(firstLoneSurrogate("A" + clef + "B"), -1);
        QVERIFY(owntextfits("pins.pin", {{"NAME", "LED_" + clef}}));
        QVERIFY(alerts.texts.isEmpty());
        for (const QString& half : {QString("LED_") + clef.at(0), QString("LED_") + clef.at(1) + "X"}) {
            QCOMPARE(firstLoneSurrogate(half), 4);
            QVERIFY(!owntextfits("pins.pin", {{"COMMENT", "fine"}, {"NAME", half}}));
        }
        QTRY_COMPARE(alerts.texts.size(), 2);
        QVERIFY2(alerts.texts[0].contains("pins.pin") && alerts.texts[0].contains("\"NAME\"")
                     && alerts.texts[0].contains("(U+D834)"),
                 qPrintable(alerts.texts[0]));
        QVERIFY(alerts.texts[1].contains("(U+DD1E)"));
    }

    void logRefusesWholeLine()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("log.csv"), "h\r\nold\r\n");
        QVERIFY(!appendLog(path, "h", QStringLiteral("10k\u03A9")));
        QCOMPARE(readFile(path), QByteArray("h\r\nold\r\n"));
        const QString fresh = dir.filePath("fresh.csv");
        QVERIFY(!appendLog(fresh, QStringLiteral("\u6E2C"), "line"));
        QVERIFY(!QFile::exists(fresh));
        QVERIFY(appendLog(path, "h", QStringLiteral("M\u00FCnchen")));
        QCOMPARE(readFile(path), QByteArray("h\r\nold\r\n") + muenchenLatin1() + "\r\n");
    }
};

VOLTARIS_TEST(TestOwnText);
#include "test_owntext.moc"
