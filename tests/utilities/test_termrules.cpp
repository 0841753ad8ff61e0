// The dual terminal's display, key and command-line rules.

#include "support/testmain.h"

#include "utilities/termrules.h"

#include <QTest>

using namespace termrules;

namespace {
QString bytes(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s += QChar(char16_t(c));
    return s;
}

// The received text shown byte by byte, as the display rules give it.
QString oneByOne(const QString& data, bool hex, QString buffer = QString())
{
    for (QChar c : data)
        appendReceived(buffer, QStringView(&c, 1), hex);
    return buffer;
}
} // namespace

class TermRulesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void received_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shown");
        const QString del(QChar(127));
        QTest::newRow("CR LF pair") << "" << "A\r\nB" << false << "A\r\nB" << "A\r\nB" + del;
        QTest::newRow("lone CR breaks the line") << "" << "A\rB" << false << "A\r\nB" << "A\r\nB" + del;
        QTest::newRow("LF alone bracketed") << "" << "A\nB" << false << "A[0A]B" << "A[0A]B" + del;
        QTest::newRow("final CR keeps the cursor on the next line") << "" << "A\r" << false << "A\r" << "A\r\n" + del;
        QTest::newRow("LF after a stored CR") << "A\r" << "\n" << false << "A\r\n" << "A\r\n" + del;
        QTest::newRow("CR CR") << "" << "\r\r" << false << "\r\n\r" << "\r\n\r\n" + del;
        QTest::newRow("DEL itself, 128, 255") << "" << bytes({127, 128, 255}) << false << bytes({127}) + "[80][FF]"
                                              << bytes({127}) + "[80][FF]" + del;
        QTest::newRow("NUL, ESC, TAB") << "" << bytes({0, 27, 9}) << false << "[00][1B][09]" << "[00][1B][09]" + del;
        QTest::newRow("no byte value left out") << "" << QStringLiteral("a\u20acb") << false << "ab" << "ab" + del;
        QTest::newRow("hex") << "" << bytes({1, 0xa2, 13, 10, 0}) << true << "01 A2 0D 0A 00 " << "01 A2 0D 0A 00 " + del;
        QTest::newRow("hex after a final CR") << "A\r" << "B" << true << "A\r42 " << "A\r42 " + del;
    }
    void received()
    {
        QFETCH(QString, before);
        QFETCH(QString, data);
        QFETCH(bool, hex);
        QFETCH(QString, after);
        QFETCH(QString, shown);
        QString buffer = before;
        appendReceived(buffer, data, hex);
        QCOMPARE(buffer, after);
        QCOMPARE(displayText(buffer), shown);
        QCOMPARE(oneByOne(data, hex, before), after);
    }

    // Every byte value with the line ends mixed in: however the stream is
    // cut into reads, the buffer is the byte-by-byte rendering.
    void readBoundariesDoNotMatter()
    {
        QString stream;
        for (int i = 0; i < 256; ++i) {
            stream += QChar(char16_t(i));
            stream += i % 3 == 0 ? QStringLiteral("\r") : i % 3 == 1 ? QStringLiteral("\n") : QStringLiteral("\r\n");
        }
        stream = stream + stream;
        for (bool hex : {false, true}) {
            const QString whole = oneByOne(stream, hex);
            for (int piece : {1, 2, 3, 7, 64, 1000}) {
                QString buffer;
                for (qsizetype at = 0; at < stream.size(); at += piece)
                    appendReceived(buffer, QStringView(stream).mid(at, piece), hex);
                QCOMPARE(buffer, whole);
            }
            QString all;
            appendReceived(all, stream, hex);
            QCOMPARE(all, whole);
        }
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("sent");
        QTest::newRow("letter") << int('a') << false << "a" << "a";
        QTest::newRow("Enter") << 13 << false << "\r\n" << "\r\n";
        QTest::newRow("DEL") << 127 << false << bytes({127}) << bytes({127});
        QTest::newRow("control") << 1 << false << "[01]" << bytes({1});
        QTest::newRow("latin-1") << 0xe9 << false << "[E9]" << bytes({0xe9});
        QTest::newRow("hex letter") << int('a') << true << "61 " << "a";
        QTest::newRow("hex Enter sends CR alone") << 13 << true << "0D " << "\r";
        QTest::newRow("no byte value") << 0x20ac << false << "" << "";
        QTest::newRow("no byte value, hex") << 0x20ac << true << "" << "";
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(bool, hex);
        QFETCH(QString, shown);
        QFETCH(QString, sent);
        QCOMPARE(typedKey(QChar(char16_t(key)), hex), (Piece{shown, sent}));
    }

    void commandLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("text with ^m and ^M") << "ab^mcde^M" << false << QStringList{"a", "b", "\r\n", "c", "d", "e", "\r\n"}
                                             << QStringList{"a", "b", "\r\n", "c", "d", "e", "\r\n"};
        QTest::newRow("caret alone and last") << "^x^" << false << QStringList{"^", "x", "^"} << QStringList{"^", "x", "^"};
        QTest::newRow("text leaves out no-byte characters") << QStringLiteral("a\u20ac\u00ff") << false
                                                            << QStringList{"a", QStringLiteral("\u00ff")}
                                                            << QStringList{"a", QStringLiteral("\u00ff")};
        QTest::newRow("hex with blanks, odd count") << "1 a 2" << true << QStringList{"01 ", "A2 "} << QStringList{bytes({1}), bytes({0xa2})};
        QTest::newRow("hex upper case") << "1A2" << true << QStringList{"01 ", "A2 "} << QStringList{bytes({1}), bytes({0xa2})};
        QTest::newRow("hex display copied back") << "01 A2 FF 0D " << true << QStringList{"01 ", "A2 ", "FF ", "0D "}
                                                 << QStringList{bytes({1}), bytes({0xa2}), bytes({0xff}), bytes({13})};
        QTest::newRow("hex without digits") << "xyz!" << true << QStringList{} << QStringList{};
        QTest::newRow("empty") << "" << false << QStringList{} << QStringList{};
    }
    void commandLines()
    {
        QFETCH(QString, line);
        QFETCH(bool, hex);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, sent);
        QStringList gotShown, gotSent;
        for (const Piece& p : commandPieces(line, hex)) {
            gotShown << p.shown;
            gotSent << p.sent;
        }
        QCOMPARE(gotShown, shown);
        QCOMPARE(gotSent, sent);
    }
};

VOLTARIS_TEST(TermRulesTest);
#include "test_termrules.moc"
