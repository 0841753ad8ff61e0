#include "support/fakefifo.h"
#include "support/testmain.h"

#include "common/ft245.h"

#include <QTest>

class TestFT245 : public QObject {
    Q_OBJECT
    FakeFifo* fifo = nullptr;

private Q_SLOTS:
    void init()
    {
        fifo = new FakeFifo;
        fifo->devices = {{"FT245R USB FIFO", "A1"}, {"Pulse Timer", "B7", ftstat::DeviceNotOpened}};
        setFifoBackend(std::unique_ptr<FifoBackend>(fifo));
    }
    void cleanup() { setFifoBackend(nullptr); }

    void listing()
    {
        QCOMPARE(ftcount(), 2);
        QCOMPARE(ftlist(0), QStringLiteral("FT245R USB FIFO/A1"));
        QCOMPARE(ftlist(1), QStringLiteral("Pulse Timer/B7"));
        QCOMPARE(ftlist(5), QString());
        QCOMPARE(ftstatus(), ftstat::DeviceNotFound);
        // A description the driver fills to the brim is cut at its NUL.
        fifo->devices[0].description = QByteArray("Long\0garbage", 12);
        QCOMPARE(ftlist(0), QStringLiteral("Long/A1"));
    }

    void failedOpenBlocksReadsAndWrites()
    {
        fifo->incoming = "waiting";
        ftopen(1);
        QVERIFY(!ftisopen());
        QCOMPARE(ftstatus(), ftstat::DeviceNotOpened);
        QCOMPARE(ftdevtext(), QString());
        QCOMPARE(ftread(), QString());
        QCOMPARE(ftqueue(), 0);
        ftwrite("$0001");
        ftlatency(1);
        ftpurge();
        QCOMPARE(fifo->written, QByteArray());
        QCOMPARE(fifo->calls.filter("latency").size(), 0);
        QCOMPARE(fifo->incoming, QByteArray("waiting"));
        QCOMPARE(ftstatus(), ftstat::DeviceNotOpened);
    }

    void openAndTune()
    {
        ftopen(0);
        QVERIFY(ftisopen());
        QCOMPARE(ftdevtext(), QStringLiteral("FT245R USB FIFO/A1"));
        ftlatency(1);
        ftusbparams(63448, 4096);
        ftpurge();
        QCOMPARE(fifo->calls.mid(fifo->calls.indexOf("open 0")),
                 (QStringList{"open 0", "flow", "latency 1", "usb 63448 4096", "purge"}));
        QCOMPARE(ftstatus(), ftstat::OK);
    }

    void readSizes()
    {
        ftopen(0);
        QByteArray data(70000, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        fifo->incoming = data;
        // The module holds more than one read's worth, not the whole queue.
        QVERIFY(ftqueue() > ftReadMax);
        const QString first = ftread();
        QCOMPARE(first.size(), 65500);
        QCOMPARE(first.toLatin1(), data.left(65500));
        QCOMPARE(ftqueue(), 4500);
        QCOMPARE(ftread().toLatin1(), data.mid(65500));
        QCOMPARE(ftread(), QString());
        fifo->incoming = QByteArray(65526, 'x'); // up to the cap: all of it
        QCOMPARE(ftread().size(), 65526);
    }

    // A device that holds far more than a read: the module takes in a
    // bounded amount at a time, and every byte still comes out in order.
    void deviceFullerThanARead()
    {
        ftopen(0);
        QByteArray data(4 << 20, '\0');
        for (qsizetype i = 0; i < data.size(); ++i)
            data[i] = char(i * 13 + i / 251);
        fifo->incoming = data;
        QByteArray got;
        while (got.size() < data.size()) {
            const int held = ftqueue();
            QVERIFY2(held < 2 * ftReadMax, qPrintable(QString::number(held)));
            const QString part = ftread();
            QVERIFY(!part.isEmpty());
            QVERIFY(part.size() <= ftReadMax);
            got += part.toLatin1();
        }
        QCOMPARE(got, data);
        QCOMPARE(ftqueue(), 0);
    }

    void writesComplete()
    {
        ftopen(0);
        fifo->maxWrite = 10; // a device that takes a little at a time
        QString text;
        for (int i = 0; i < 256; ++i)
            text += QChar(i);
        ftwrite(text);
        QCOMPARE(fifo->written, text.toLatin1());
        QCOMPARE(ftstatus(), ftstat::OK);

        fifo->written.clear();
        fifo->maxWrite = 0; // stalled
        ftwrite("abc");
        QCOMPARE(ftstatus(), ftstat::IoError);
        fifo->writeStatus = ftstat::IoError;
        fifo->maxWrite = 10;
        ftwrite("abc");
        QCOMPARE(ftstatus(), ftstat::IoError);
    }

    void closeTwiceAndReopen()
    {
        ftopen(0);
        ftopen(0); // an open device is closed before opening again
        QCOMPARE(fifo->calls.filter("close").size(), 1);
        QVERIFY(ftisopen());
        ftclose();
        ftclose();
        QCOMPARE(fifo->calls.filter("close").size(), 2);
        QVERIFY(!ftisopen());
        QCOMPARE(ftdevtext(), QString());
    }

    // The real driver, whatever this machine has plugged in (or no library
    // access to USB at all): a device past the last one it counts is not
    // listed, does not open, and reads and writes nothing.
    void realDriverPastItsDevices()
    {
        setFifoBackend(nullptr);
        const int n = ftcount();
        QVERIFY(n >= 0);
        QCOMPARE(ftlist(n), QString());
        QCOMPARE(ftstatus(), ftstat::DeviceNotFound);
        ftopen(n);
        QVERIFY(!ftisopen());
        QCOMPARE(ftstatus(), ftstat::DeviceNotFound);
        QCOMPARE(ftqueue(), 0);
        QCOMPARE(ftread(), QString());
    }
};

VOLTARIS_TEST(TestFT245);
#include "test_ft245.moc"
