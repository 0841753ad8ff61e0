#include "support/testmain.h"

#include "common/owntext.h"
#include "math/pichexcheck.h"

#include <QTest>

namespace {
// A data record with a correct checksum.
QString record(int address, const QByteArray& data, int type = 0)
{
    QString s = QStringLiteral(":%1%2%3").arg(data.size(), 2, 16, QChar('0')).arg(address, 4, 16, QChar('0')).arg(type, 2, 16, QChar('0'));
    int sum = data.size() + (address & 0xFF) + (address >> 8) + type;
    for (char b : data) {
        s += QStringLiteral("%1").arg(quint8(b), 2, 16, QChar('0'));
        sum += quint8(b);
    }
    s += QStringLiteral("%1").arg((0x100 - (sum & 0xFF)) & 0xFF, 2, 16, QChar('0'));
    return s.toUpper();
}

PicImage load(const QStringList& lines)
{
    PicImage img;
    img.setupdevice("12F510");
    img.erase();
    for (const QString& l : lines)
        img.processLine(l);
    return img;
}
} // namespace

class TestPicHexCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A long bad line is quoted in part, never cut inside a character
    // outside the Basic Multilingual Plane.
    void longLineQuotedWhole()
    {
        const QString clef = QStringLiteral("\U0001D11E");
        for (int at : {519, 520, 521, 522}) {
            const QString line = QStringLiteral(":") + QString(at - 1, u'0') + clef.repeated(4);
            const PicImage img = load({line});
            QVERIFY(img.error);
            QCOMPARE(firstLoneSurrogate(img.errors), -1);
            QVERIFY2(img.errors.contains(QStringLiteral("...")), qPrintable(QString::number(at)));
        }
    }
    void erasedDevice()
    {
        const PicImage img = load({":00000001FF"});
        QVERIFY(!img.error);
        QCOMPARE(img.errors, QString());
        QCOMPARE(hexSummary(img), QString("No errors detected in loaded file\r\n"
                                          "0x0000 (0000000) Progrm words loaded\r\n"
                                          "0x0000 (0000000) EEProm words loaded\r\n"
                                          "0x0000 (0000000) Config words loaded\r\n"
                                          "0x0000 (0000000) UserID words loaded\r\n"));
        const DeviceChecksums cs = computechecksum(img, "12F510");
        QVERIFY(cs.valid);
        QCOMPARE(cs.unprotected, 0xEC40);
        QCOMPARE(cs.codeProtected, 0xFFF6);
        QCOMPARE(cs.config, 0x3F);
        QVERIFY(cs.notProtected);
        QVERIFY(!computechecksum(img, "16F84").valid);
    }

    void configWord()
    {
        QCOMPARE(record(0x1FFE, QByteArray("\xEA\x0F", 2)), QString(":021FFE00EA0FE8"));
        const PicImage img = load({":021FFE00EA0FE8", ":00000001FF"});
        QVERIFY(!img.error);
        QCOMPARE(img.config[0], 0x0FEA);
        QCOMPARE(img.counter[PicImage::Config], 1);
        QVERIFY(hexSummary(img).contains("0x0001 (0000001) Config words loaded"));
        const DeviceChecksums cs = computechecksum(img, "12F510");
        QCOMPARE(cs.config, 0x2A);
        QVERIFY(cs.notProtected);
        // Protected: bit 3 clear.
        const DeviceChecksums p = computechecksum(load({record(0x1FFE, QByteArray("\xE2\x0F", 2))}), "12F510");
        QVERIFY(!p.notProtected);
        QCOMPARE(p.unprotected, (1023 * 0xFFF + ((0xFE2 & 0x37) | 8)) & 0xFFFF);
    }

    void placementAndOrphans_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("orphans");
        QTest::addColumn<QString>("counters"); // program, eeprom, config, user id
        QTest::newRow("backup calibration") << QStringList{record(0x0808, QByteArray("\x25\x0C", 2))} << ""
                                            << "0,0,0,0";
        QTest::newRow("orphan word") << QStringList{record(0x080A, QByteArray("\x25\x0C", 2))} << "0405:0C25\r\n"
                                     << "0,0,0,0";
        QTest::newRow("record over 403-406")
            << QStringList{record(0x0806, QByteArray("\x01\x00\x02\x00\x03\x00\x04\x00", 8))}
            << "0405:0003\r\n0406:0004\r\n" << "0,0,0,1";
        QTest::newRow("calibration is program too") << QStringList{record(0x07FE, QByteArray("\x34\x0C", 2))} << ""
                                                    << "1,0,0,0";
        QTest::newRow("type 1 places nothing") << QStringList{record(0x0000, QByteArray("\x11\x22", 2), 1)} << ""
                                               << "0,0,0,0";
    }
    void placementAndOrphans()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, orphans);
        QFETCH(QString, counters);
        const PicImage img = load(lines);
        QVERIFY(!img.error);
        QCOMPARE(img.orphans, orphans);
        const QStringList c = counters.split(',');
        for (int i = 0; i < 4; ++i)
            QCOMPARE(img.counter[size_t(i)], c[i].toInt());
    }

    void calibrationCells()
    {
        const PicImage img = load({record(0x07FE, QByteArray("\x34\x0C\x56\x07", 4)), record(0x0808, QByteArray("\x99\x08", 2))});
        QCOMPARE(img.calibration, 0x0C34);
        QCOMPARE(img.wordimage[0x3FF], 0x0C34);
        QCOMPARE(img.backupCalibration, 0x0899);
        QCOMPARE(img.orphans, QString()); // 0x400 is a user ID
        QCOMPARE(img.userid[0], 0x0756);
    }

    // Extended address records (types 02 and 04) are checked, not applied:
    // the data records after them are placed at their own 16-bit address.
    void extendedAddressRecords_data()
    {
        QTest::addColumn<QString>("extended");
        QTest::newRow("segment (02)") << record(0, QByteArray("\x10\x00", 2), 2);
        QTest::newRow("linear (04)") << record(0, QByteArray("\x00\x01", 2), 4);
    }
    void extendedAddressRecords()
    {
        QFETCH(QString, extended);
        const PicImage img = load({extended, record(0x0020, QByteArray("\x21\x03", 2)), ":00000001FF"});
        QVERIFY2(!img.error, qPrintable(img.errors));
        QCOMPARE(img.wordimage[0x10], 0x0321);
        QCOMPARE(img.counter[PicImage::Program], 1);
        QCOMPARE(img.orphans, QString());
        // The extended record's own two bytes are no data words.
        QCOMPARE(img.wordimage[0], PicImage::erased);
        // And a bad checksum on one is still an error.
        QString bad = extended;
        bad.chop(2);
        bad += extended.endsWith("00") ? "01" : "00";
        QVERIFY(load({bad}).error);
    }

    void placedTwice()
    {
        const PicImage img = load({record(0x0010, QByteArray("\x11\x01", 2)), record(0x0010, QByteArray("\x22\x02", 2))});
        QCOMPARE(img.wordimage[8], 0x0222);
        QCOMPARE(img.counter[PicImage::Program], 2);
    }

    void longRecords_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("32 bytes") << 32;
        QTest::newRow("255 bytes") << 255;
    }
    void longRecords()
    {
        QFETCH(int, count);
        QByteArray data;
        for (int i = 0; i < count; ++i)
            data += char(i + 1);
        const PicImage img = load({record(0x0100, data)});
        QVERIFY2(!img.error, qPrintable(img.errors));
        const int words = (count + 1) / 2; // 255 -> 127.5 -> 128
        QCOMPARE(img.counter[PicImage::Program], words);
        for (int k = 0; k < count / 2; ++k)
            QCOMPARE(img.wordimage[size_t(0x80 + k)], (2 * k + 1) + 256 * (2 * k + 2));
        if (count % 2) // the last word lacks its high byte: it counts as 0
            QCOMPARE(img.wordimage[size_t(0x80 + words - 1)], count);
    }

    void oddCountHighByteIsZero()
    {
        // A full record first leaves bytes behind that must not leak into
        // the three-byte record's last word.
        QByteArray full(16, char(0x77));
        const PicImage img = load({record(0x0000, full), record(0x0040, QByteArray("\x01\x02\x03", 3))});
        QVERIFY(!img.error);
        QCOMPARE(img.wordimage[0x20], 0x0201);
        QCOMPARE(img.wordimage[0x21], 0x0003);
        // One byte: half a word rounds to no word at all.
        const PicImage one = load({record(0x0040, QByteArray("\x05", 1))});
        QCOMPARE(one.counter[PicImage::Program], 0);
    }

    void recordErrors_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("placed"); // word 0 received 0x0201
        QTest::newRow("checksum") << ":020000000102FA" << "CHECKSUM ERROR: (FB) expected\r\n:020000000102FA\r\n\r\n"
                                  << true;
        QTest::newRow("count") << ":030000000102FA" << "DATA COUNT ERROR: (02) expected\r\n:030000000102FA\r\n\r\n"
                               << true;
        QTest::newRow("odd field") << ":0200000001020FB" << "DATA COUNT ERROR: (02) expected" << true;
        QTest::newRow("short") << ":0000001" << "RECORD LENGTH ERROR: (08) characters\r\n:0000001\r\n\r\n" << false;
        QTest::newRow("colon only") << ":" << "RECORD LENGTH ERROR: (01) characters\r\n:\r\n\r\n" << false;
        // The position reads as a user counts, from 1 in decimal.
        QTest::newRow("non-hex") << ":02000000010G00"
                                 << "HEX DIGIT ERROR: character 13 is not a hexadecimal digit\r\n:02000000010G00\r\n\r\n"
                                 << false;
        QTest::newRow("16th") << ":10000000010203Z405060708090A0B0C0D0E0F1000"
                              << "HEX DIGIT ERROR: character 16 is not a hexadecimal digit" << false;
        QTest::newRow("binary") << QString::fromLatin1(":\x00\x01\xff\x80xxxxxxxxx", 14)
                                << "HEX DIGIT ERROR: character 2 is not a hexadecimal digit" << false;
    }
    void recordErrors()
    {
        QFETCH(QString, line);
        QFETCH(QString, entry);
        QFETCH(bool, placed);
        const PicImage img = load({line, ":00000001FF", "; trailing comment"});
        QVERIFY(img.error);
        QVERIFY2(img.errors.startsWith(entry), qPrintable(img.errors));
        QCOMPARE(img.errors.count("ERROR"), 1);
        QCOMPARE(img.comment, QString("; trailing comment\r\n"));
        QCOMPARE(img.wordimage[0] == 0x0201, placed);
    }

    void hugeLineIsQuotedShort()
    {
        const QString line = ":" + QString(100000, 'A');
        const PicImage img = load({line});
        QVERIFY(img.error);
        QVERIFY(img.errors.size() < 1200); // count and checksum entries
        QVERIFY(img.errors.contains("...\r\n"));
    }

    void commentsAndMissingEnd()
    {
        const PicImage img = load({"", "not a record", record(0, QByteArray("\x01\x02", 2))});
        QVERIFY(!img.error);
        QCOMPARE(img.comment, QString("\r\nnot a record\r\n"));
        QCOMPARE(img.counter[PicImage::Program], 1);
    }
};

VOLTARIS_TEST(TestPicHexCheck);
#include "test_pichexcheck.moc"
