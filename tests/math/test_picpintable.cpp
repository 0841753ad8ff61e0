#include "support/testmain.h"

#include "math/picpintable.h"

#include <QTest>

namespace {
const QString kSlash(61, u'/');
const QString kDash = QStringLiteral("//") + QString(59, u'-');

QString crlf(const QStringList& lines)
{
    QString s;
    for (const QString& l : lines)
        s += l + QStringLiteral("\r\n");
    return s;
}

PinTable forDevice(const QString& device)
{
    PinTable t;
    for (int k = 0; k < PinTable::pins; ++k)
        t.entry[size_t(k)].enabled = devicePin(device, k);
    return t;
}

// The lines of the generated text between two headings.
QStringList block(const QString& text, const QString& heading)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    const int at = int(lines.indexOf(heading));
    QStringList out;
    for (int i = at + 2; i < lines.size() && lines[i] != kSlash; ++i)
        out << lines[i];
    return out;
}
} // namespace

class TestPicPinTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultTableText()
    {
        QStringList expect{kSlash, "//Place in header file to setup I/O handling for ports      /", kSlash};
        for (char c = 'a'; c <= 'j'; ++c)
            expect << QStringLiteral("#use fast_io(%1)").arg(QChar(c));
        expect << kSlash << "" << "";
        expect << kSlash << "//Place in equate file for global define of port pin names  /" << kSlash;
        for (int i = 0; i < 9; ++i)
            expect << kDash;
        expect << kSlash << "" << "" << "";
        expect << kSlash << "//Place in 'Main' function of root C code file for fast_io  /" << kSlash;
        for (char c = 'a'; c <= 'j'; ++c)
            expect << QStringLiteral("output_%1(0x00); ").arg(QChar(c));
        expect << kDash;
        for (char c = 'a'; c <= 'j'; ++c)
            expect << QStringLiteral("set_tris_%1(0xFF); ").arg(QChar(c));
        expect << kSlash << "//Select 1 or none of the following statements as required  /" << kSlash
               << "port_b_pullups(true);" << "port_b_pullups(false);" << kSlash;
        const QString text = pinDefinitions(PinTable());
        QCOMPARE(text, crlf(expect));
        for (const QString& l : text.split(QStringLiteral("\r\n")))
            if (l.startsWith(QStringLiteral("//Place")) || l.startsWith(QStringLiteral("//Select")))
                QCOMPARE(l.size(), 61);
    }

    void equateLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("line");
        QTest::newRow("name and comment") << "LED1" << "status" << 11
                                          << "#define     LED1        pin_b3          //status";
        QTest::newRow("name only") << "SDA" << "" << 20 << "#define     SDA         pin_c4";
        QTest::newRow("12 characters") << "ABCDEFGHIJKL" << "" << 79 << "#define     ABCDEFGHIJKLpin_j7";
        QTest::newRow("comment only") << "" << "spare" << 0 << "//#define   name        pin_a0          //spare";
    }
    void equateLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, comment);
        QFETCH(int, entry);
        QFETCH(QString, line);
        PinTable t;
        t.entry[size_t(entry)].name = name;
        t.entry[size_t(entry)].comment = comment;
        const QStringList eq = block(pinDefinitions(t), "//Place in equate file for global define of port pin names  /");
        QVERIFY(eq.contains(line));
        QCOMPARE(line.indexOf(QStringLiteral("pin_")), 24); // column 25
        QCOMPARE(eq.size(), 10);
        // A pin of a disabled port gives no line.
        t.entry[size_t(entry)].enabled = false;
        QVERIFY(!pinDefinitions(t).contains(line));
    }

    void portValuesAndModes()
    {
        PinTable t;
        t.entry[8 + 0].data = "1";
        t.entry[8 + 7].data = "1";
        t.entry[8 + 1].direction = "O";
        t.entry[8 + 6].direction = "O";
        t.mode[1] = PinTable::Fixed;
        t.mode[9] = PinTable::Standard;
        const QString text = pinDefinitions(t);
        QVERIFY(text.contains("\r\noutput_b(0x81); \r\n"));
        QVERIFY(text.contains("\r\nset_tris_b(0xBD); \r\n"));
        QVERIFY(text.contains("\r\n#use fixed_io(b)\r\n"));
        QVERIFY(text.contains("\r\n#use standard_io(j)\r\n"));
        QVERIFY(text.contains("\r\n#use fast_io(c)\r\n"));
    }

    void smallDevice()
    {
        // Ports D to J are absent; A has bits 0-5 only but reports all eight.
        PinTable t = forDevice("PIC16F873");
        t.entry[6].direction = "O"; // a pin the device lacks still counts
        t.entry[7].data = "1";
        const QString text = pinDefinitions(t);
        QCOMPARE(block(text, "//Place in header file to setup I/O handling for ports      /"),
                 QStringList({"#use fast_io(a)", "#use fast_io(b)", "#use fast_io(c)"}));
        QCOMPARE(block(text, "//Place in equate file for global define of port pin names  /"),
                 QStringList({kDash, kDash}));
        QVERIFY(text.contains("\r\noutput_a(0x80); \r\noutput_b(0x00); \r\noutput_c(0x00); \r\n" + kDash));
        QVERIFY(text.contains("\r\nset_tris_a(0xBF); \r\nset_tris_b(0xFF); \r\nset_tris_c(0xFF); \r\n" + kSlash));
        QVERIFY(!text.contains("_d("));
        QVERIFY(text.contains("port_b_pullups(true);"));
    }

    void deviceList()
    {
        const QStringList d = pinDevices();
        QCOMPARE(d.size(), 15);
        QCOMPARE(d, QStringList({"All Pins", "PIC12------------", "PIC16------------", "PIC16C73", "PIC16C74",
                                 "PIC16F873", "PIC16F876", "PIC16F877", "PIC18------------", "PIC18F242",
                                 "PIC18F252", "PIC18F442", "PIC18F452", "PIC18F6520", "PIC18F6620"}));
    }

    void devicePins_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("enabled"); // ranges of entries
        QTest::newRow("all") << "All Pins" << "0-79";
        QTest::newRow("heading") << "PIC18------------" << "0-79";
        QTest::newRow("28 pin") << "PIC18F252" << "0-5,8-23";
        QTest::newRow("40 pin") << "PIC16F877" << "0-5,8-34";
        QTest::newRow("64 pin") << "PIC18F6620" << "0-5,8-52";
        QTest::newRow("unknown") << "PIC99" << "0-79";
    }
    void devicePins()
    {
        QFETCH(QString, device);
        QFETCH(QString, enabled);
        QList<bool> expect(80, false);
        for (const QString& r : enabled.split(',')) {
            const QStringList ab = r.split('-');
            for (int k = ab[0].toInt(); k <= ab[1].toInt(); ++k)
                expect[k] = true;
        }
        for (int k = 0; k < 80; ++k)
            QCOMPARE(devicePin(device, k), expect[k]);
    }

    void pinFileRoundTrip()
    {
        PinTable t;
        t.entry[3].direction = "O";
        t.entry[9].data = "1";
        t.entry[10].name = QString("A") + QChar(17) + "B\rC";
        t.entry[79].comment = QString("x\ny") + QChar(17) + QChar(0xE9);
        t.mode[4] = PinTable::Standard;
        const QByteArray bytes = pinFile("PIC16F877", t);
        QVERIFY(bytes.startsWith("PIC16F877\r\n"));
        QCOMPARE(bytes.count("\r\n"), 6);
        QVERIFY(bytes.endsWith("1\x11" "0\x11" "0\x11" "1\x11" "0\x11" "0\r\n"));
        QVERIFY(bytes.contains("x y \xE9\r\n"));
        const QStringList lines = QString::fromLatin1(bytes).split("\r\n").mid(0, 6);
        const PinFileData d = readPinFile(lines);
        QVERIFY(d.complete);
        QCOMPARE(d.device, QString("PIC16F877"));
        QCOMPARE(d.table.entry[3].direction, QString("O"));
        QCOMPARE(d.table.entry[9].data, QString("1"));
        QCOMPARE(d.table.entry[10].name, QString("A B C"));
        QCOMPARE(d.table.entry[79].comment, QString("x y ") + QChar(0xE9));
        QCOMPARE(d.table.mode[4], int(PinTable::Standard));
        QCOMPARE(d.table.mode[3], int(PinTable::Fast));
    }

    void damagedPinFile_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("dir0");
        QTest::addColumn<QString>("name1");
        QTest::addColumn<int>("mode0");
        const QString s(QChar(17));
        const QString all30 = QStringList(30, "0").join(s);
        QTest::newRow("empty") << QStringList() << false << "I" << "" << 0;
        QTest::newRow("device only") << QStringList{"All Pins"} << false << "I" << "" << 0;
        QTest::newRow("short lines") << QStringList{"x", "O" + s + "I", "1", "a" + s + "0123456789ABCDEF", "", "0" + s + "1"}
                                     << false << "O" << "0123456789AB" << 1;
        QTest::newRow("no separators") << QStringList{"x", "OOO", "111", "name", "c", "010"} << false << "I" << ""
                                       << 0;
        QTest::newRow("all modes clear") << QStringList{"x", QStringList(80, "I").join(s), QStringList(80, "0").join(s),
                                                         QStringList(80, "n").join(s), QStringList(80, "").join(s), all30}
                                         << true << "I" << "n" << 0;
        QTest::newRow("fixed only") << QStringList{"x", QStringList(80, "O").join(s), QStringList(80, "0").join(s),
                                                    QStringList(80, "").join(s), QStringList(80, "").join(s),
                                                    "0" + s + "1" + s + "0" + s + all30.mid(6)}
                                    << true << "O" << "" << 1;
        QTest::newRow("binary") << QStringList{QString::fromLatin1("\x01\xff\x00", 3), "\x11\x11\x11"} << false << ""
                                << "" << 0;
    }
    void damagedPinFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, complete);
        QFETCH(QString, dir0);
        QFETCH(QString, name1);
        QFETCH(int, mode0);
        const PinFileData d = readPinFile(lines);
        QCOMPARE(d.complete, complete);
        if (!dir0.isEmpty())
            QCOMPARE(d.table.entry[0].direction, dir0);
        QCOMPARE(d.table.entry[1].name, name1);
        QCOMPARE(d.table.mode[0], mode0);
        for (const PinEntry& e : d.table.entry) {
            QVERIFY(e.direction == "I" || e.direction == "O");
            QVERIFY(e.data == "0" || e.data == "1");
            QVERIFY(e.name.size() <= 12);
        }
        for (int m : d.table.mode)
            QVERIFY(m >= 0 && m <= 2);
    }
};

VOLTARIS_TEST(TestPicPinTable);
#include "test_picpintable.moc"
