#include "support/modal.h"
#include "support/testmain.h"

#include "common/framer.h"
#include "common/portcontroller.h"
#include "common/verror.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
const QString CR(QChar(13));
const QString CRLF = QStringLiteral("\r\n");

// Frames every reply the buffer holds, empty ones skipped.
QStringList drain(const QString& start, const QString& end, QString& buffer)
{
    QStringList out;
    while (framerHasReply(end, buffer)) {
        const QString f = framer(start, end, buffer);
        if (!f.isEmpty())
            out << f;
    }
    return out;
}

QString chars(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s += QChar(c);
    return s;
}
} // namespace

class TestFramer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void framerCases_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("rest");
        QTest::newRow("reply then partial") << "!" << CR << "!0014,1,2" + CR + "!00" << "0014,1,2" << "!00";
        QTest::newRow("no end: cut to start") << "!" << CR << "xx!0013,5" << "" << "!0013,5";
        QTest::newRow("no end, no start") << "!" << CR << "xx" << "" << "xx";
        QTest::newRow("older unfinished dropped") << "!" << CR << "!00!0013,5" + CR << "0013,5" << "";
        QTest::newRow("line without start dropped") << "!" << CR << "junk" + CR + "!0014,7" + CR << "0014,7" << "";
        QTest::newRow("rest without start cleared") << "!" << CR << "!0014,7" + CR + "zz" << "0014,7" << "";
        QTest::newRow("rest with start kept") << "!" << CR << "!0014,7" + CR + "z!00" << "0014,7" << "z!00";
        QTest::newRow("only garbage lines") << "!" << CR << "a" + CR + "b" + CR + "c" << "" << "c";
        QTest::newRow("empty frame") << "!" << CR << "!" + CR + "!0014" + CR << "" << "!0014" + CR;
        QTest::newRow("empty buffer") << "!" << CR << "" << "" << "";
        QTest::newRow("meter line") << "" << CRLF << "1.234" + CRLF + "5" << "1.234" << "5";
        QTest::newRow("meter single") << "" << CRLF << "A" + CRLF << "A" << "";
        QTest::newRow("meter lone CR is data") << "" << CRLF << "A\rB" << "" << "A\rB";
        QTest::newRow("meter end first") << "" << CRLF << CRLF + "7" << "" << "7";
        QTest::newRow("gps start") << "$" << CRLF << "x$GPGGA,1*5B" + CRLF << "GPGGA,1*5B" << "";
    }
    void framerCases()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, buffer);
        QFETCH(QString, frame);
        QFETCH(QString, rest);
        QCOMPARE(framer(start, end, buffer), frame);
        QCOMPARE(buffer, rest);
    }

    void framerWithoutEndMark()
    {
        QString buffer = "!0014" + CR;
        ModalAnswer a("Command1_0");
        QCOMPARE(framer("!", "", buffer), QString());
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Internal error"));
        QCOMPARE(a.text(), QStringLiteral("Response framer function called with null end character!"));
        QCOMPARE(buffer, "!0014" + CR);
    }

    // A buffer with no end mark keeps at most its newest 64 KiB, however it
    // came to be that long; one that still holds a reply is left whole.
    void framerCapsWhatNeverEnds_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("rest");
        const qsizetype cap = receiveBufferLimit;
        const QString big(cap + 4000, u'a');
        const QString exact(cap, u'a');
        QTest::newRow("no start, no end") << "!" << CR << "x" + big << "" << big.right(cap);
        QTest::newRow("start far back") << "!" << CR << "zz!" + big << "" << big.right(cap);
        QTest::newRow("garbage line, then no end") << "!" << CR << "junk" + CR + big << "" << big.right(cap);
        QTest::newRow("after a reply") << "!" << CR << "!0014" + CR + "!" + big << "0014" << big.right(cap);
        QTest::newRow("exactly the limit") << "!" << CR << exact << "" << exact;
        QTest::newRow("meter, lone CR") << "" << CRLF << big + "\r" << "" << (big + "\r").right(cap);
        QTest::newRow("meter, reply kept") << "" << CRLF << "1" + CRLF + big + CRLF << "1" << big + CRLF;
    }
    void framerCapsWhatNeverEnds()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, buffer);
        QFETCH(QString, frame);
        QFETCH(QString, rest);
        QCOMPARE(framer(start, end, buffer), frame);
        QCOMPARE(buffer.size(), rest.size());
        QCOMPARE(buffer, rest);
    }

    void bitframerCases_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("rest");
        QTest::newRow("record and rest") << 0x80 << 2 << chars({65, 200, 1, 2, 201}) << chars({200, 1, 2})
                                         << chars({201});
        QTest::newRow("incomplete kept whole") << 0x80 << 2 << chars({65, 200, 1}) << "" << chars({65, 200, 1});
        QTest::newRow("no marked char") << 0x80 << 2 << "abc" << "" << "abc";
        QTest::newRow("exact fit") << 0x80 << 2 << chars({128, 0, 0}) << chars({128, 0, 0}) << "";
        QTest::newRow("length 0") << 0x01 << 0 << "ba" << "a" << "";
        QTest::newRow("empty") << 0x80 << 2 << "" << "" << "";
    }
    void bitframerCases()
    {
        QFETCH(int, mask);
        QFETCH(int, length);
        QFETCH(QString, buffer);
        QFETCH(QString, record);
        QFETCH(QString, rest);
        QCOMPARE(bitframer(mask, length, buffer), record);
        QCOMPARE(buffer, rest);
    }

    // However the stream is cut into reads, the same replies come out in
    // the same order.
    void anyChunkingGivesSameReplies_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("board") << "!" << CR;
        QTest::newRow("meter") << "" << CRLF;
    }
    void anyChunkingGivesSameReplies()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QRandomGenerator rng(4711);
        for (int round = 0; round < 200; ++round) {
            QString stream;
            QStringList expected;
            const int n = 1 + int(rng.bounded(12));
            for (int i = 0; i < n; ++i) {
                if (!start.isEmpty() && rng.bounded(3) == 0) {
                    // Garbage: a stray line, or noise before the start mark.
                    stream += rng.bounded(2) ? QStringLiteral("zz") + end : QStringLiteral("q#");
                }
                QString reply = QString::number(rng.bounded(0x10000), 16).rightJustified(4, u'0');
                const int fields = int(rng.bounded(4));
                for (int f = 0; f < fields; ++f)
                    reply += u',' + QString::number(rng.bounded(100000));
                expected << reply;
                stream += start + reply + end;
            }
            QString whole = stream;
            QCOMPARE(drain(start, end, whole), expected);

            QString buffer;
            QStringList got;
            qsizetype at = 0;
            while (at < stream.size()) {
                const qsizetype len = 1 + qsizetype(rng.bounded(9));
                buffer += stream.mid(at, len);
                at += len;
                got += drain(start, end, buffer);
            }
            QCOMPARE(got, expected);
        }
    }

    void portSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("stop");
        QTest::newRow("9600") << "9600,n,8,1" << true << 9600 << 1;
        QTest::newRow("leading blank") << " 256000,n,8,1" << true << 256000 << 1;
        QTest::newRow("upper case, two stops") << "19200,E,7,2" << true << 19200 << 2;
        QTest::newRow("one and a half") << "300,o,5,1.5" << true << 300 << 15;
        QTest::newRow("missing field") << "9600,n,8" << false << 0 << 0;
        QTest::newRow("bad parity") << "9600,x,8,1" << false << 0 << 0;
        QTest::newRow("bad rate") << "fast,n,8,1" << false << 0 << 0;
        QTest::newRow("nine bits") << "9600,n,9,1" << false << 0 << 0;
        QTest::newRow("empty") << "" << false << 0 << 0;
    }
    void portSettings()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, baud);
        QFETCH(int, stop);
        try {
            const PortSettings s = parsePortSettings(text);
            QVERIFY(valid);
            QCOMPARE(s.baud, baud);
            QCOMPARE(s.stopBits, stop);
        } catch (const VError& e) {
            QVERIFY2(!valid, qPrintable(e.description()));
            QCOMPARE(e.number(), 380);
        }
    }
};

VOLTARIS_TEST(TestFramer);
#include "test_framer.moc"
