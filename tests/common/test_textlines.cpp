#include "support/paceratio.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/coredata.h"
#include "common/files.h"
#include "common/textlines.h"
#include "common/timeslice.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(TextLines::Status)

class TestTextLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed, empty lines kept") << QByteArray("a\r\r\nb\n\nc\r") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("last line without end") << QByteArray("a\r\nlast") << QStringList{"a", "last"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("one end only") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("Latin-1") << QByteArray("\xb5V \xe9t\xe9\n") << QStringList{QString::fromUtf8("µV été")};
        QTest::newRow("binary") << QByteArray("\x00\xff\r\x01\n\x7f", 6)
                                << QStringList{QString(QChar(0)) + QChar(0xff), QString(QChar(1)), QString(QChar(0x7f))};
        // The form is one for the whole file, whatever the blocks: a byte
        // that is no UTF-8 at the end makes the first line Latin-1 too.
        QTest::newRow("UTF-8") << QByteArray("\xc3\xa9t\xc3\xa9\r\n\xce\xa9 \xf0\x9f\x98\x80")
                               << QStringList{QString::fromUtf8("été"), QString::fromUtf8("Ω 😀")};
        QTest::newRow("UTF-8, then a stray byte") << QByteArray("\xc3\xa9\nx\xff")
                                                  << QStringList{QString::fromLatin1("\xc3\xa9"), QString::fromLatin1("x\xff")};
        QTest::newRow("cut character at the end") << QByteArray("\xc3\xa9\n\xe2\x82")
                                                  << QStringList{QString::fromLatin1("\xc3\xa9"), QString::fromLatin1("\xe2\x82")};
        QTest::newRow("byte-order mark dropped") << QByteArray("\xef\xbb\xbf\xce\xa9\nb") << QStringList{QString::fromUtf8("Ω"), "b"};
        QTest::newRow("mark, then Latin-1") << QByteArray("\xef\xbb\xbf\xe9\n") << QStringList{QString::fromUtf8("é")};
        QTest::newRow("second mark is text") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf" "a")
                                             << QStringList{QString(QChar(0xfeff)) + u'a'};
    }
    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const TextLines t = readTextLines(writeFile(dir.filePath("f.txt"), bytes), 1024);
        QCOMPARE(t.status, TextLines::Ok);
        QVERIFY(t.ok());
        QCOMPARE(t.lines, lines);
        QCOMPARE(splitTextLines(bytes), lines);
        // Read a block at a time: a line end split between two blocks
        // (CR in one, LF in the next) is still one end. The first pass
        // hands over every byte, a mark included, also those after the
        // form is settled.
        const QByteArray mark = bytes.startsWith("\xef\xbb\xbf") ? bytes.first(3) : QByteArray();
        for (qsizetype block : {1, 2, 3, 1024}) {
            TextLineReader in(dir.filePath("f.txt"), 1024, block);
            TimeSlicer slicer;
            QByteArray seen;
            QVERIFY(in.prepare(slicer, [&seen](const QByteArray& b) { seen += b; }));
            QCOMPARE(seen, bytes);
            QCOMPARE(in.mark(), mark);
            QStringList got;
            QString line;
            while (in.next(line))
                got << line;
            QCOMPARE(in.status(), TextLines::Ok);
            QCOMPARE(got, lines);
            QCOMPARE(in.bytesRead(), qint64(bytes.size()));
        }
    }

    void sizeCap_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("cap");
        QTest::addColumn<QStringList>("firstPart");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("line cut at the cap") << QByteArray("0123\r\n6789\r\n") << qint64(8) << QStringList{"0123"} << false;
        QTest::newRow("cap between CR and LF") << QByteArray("0123\r\n6789\r\n") << qint64(5) << QStringList{"0123"}
                                               << false;
        QTest::newRow("no line end within the cap") << QByteArray("0123\r\n") << qint64(3) << QStringList{} << false;
        QTest::newRow("nothing allowed") << QByteArray("0123\r\n") << qint64(0) << QStringList{} << false;
        // The cap falls inside the second character of the last line: the
        // part left is still UTF-8.
        QTest::newRow("character cut at the cap") << QByteArray("\xc3\xa9\n\xce\xa9\xce\xa9\n") << qint64(6)
                                                  << QStringList{QString::fromUtf8("é")} << true;
    }
    void sizeCap()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, cap);
        QFETCH(QStringList, firstPart);
        QFETCH(bool, utf8);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("f.txt"), bytes);
        QCOMPARE(readTextLines(path, bytes.size()).status, TextLines::Ok);
        QCOMPARE(readTextLines(path, bytes.size(), TextLines::NoLines).status, TextLines::Ok);
        const TextLines over = readTextLines(path, cap);
        QCOMPARE(over.status, TextLines::TooLarge);
        QVERIFY(!over.ok());
        QCOMPARE(over.lines, firstPart);
        QCOMPARE(over.utf8, utf8);
        const TextLines refused = readTextLines(path, cap, TextLines::NoLines);
        QCOMPARE(refused.status, TextLines::TooLarge);
        QVERIFY(refused.lines.isEmpty());
        // Read a block at a time, a file over the cap gives no line at all.
        TextLineReader in(path, cap, 4);
        QString line;
        QVERIFY(!in.next(line));
        QCOMPARE(in.status(), TextLines::TooLarge);
    }

    void notARegularFile()
    {
        QTemporaryDir dir;
        QCOMPARE(readTextLines(dir.filePath("none.txt"), 100).status, TextLines::Missing);
        QCOMPARE(readTextLines(QString(), 100).status, TextLines::Missing);
        QCOMPARE(readTextLines(dir.path(), 100).status, TextLines::Missing);
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer t;
        t.start();
        const TextLines f = readTextLines(fifo, 100); // no writer: must not wait for one
        QCOMPARE(f.status, TextLines::Missing);
        QVERIFY(f.lines.isEmpty());
        QVERIFY(t.elapsed() < 2000);
        QCOMPARE(readTextLines("/dev/zero", 100).status, TextLines::Missing);
        for (const QString& odd : {fifo, QStringLiteral("/dev/zero"), dir.path()}) {
            TextLineReader in(odd, 100);
            QString line;
            QVERIFY(!in.next(line));
            QCOMPARE(in.status(), TextLines::Missing);
        }
    }

    void unreadable()
    {
        // A regular file whose reading fails, root included.
        QCOMPARE(readTextLines("/proc/self/mem", 100).status, TextLines::Unreadable);
        if (::geteuid() == 0)
            return; // root reads files marked unreadable
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("f.txt"), "secret\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        const TextLines t = readTextLines(path, 100);
        QCOMPARE(t.status, TextLines::Unreadable);
        QVERIFY(t.lines.isEmpty());
    }

    // The settings lines and the core table read through it: a FIFO in the
    // file's place neither hangs them nor counts as data.
    void readersOnAFifo()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QStringList lines(101, QStringLiteral("old"));
        filelines("load", fifo, lines); // read as missing: no wait, no error
        QCOMPARE(lines[3], QStringLiteral("old"));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        CoreTable table(fifo);
        table.ensureLoaded();
        QCOMPARE(table.count(), 0);
    }

    // One line far longer than a block costs in proportion to its length:
    // read in 4 KiB blocks, a line eight times as long costs about eight
    // times as much, not sixty-four. Against a gauge fed in turns with the
    // reading, so a busy machine does not count.
    void longLineCostsItsLength()
    {
        QTemporaryDir dir;
        auto file = [&](qsizetype bytes) {
            return writeFile(dir.filePath(QStringLiteral("line%1.txt").arg(bytes)), QByteArray(bytes, 'x') + "\r\nend\r\n");
        };
        PaceGauge gauge(nullptr, QFont());
        auto reading = [](const QString& path, qsizetype bytes) {
            return [path, bytes](int) {
                TextLineReader in(path, 64 * 1024 * 1024, 4096);
                QString line;
                QVERIFY(in.next(line));
                QCOMPARE(line.size(), bytes);
                QVERIFY(in.next(line));
                QCOMPARE(line, QStringLiteral("end"));
            };
        };
        constexpr qsizetype small = 512 * 1024, large = 8 * small;
        const double shortLine = gauge.ratio(reading(file(small), small), 500, 100);
        const double longLine = gauge.ratio(reading(file(large), large), 500, 100);
        const double growth = longLine / shortLine / 8;
        QVERIFY2(growth <= 2, qPrintable(QStringLiteral("a line 8 times as long cost %1 times as much per byte "
                                                        "(%2 ms against %3 ms of gauge)")
                                             .arg(growth)
                                             .arg(gauge.workMs())
                                             .arg(gauge.gaugeMs())));
    }
};

VOLTARIS_TEST(TestTextLines);
#include "test_textlines.moc"
