// The Lumatile command set, font file and text rules, without widgets.

#include "support/testmain.h"

#include "displays/lumatile.h"

#include <QTest>

using namespace lumatile;

class LumatileCodecTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initialFontHasItsNineteenShapes()
    {
        const Font f = initialFont();
        int shaped = 0;
        for (int code = 0; code < fontSize; ++code) {
            QCOMPARE(f[std::size_t(code)].size(), patternLength);
            if (f[std::size_t(code)] != QString(patternLength, u'0')) {
                QVERIFY2(code >= 58 && code <= 76, qPrintable(QString::number(code)));
                ++shaped;
            }
        }
        QCOMPARE(shaped, 19);
        QCOMPARE(f[60], QStringLiteral("000000001010000"));
        QCOMPARE(f[64], QStringLiteral("111110000001010"));
        QCOMPARE(f[76], QStringLiteral("000000110000010"));
    }

    void patterns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("exact") << "101000000000001" << "101000000000001";
        QTest::newRow("short") << "101" << "101000000000000";
        QTest::newRow("empty") << "" << "000000000000000";
        QTest::newRow("long") << "11111111111111110000" << "111111111111111";
        QTest::newRow("other characters lit") << "0x2 0" << "011100000000000";
        QTest::newRow("binary") << QString::fromLatin1("\xff\x00\x30", 3) << "110000000000000";
    }
    void patterns()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QCOMPARE(cleanPattern(text), pattern);
        QCOMPARE(writeCommand(65, text), "$B7WA" + pattern + "\r");
    }

    void codes_data()
    {
        QTest::addColumn<double>("entered");
        QTest::addColumn<int>("code");
        QTest::newRow("33") << 33.0 << 34;
        QTest::newRow("13") << 13.0 << 14;
        QTest::newRow("5") << 5.0 << 10;
        QTest::newRow("0") << 0.0 << 10;
        QTest::newRow("300") << 300.0 << 125;
        QTest::newRow("1e300") << 1e300 << 125;
        QTest::newRow("65") << 65.0 << 65;
        QTest::newRow("nan") << qQNaN() << 10;
    }
    void codes()
    {
        QFETCH(double, entered);
        QFETCH(int, code);
        QCOMPARE(normaliseCode(entered), code);
    }

    void stepping()
    {
        const QList<std::array<int, 3>> cases{{32, +1, 34}, {34, -1, 32}, {12, +1, 14}, {14, -1, 12},
                                              {10, -1, 10}, {125, +1, 125}, {65, +1, 66}};
        for (const auto& [from, dir, to] : cases)
            QCOMPARE(stepCode(from, dir), to);
    }

    void fontFiles()
    {
        Font f = initialFont();
        f[0] = QStringLiteral("111111111111111");
        f[13] = QStringLiteral("100000000000001");
        const QByteArray bytes = fontFileBytes(f);
        QCOMPARE(bytes.count("\r\n"), 126);
        QCOMPARE(bytes.size(), 126 * 17);
        QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        lines.removeLast();
        QCOMPARE(fontFromLines(lines), f);
        // A short list resets the rest; extra lines are ignored.
        const Font shortFont = fontFromLines({QStringLiteral("1"), QStringLiteral("abc")});
        QCOMPARE(shortFont[0], QStringLiteral("100000000000000"));
        QCOMPARE(shortFont[1], QStringLiteral("111000000000000"));
        QCOMPARE(shortFont[65], initialFont()[65]);
        QCOMPARE(fontFromLines(QStringList(300, QStringLiteral("1")))[125], QStringLiteral("100000000000000"));
    }

    void logLines()
    {
        QCOMPARE(logLine(messageCommand("AAAAAA")), QStringLiteral("$B7MAAAAAA<cr>"));
        QCOMPARE(logLine(QStringLiteral("a\rb\r")), QStringLiteral("a<cr>b<cr>"));
    }
};

VOLTARIS_TEST(LumatileCodecTest);

#include "test_lumatile.moc"
