#include "support/sha1text.h"
#include "support/testmain.h"

#include "common/sha1.h"
#include "common/xtea.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
int32_t hexWord(uint32_t v)
{
    return int32_t(v);
}

// Byte text: one character per byte.
QString bytesText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray randomBytes(QRandomGenerator& rng, qsizetype n)
{
    QByteArray b(n, '\0');
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(rng.bounded(256));
    return b;
}
} // namespace

class TestCipher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wordArithmetic()
    {
        QCOMPARE(uadd(hexWord(0xFFFFFFFF), 1), 0);
        QCOMPARE(uadd(hexWord(0x7FFFFFFF), 1), hexWord(0x80000000));
        QCOMPARE(usub(0, 1), hexWord(0xFFFFFFFF));
        QCOMPARE(usub(hexWord(0x80000000), 1), 0x7FFFFFFF);
        QCOMPARE(rotl(hexWord(0x80000001), 1), 3);
        QCOMPARE(rotl(hexWord(0x80000001), 0), hexWord(0x80000001));
        QCOMPARE(rotl(hexWord(0x80000001), 32), hexWord(0x80000001));
        QCOMPARE(rotl(hexWord(0x12345678), 8), 0x34567812);
        QCOMPARE(shr(hexWord(0xFFFFFFFF), 1), 0x7FFFFFFF);
        QCOMPARE(shr(hexWord(0xFFFFFFFF), 32), 0);
        QCOMPARE(shr(hexWord(0xF0), -1), 0xF0);
        QCOMPARE(shl(hexWord(0xC0000000), 1), hexWord(0x80000000));
        QCOMPARE(shl(1, 40), 0);
        QCOMPARE(shl(1, 31), hexWord(0x80000000));
    }

    void hex8()
    {
        QCOMPARE(::hex8(-1, 8), QStringLiteral("FFFFFFFF"));
        QCOMPARE(::hex8(255, 4), QStringLiteral("00FF"));
        int digits = 12;
        QCOMPARE(::hex8(255, digits), QStringLiteral("000000FF"));
        QCOMPARE(digits, 8);
        QCOMPARE(::hex8(255, 0), QString());
    }

    void xteaPublishedVectors_data()
    {
        // Published vectors as key[0..3], v[0], v[1] -> enciphered v[0], v[1]:
        //   key 00010203 04050607 08090a0b 0c0d0e0f, block 41424344 45464748 -> 497df3d0 72612cb5
        //   all-zero key and block -> dee9d4d8 f7131ed9
        // written here as the key words 3 to 0 and the block words v[1], v[0].
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("cipher");
        QTest::newRow("counting key") << "0C0D0E0F08090A0B0405060700010203" << "4546474841424344" << "72612CB5497DF3D0";
        QTest::newRow("zeros") << QString(32, u'0') << QString(16, u'0') << "F7131ED9DEE9D4D8";
        QTest::newRow("zeros, short texts") << "0" << "" << "F7131ED9DEE9D4D8";
        QTest::newRow("lower case") << "0c0d0e0f08090a0b0405060700010203" << "4546474841424344" << "72612CB5497DF3D0";
        QTest::newRow("long data keeps its right part") << "0C0D0E0F08090A0B0405060700010203" << "FFFF4546474841424344"
                                                        << "72612CB5497DF3D0";
    }
    void xteaPublishedVectors()
    {
        QFETCH(QString, key);
        QFETCH(QString, block);
        QFETCH(QString, cipher);
        QString k = key;
        QCOMPARE(xtea(0, block, k), cipher);
        QCOMPARE(k, key); // hex modes leave the key alone
        QCOMPARE(xtea(1, cipher, key), (QString(16, u'0') + block.toUpper()).right(16));
    }

    void xteaRoundTrips()
    {
        QRandomGenerator rng(1234);
        for (int i = 0; i < 50; ++i) {
            const QString key = QString::fromLatin1(randomBytes(rng, 16).toHex());
            const QString block = QString::fromLatin1(randomBytes(rng, 8).toHex().toUpper());
            const QString c = xtea(0, block, key);
            QCOMPARE(c.size(), 16);
            QCOMPARE(c, c.toUpper());
            QCOMPARE(xtea(1, c, key), block);
        }
        QCOMPARE(xtea(1, xtea(0, "1", "ABC"), "ABC"), QStringLiteral("0000000000000001"));
    }

    void xteaByteModes()
    {
        QString key = QStringLiteral("secret");
        const QString data = QStringLiteral("ab\u00ff\u0001wxyz");
        const QString c = xtea(2, data, key);
        QCOMPARE(c.size(), 8);
        QCOMPARE(key, QStringLiteral("secret") + QString(16, QChar(0)));
        // The byte modes are the hex modes on the bytes' hex, key padded on the right.
        QString hexOfC;
        for (const QChar ch : c)
            hexOfC += QStringLiteral("%1").arg(ch.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        QCOMPARE(hexOfC, xtea(0, "6162FF017778797A", "73656372657400000000000000000000"));
        QString key2 = QStringLiteral("secret");
        QCOMPARE(xtea(3, c, key2), data);

        // Short data comes back with code-0 characters before it.
        QString key3 = QStringLiteral("k");
        const QString shortC = xtea(2, "hi", key3);
        QString key4 = QStringLiteral("k");
        QCOMPARE(xtea(3, shortC, key4), QString(6, QChar(0)) + "hi");

        QString untouched = QStringLiteral("key");
        QCOMPARE(xtea(5, "00", untouched), QString());
        QCOMPARE(untouched, QStringLiteral("key"));
    }

    void sha1Examples()
    {
        QString m = QStringLiteral("abc");
        QCOMPARE(sha1(QString(), m), QStringLiteral("A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D"));
        QCOMPARE(m.size(), 64);
        QCOMPARE(sha1("", ""), QStringLiteral("DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709"));
        QString m55(55, u'x'), m56(56, u'x');
        sha1("", m55);
        sha1("", m56);
        QCOMPARE(m55.size(), 64);
        QCOMPARE(m56.size(), 128);
    }

    void sha1Constants()
    {
        const QString standard = QStringLiteral("CA62C1D68F1BBCDC6ED9EBA15A827999");
        for (const QString& msg : {QString(), QStringLiteral("abc"), QString(200, u'q')}) {
            const QString expected = sha1("", msg);
            QCOMPARE(sha1(standard, msg), expected);
            QCOMPARE(sha1(standard.toLower(), msg), expected);
            QCOMPARE(sha1("CA62C1D6 8F1BBCDC 6ED9EBA1 5A827999", msg), expected);
            QCOMPARE(sha1("FFFF" + standard, msg), expected); // the last 32 digits count
            QVERIFY(sha1("CA62C1D68F1BBCDC6ED9EBA15A827998", msg) != expected);
        }
        // No hex digit at all: every constant 0, which differs from the standard.
        QCOMPARE(sha1("xyz", "abc"), sha1(QString(32, u'0'), "abc"));
        QVERIFY(sha1("xyz", "abc") != sha1("", "abc"));
    }

    void sha1AgainstQt()
    {
        QRandomGenerator rng(42);
        for (int len = 0; len <= 300; ++len) {
            const QByteArray bytes = randomBytes(rng, len);
            QCOMPARE(sha1("", bytesText(bytes)), sha1Text(bytes));
        }
        const QByteArray big = randomBytes(rng, 5 * 1024 * 1024 + 17);
        QString text = bytesText(big);
        QCOMPARE(sha1("", text), sha1Text(big));
        QCOMPARE(text.size() % 64, 0);

        // Taken a part at a time, parts of every size against the block.
        for (const int part : {1, 7, 63, 64, 65, 1000, 262144}) {
            for (const qsizetype len : {qsizetype(0), qsizetype(55), qsizetype(64), qsizetype(300), big.size()}) {
                if (part < 64 && len == big.size())
                    continue;
                Sha1Stream hash;
                for (qsizetype at = 0; at < len; at += part)
                    hash.add(big.mid(at, qMin<qsizetype>(part, len - at)));
                QCOMPARE(hash.digest(), sha1Text(big.left(len)));
            }
        }
        // A digest read between parts leaves the stream to go on.
        Sha1Stream hash;
        hash.add(big.left(100));
        QCOMPARE(hash.digest(), sha1Text(big.left(100)));
        hash.add(big.mid(100, 200));
        QCOMPARE(hash.digest(), sha1Text(big.left(300)));
    }

    // The length field carries the full 64-bit bit count, so messages of
    // 2^29 characters and more keep their standard digest.
    void sha1LengthField()
    {
        const auto tail = [](int64_t length) {
            const QString pad = sha1padding(length);
            QByteArray bytes;
            for (const QChar c : pad.right(8))
                bytes += char(c.unicode());
            return bytes.toHex();
        };
        QCOMPARE(tail(3), QByteArray("0000000000000018"));
        QCOMPARE(tail(int64_t(1) << 29), QByteArray("0000000100000000"));
        QCOMPARE(tail((int64_t(1) << 32) + 1), QByteArray("0000000800000008"));
        for (int64_t len : {int64_t(0), int64_t(55), int64_t(56), int64_t(63), int64_t(64), (int64_t(1) << 29) + 5})
            QCOMPARE((len + sha1padding(len).size()) % 64, int64_t(0));
        QCOMPARE(sha1padding(55).size(), 9);
        QCOMPARE(sha1padding(56).size(), 72);
    }
};

VOLTARIS_TEST(TestCipher);
#include "test_cipher.moc"
