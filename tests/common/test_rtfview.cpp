#include "support/oddfiles.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/paths.h"
#include "common/rtfview.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
QString render(const QByteArray& rtf)
{
    QTextDocument doc;
    rtfToDocument(rtf, &doc);
    return doc.toPlainText();
}

// The character format of the first character of a text in the document.
QTextCharFormat formatOf(QTextDocument& doc, const QString& text)
{
    const QTextCursor found = doc.find(text);
    if (found.isNull())
        return QTextCharFormat();
    QTextCursor c(&doc);
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}
} // namespace

class TestRtfView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ourPages()
    {
        QTextDocument doc;
        rtfToDocument(readFile(joinpath(sourceDataDir(), "RevisionHistory.rtf")), &doc);
        const QString text = doc.toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Voltaris and Utilities\n")));
        QVERIFY(text.contains(QStringLiteral("1.00.46\tThis version.")));
        QVERIFY(!text.contains(QStringLiteral("Arial")));
        QVERIFY(!text.contains(QStringLiteral("generator")));
        QVERIFY(!text.contains(u'\\'));
        QVERIFY(!text.contains(u'{'));
        const QTextCharFormat title = formatOf(doc, QStringLiteral("Voltaris and Utilities"));
        QCOMPARE(title.fontWeight(), int(QFont::Bold));
        QCOMPARE(title.foreground().color(), QColor(0, 0, 128));
        QCOMPARE(title.fontPointSize(), 14.0);
        const QTextCharFormat version = formatOf(doc, QStringLiteral("1.00.46"));
        QCOMPARE(version.fontWeight(), int(QFont::Bold));
        QCOMPARE(version.fontPointSize(), 10.0);
        QCOMPARE(formatOf(doc, QStringLiteral("This version.")).fontWeight(), int(QFont::Normal));
        QVERIFY(formatOf(doc, QStringLiteral("Revision history")).fontItalic());
        QCOMPARE(formatOf(doc, QStringLiteral("Version")).foreground().color(), QColor(128, 0, 0));
        // The version column's tab stop (\tx1440) is one inch.
        const QTextBlock b = doc.find(QStringLiteral("1.00.46")).block();
        QCOMPARE(b.blockFormat().tabPositions().size(), 1);
        QCOMPARE(b.blockFormat().tabPositions().first().position, 96.0);
    }

    void features_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("paragraphs") << QByteArray("{\\rtf1 one\\par two\\par}") << "one\ntwo";
        QTest::newRow("line") << QByteArray("{\\rtf1 a\\line b}") << "a\nb";
        QTest::newRow("tab") << QByteArray("{\\rtf1 a\\tab b}") << "a\tb";
        QTest::newRow("delimiter blank eaten once") << QByteArray("{\\rtf1\\b  x}") << " x";
        QTest::newRow("cp1252 hex") << QByteArray("{\\rtf1 caf\\'e9 \\'80 \\'93q\\'94}") << QString::fromUtf8("café € “q”");
        QTest::newRow("raw high bytes") << QByteArray("{\\rtf1 \xe9\x80}") << QString::fromUtf8("é€");
        QTest::newRow("unicode skips fallback") << QByteArray("{\\rtf1 \\u8364?x}") << QString::fromUtf8("€x");
        QTest::newRow("unicode uc2") << QByteArray("{\\rtf1\\uc2 \\u937\\'4f\\'4fx}") << QString::fromUtf8("Ωx");
        QTest::newRow("unicode uc0") << QByteArray("{\\rtf1\\uc0 \\u937 x}") << QString::fromUtf8("Ωx");
        QTest::newRow("unicode negative") << QByteArray("{\\rtf1 \\u-3913?}") << QString(QChar(0xF0B7));
        QTest::newRow("fallback stops at group end") << QByteArray("{\\rtf1 {\\uc3\\u937}abc}") << QString::fromUtf8("Ωabc");
        QTest::newRow("font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}x}") << "x";
        QTest::newRow("stylesheet and info") << QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x}") << "x";
        QTest::newRow("star destination") << QByteArray("{\\rtf1{\\*\\foo bar{nested}}baz}") << "baz";
        QTest::newRow("unknown words") << QByteArray("{\\rtf1\\zzz12\\qqq x\\yyy-4 y}") << "xy";
        QTest::newRow("escaped symbols") << QByteArray("{\\rtf1 \\{\\}\\\\\\~}") << QStringLiteral("{}\\ "); // the no-break blank reads as a blank
        QTest::newRow("quotes and dashes") << QByteArray("{\\rtf1 \\ldblquote a\\rdblquote\\emdash\\endash\\bullet}") << QString::fromUtf8("“a”—–•");
        QTest::newRow("binary data skipped") << QByteArray("{\\rtf1 a\\bin3 \x01{}b}") << "ab";
        QTest::newRow("line ends in source ignored") << QByteArray("{\\rtf1 a\r\nb\rc\n}") << "abc";
    }
    void features()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(render(rtf), text);
    }

    void formats()
    {
        QTextDocument doc;
        rtfToDocument("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                      "n {\\b b {\\i bi} b2} {\\ul u\\ulnone  n2 \\ul u2\\ul0  n3} \\fs40 big\\plain  plain "
                      "\\cf1 red \\cf2 blue \\cf0 auto \\cf9 none}",
                      &doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("n b bi b2 u n2 u2 n3 big plain red blue auto none"));
        QCOMPARE(formatOf(doc, "b ").fontWeight(), int(QFont::Bold));
        QCOMPARE(formatOf(doc, "bi").fontWeight(), int(QFont::Bold));
        QVERIFY(formatOf(doc, "bi").fontItalic());
        QVERIFY(!formatOf(doc, "b2").fontItalic());
        QCOMPARE(formatOf(doc, "n ").fontWeight(), int(QFont::Normal));
        QVERIFY(formatOf(doc, "u ").fontUnderline());
        QVERIFY(!formatOf(doc, "n2").fontUnderline());
        QVERIFY(formatOf(doc, "u2").fontUnderline());
        QVERIFY(!formatOf(doc, "n3").fontUnderline());
        QCOMPARE(formatOf(doc, "big").fontPointSize(), 20.0);
        QCOMPARE(formatOf(doc, "plain").fontPointSize(), 12.0);
        QCOMPARE(formatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
        QCOMPARE(formatOf(doc, "blue").foreground().color(), QColor(0, 0, 255));
        QCOMPARE(formatOf(doc, "auto").foreground().style(), Qt::NoBrush);
        QCOMPARE(formatOf(doc, "none").foreground().style(), Qt::NoBrush);
    }

    void malformed_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("not rtf") << QByteArray("plain words") << "plain words";
        QTest::newRow("truncated group") << QByteArray("{\\rtf1 {\\b bold") << "bold";
        QTest::newRow("extra closing braces") << QByteArray("}}}a{{") << "a";
        QTest::newRow("backslash at end") << QByteArray("{\\rtf1 a\\") << "a";
        QTest::newRow("hex cut short") << QByteArray("{\\rtf1 a\\'4") << "a";
        QTest::newRow("hex not hex") << QByteArray("{\\rtf1 a\\'zz") << "azz";
        QTest::newRow("u without number") << QByteArray("{\\rtf1 \\u x}") << "x";
        QTest::newRow("u out of range") << QByteArray("{\\rtf1 \\u99999999999?y}") << "y";
        QTest::newRow("huge font size") << QByteArray("{\\rtf1\\fs99999999999999999999999 x}") << "x";
        QTest::newRow("huge negative number") << QByteArray("{\\rtf1\\cf-99999999999999999 x}") << "x";
        QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin999999999999 bcd}") << "a";
        QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab";
        QTest::newRow("open colour table") << QByteArray("{\\rtf1{\\colortbl;\\red300\\green-4") << "";
        QTest::newRow("huge colour index") << QByteArray("{\\rtf1{\\colortbl;\\red1;}\\cf2147483647 x}") << "x";
        QTest::newRow("huge tab stop") << QByteArray("{\\rtf1\\tx99999999999 a\\tab b}") << "a\tb";
        QTest::newRow("long control word") << QByteArray("{\\rtf1\\" + QByteArray(100000, 'a') + " x}") << "x";
        QTest::newRow("deep nesting") << QByteArray(200000, '{') + "x" << "x";
        QTest::newRow("nul and control bytes") << QByteArray("{\\rtf1 a\0\x01\x1f b}", 14) << "a b";
        QTest::newRow("star outside group") << QByteArray("\\*x{y}") << "";
        QTest::newRow("uc huge") << QByteArray("{\\rtf1\\uc99999999\\u65 abcdefghijklmnopqrstu}") << "Aqrstu";
    }
    void malformed()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(render(rtf), text);
    }

    void randomBytesNeverCrash()
    {
        QRandomGenerator rng(20261210);
        static const char raw[] = "{}\\'*uucbfsparlinetab0123456789- ;\r\n\xe9";
        QByteArray alphabet(raw, sizeof raw); // the closing NUL is one of the letters
        QTextDocument doc;
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes(int(rng.bounded(2000)), '\0');
            const bool structured = round % 2 == 0;
            for (char& c : bytes)
                c = structured ? alphabet[int(rng.bounded(alphabet.size()))] : char(rng.bounded(256));
            rtfToDocument(bytes, &doc);
            QVERIFY(doc.characterCount() >= 1);
        }
    }

    void viewer()
    {
        TempFolders folders;
        RtfView view;
        QCOMPARE(view.lineWrapMode(), QTextEdit::NoWrap);
        QVERIFY(view.isReadOnly());
        QVERIFY(!view.loadPage("missing.rtf"));
        QCOMPARE(view.toPlainText(), QStringLiteral("Help file not installed!  Please run the latest voltaris installer."));
        writeFile(folders.appFile("page.rtf"), "{\\rtf1 {\\b Heading}\\par body}");
        QVERIFY(view.loadPage("page.rtf"));
        QCOMPARE(view.toPlainText(), QStringLiteral("Heading\nbody"));
        // A folder, FIFO or device where the page should be reads as
        // missing, at once.
        for (OddFile odd : {OddFile::Folder, OddFile::Fifo, OddFile::Device}) {
            makeOddFile(folders.appFile("odd.rtf"), odd);
            QVERIFY(!view.loadPage("odd.rtf"));
            QCOMPARE(view.toPlainText(), notInstalledText());
        }
    }
};

VOLTARIS_TEST(TestRtfView);
#include "test_rtfview.moc"
