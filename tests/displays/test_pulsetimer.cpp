// The USB FIFO pulse position timer: its time-stamp codec and capture
// lines, and the window against a simulated board behind the fake FIFO.

#include "pulseboard.h"

#include "support/alertsink.h"
#include "support/loopgaps.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/formbuilder.h"
#include "common/pacing.h"
#include "displays/ctrl_8546_pulsetimer.h"
#include "displays/pulsestamps.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

QByteArray hexBytes(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// n stamps 1 ms apart, from count 0.
QByteArray train(int n)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(n) * 6);
    for (int i = 0; i < n; ++i)
        bytes += PulseBoard::stamp(uint64_t(i) * 10000);
    return bytes;
}

struct Bench {
    explicit Bench(std::vector<FakeFifo::Device> devices = {{"FT245R USB FIFO", "PT8546"}})
    {
        board->devices = std::move(devices);
        board->trainLength = 0;
        setFifoBackend(std::unique_ptr<FifoBackend>(board));
        w.load();
        w.show();
        // The poll is driven by hand: its timer, which runs while a device
        // is open, waits an hour between ticks.
        timer()->setInterval(3600 * 1000);
        capturefile()->setText(folders.workFile("Capture.csv"));
    }
    ~Bench()
    {
        if (w.isLoaded())
            w.unload();
        setFifoBackend(nullptr);
    }
    QTimer* timer() const { return w.form()->findChild<QTimer*>("Timer1"); }
    // The poll at the board's own pace.
    void pollAtSpeed() const { timer()->setInterval(1); timer()->stop(); timer()->start(); }
    QListWidget* list() const { return w.form()->findChild<QListWidget*>("list_fifos_list"); }
    QStringList items() const
    {
        QStringList s;
        for (int i = 0; i < list()->count(); ++i)
            s << list()->item(i)->text();
        return s;
    }
    QPushButton* cmmd(int i) const { return w.form()->findChild<QPushButton*>(arrayName("cmmd", i)); }
    void click(int i) const { QTest::mouseClick(cmmd(i), Qt::LeftButton); }
    QCheckBox* check(const char* name) const { return w.form()->findChild<QCheckBox*>(name); }
    QLineEdit* capturefile() const { return w.form()->findChild<QLineEdit*>("capturefile"); }
    QString shown(const char* name) const { return w.form()->findChild<QLineEdit*>(name)->text(); }
    QStringList display() const { return {shown("pulsetimer"), shown("pulsecounter")}; }
    void arrive(const QByteArray& bytes) const { board->incoming += bytes; }
    void tick() { w.Timer1_Timer(); }
    // Opens the board and starts it, recording or not.
    void run(bool record)
    {
        list()->setCurrentRow(1);
        check("recorder")->setChecked(record);
        click(0);
    }
    // Recording, with "Diag" holding back a backlog of n stamps, all of
    // them taken into the receive buffer.
    void holdBacklog(int n)
    {
        run(true);
        check("diag")->setChecked(true);
        arrive(train(n));
        for (int i = 0; i < 1000 && w.receiveBuffer().size() < n * 6; ++i)
            tick();
    }
    QByteArray csv() const { return readFile(folders.workFile("Capture.csv")); }

    TempFolders folders;
    PulseBoard* board = new PulseBoard; // owned by the FIFO module
    Ctrl_8546_pulsetimer& w = FormSlots::get<Ctrl_8546_pulsetimer>();
};

} // namespace

class PulseTimerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stamps_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown"); // interval, count, csv per stamp
        QTest::newRow("one second") << hexBytes("000000989680 0000 01312D00")
                                    << QStringList{"0.0000000", "1", "1,0,0,0", "1.0000000", "2", "2,1.0000000, 1, 1"};
        QTest::newRow("1 ms") << hexBytes("000000000000 000000002710 000000004E20")
                              << QStringList{"0.0000000", "1", "1,0,0,0", "0.0010000", "2", "2,0.0010000, .001, 1000",
                                             "0.0010000", "3", "3,0.0010000, .002, 1000"};
        QTest::newRow("equal counts") << hexBytes("000000000064 000000000064")
                                      << QStringList{"0.0000000", "1", "1,0,0,0", "0.0000000", "2", "1,0,0,0"};
        // The counter wraps: the interval is still one second.
        QTest::newRow("wrap") << hexBytes("FFFFFFB3B4C0 0000004C4B40")
                              << QStringList{"0.0000000", "1", "1,0,0,0", "1.0000000", "2", "2,1.0000000, 1, 1"};
        QTest::newRow("largest") << hexBytes("000000000000 FFFFFFFFFFFF")
                                 << QStringList{"0.0000000", "1", "1,0,0,0", "28147497.6710655", "2",
                                                "2,28147497.6710655, 28147497.6710655, 3.55271367880051E-08"};
        QTest::newRow("one count") << hexBytes("000000000005 000000000006")
                                   << QStringList{"0.0000000", "1", "1,0,0,0", "0.0000001", "2",
                                                  "2,0.0000001, 1E-07, 10000000"};
    }
    void stamps()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        PulseStamps track;
        QString buffer = QString::fromLatin1(bytes);
        QStringList got;
        while (auto s = track.next(buffer))
            got << s->interval << s->count << s->csv;
        QCOMPARE(got, shown);
        QVERIFY(buffer.isEmpty());
    }

    void listing()
    {
        {
            Bench b;
            QCOMPARE(b.items(), (QStringList{"Select", "[  0] FT245R USB FIFO/PT8546"}));
            QCOMPARE(b.list()->currentRow(), 0);
            QVERIFY(!ftisopen());
            b.board->calls.clear();
            b.list()->setCurrentRow(1);
            b.board->calls.removeAll("description");
            b.board->calls.removeAll("serial");
            QCOMPARE(b.board->calls, (QStringList{"open 0", "flow", "latency 1", "usb 63448 4096", "purge"}));
            b.list()->setCurrentRow(0);
            QVERIFY(!ftisopen());
            QCOMPARE(b.board->calls.last(), QStringLiteral("close"));
        }
        {
            Bench b(std::vector<FakeFifo::Device>{});
            QCOMPARE(b.items(), QStringList{"Select"});
        }
        // An unreadable device leaves no item; the next one keeps its index.
        {
            FakeFifo::Device hidden{"FT245R USB FIFO", "X1"};
            hidden.unreadable = true;
            Bench b({hidden, {"FT245R USB FIFO", "PT8546"}, {"FT245R USB FIFO", "PT9999"}});
            QCOMPARE(b.items(), (QStringList{"Select", "[  1] FT245R USB FIFO/PT8546", "[  2] FT245R USB FIFO/PT9999"}));
            b.list()->setCurrentRow(1);
            QCOMPARE(b.board->opened, 1);
            QCOMPARE(ftdevtext(), QStringLiteral("FT245R USB FIFO/PT8546"));
        }
    }

    void commands()
    {
        Bench b;
        b.board->trainLength = 2;
        b.board->incoming = "stale";
        b.run(false);
        // Purged before "T": what is queued now is the train that "T" asked for.
        QCOMPARE(b.board->written, QByteArray("T"));
        QCOMPARE(b.board->incoming, PulseBoard::stamp(10000000) + PulseBoard::stamp(10010000));
        QVERIFY(!b.cmmd(0)->isEnabled());
        QVERIFY(b.cmmd(1)->isEnabled());
        QVERIFY(!b.check("recorder")->isEnabled());
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0010000", "2"}));
        b.click(1);
        QCOMPARE(b.board->written, QByteArray("Tx"));
        QVERIFY(b.cmmd(0)->isEnabled());
        QVERIFY(!b.cmmd(1)->isEnabled());
        QVERIFY(b.check("recorder")->isEnabled());

        b.arrive("abc");
        b.tick();
        QCOMPARE(b.w.receiveBuffer(), QStringLiteral("abc"));
        b.click(3);
        QCOMPARE(b.board->written, QByteArray("Tx!"));
        QVERIFY(b.w.receiveBuffer().isEmpty());
        b.click(4); // no action
        QCOMPARE(b.board->written, QByteArray("Tx!"));
        b.tick();
        QVERIFY(b.w.receiveBuffer().size() > 0);
        b.click(2);
        QVERIFY(b.w.receiveBuffer().isEmpty());
    }

    // The worked example, recorded; odd byte counts wait for their sixth.
    void decodeAndRecord()
    {
        Bench b;
        b.run(true);
        QCOMPARE(b.display(), (QStringList{"---", "---"}));
        b.arrive(hexBytes("00 00 00 98 96"));
        b.tick();
        QCOMPARE(b.display(), (QStringList{"---", "---"}));
        b.arrive(hexBytes("80"));
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0000000", "1"}));
        b.arrive(hexBytes("00 00 01 31 2D 00 00"));
        b.tick();
        QCOMPARE(b.display(), (QStringList{"1.0000000", "2"}));
        QCOMPARE(b.w.receiveBuffer().size(), 1);
        // Lines are in the file as soon as they are decoded.
        QCOMPARE(b.csv(), QByteArray("1,0,0,0\r\n2,1.0000000, 1, 1\r\n"));
        b.click(1);
        QVERIFY(!b.w.recording());
        QCOMPARE(b.csv(), QByteArray("1,0,0,0\r\n2,1.0000000, 1, 1\r\n"));
    }

    void diagShowsTheBacklog()
    {
        Bench b;
        b.run(true);
        b.arrive(PulseBoard::stamp(100) + PulseBoard::stamp(200) + "xyz");
        b.check("diag")->setChecked(true);
        b.tick();
        QCOMPARE(b.shown("pulsetimer"), QStringLiteral("15"));
        QCOMPARE(b.shown("pulsecounter"), QStringLiteral("---"));
        QCOMPARE(b.csv(), QByteArray());
        // The first pulse is still the first, whatever "Diag" showed.
        b.check("diag")->setChecked(false);
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0000100", "2"}));
        QCOMPARE(b.csv(), QByteArray("1,0,0,0\r\n2,0.0000100, 1E-05, 100000\r\n"));
    }

    // Every complete stamp is decoded at each tick, in order; Stop takes in
    // what has arrived before the file closes; later stamps are shown only.
    void backlogAndStop()
    {
        Bench b;
        b.run(true);
        QByteArray burst;
        for (int i = 0; i < 10; ++i)
            burst += PulseBoard::stamp(uint64_t(i) * 10000);
        b.arrive(burst);
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0010000", "10"}));
        QList<QByteArray> lines = b.csv().split('\n');
        QCOMPARE(lines.size(), 11);
        for (int i = 1; i < 10; ++i)
            QVERIFY2(lines[i].startsWith(QByteArray::number(i + 1) + ",0.0010000, "), lines[i]);
        b.arrive(PulseBoard::stamp(100000) + PulseBoard::stamp(110000));
        b.click(1);
        QCOMPARE(b.display(), (QStringList{"0.0010000", "12"}));
        const QByteArray atStop = b.csv();
        QVERIFY(atStop.endsWith("12,0.0010000, .011, 1000\r\n"));
        b.arrive(PulseBoard::stamp(120000));
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0010000", "13"}));
        QCOMPARE(b.csv(), atStop);
    }

    void captureFileRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << QString();
        QTest::newRow("missing folder") << QStringLiteral("nofolder/deeper/Capture.csv");
        QTest::newRow("a folder") << QStringLiteral(".");
    }
    void captureFileRefused()
    {
        QFETCH(QString, path);
        Bench b;
        const QString full = path.isEmpty() ? path : QDir(b.folders.work()).filePath(path);
        b.capturefile()->setText(full);
        AlertSink alerts;
        b.run(true);
        QTRY_COMPARE(alerts.titles, QStringList{"Capture file error"});
        QVERIFY(alerts.texts[0].contains(full));
        QVERIFY(b.cmmd(0)->isEnabled());
        QVERIFY(!b.cmmd(1)->isEnabled());
        QVERIFY(b.check("recorder")->isEnabled());
        QCOMPARE(b.board->written, QByteArray());
        QVERIFY(!b.w.recording());
    }

    // A capture file that stops taking lines (here: the file size limit
    // reached) gives one alert and recording stops; the pulses go on.
    void captureWriteFails()
    {
        Bench b;
        b.run(true);
        AlertSink alerts;
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 40;
        setrlimit(RLIMIT_FSIZE, &small);
        for (int i = 0; i < 6; ++i)
            b.arrive(PulseBoard::stamp(uint64_t(i) * 10000));
        b.tick();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(b.display(), (QStringList{"0.0010000", "6"}));
        QVERIFY(!b.w.recording());
        QTRY_COMPARE(alerts.titles, QStringList{"Capture file error"});
        b.arrive(PulseBoard::stamp(60000));
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0010000", "7"}));
        QTest::qWait(50);
        QCOMPARE(alerts.titles.size(), 1);
        // The lines written before the failure are whole.
        QVERIFY(b.csv().startsWith("1,0,0,0\r\n2,0.0010000, .001, 1000\r\n"));
        QVERIFY(b.csv().size() <= 40);
    }

    void failingReads()
    {
        Bench b;
        b.run(false);
        b.board->readStatus = ftstat::IoError;
        b.arrive(PulseBoard::stamp(5) + PulseBoard::stamp(10));
        for (int i = 0; i < 3; ++i)
            b.tick();
        QCOMPARE(b.display(), (QStringList{"---", "---"}));
        QVERIFY(b.w.receiveBuffer().isEmpty());
        b.board->readStatus = ftstat::OK;
        b.tick();
        QCOMPARE(b.display(), (QStringList{"0.0000005", "2"}));
    }

    void closingWhileRunning()
    {
        Bench b;
        b.run(true);
        b.arrive(PulseBoard::stamp(1) + PulseBoard::stamp(2) + PulseBoard::stamp(3));
        b.tick();
        b.w.unload();
        QCOMPARE(b.board->calls.last(), QStringLiteral("close"));
        QVERIFY(!ftisopen());
        QVERIFY(!b.w.recording());
        QCOMPARE(b.csv().count('\n'), 3);
    }

    // The poll's timer reads and decodes on its own.
    void timerPolls()
    {
        Bench b;
        b.board->trainLength = 50;
        b.run(true);
        b.pollAtSpeed();
        QTRY_COMPARE(b.shown("pulsecounter"), QStringLiteral("50"));
        b.click(1);
        QCOMPARE(b.csv().count('\n'), 50);
    }

    // The 1 ms poll runs only while a device is open (or stamps wait to be
    // decoded); with no device it does not wake the program at all.
    void pollQuietWithoutDevice()
    {
        auto* board = new PulseBoard;
        setFifoBackend(std::unique_ptr<FifoBackend>(board));
        auto& w = FormSlots::get<Ctrl_8546_pulsetimer>();
        w.load();
        auto* timer = w.form()->findChild<QTimer*>("Timer1");
        QVERIFY(!timer->isActive());
        auto* list = w.form()->findChild<QListWidget*>("list_fifos_list");
        list->setCurrentRow(1);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1);
        list->setCurrentRow(0);
        QVERIFY(!timer->isActive());
        w.unload();
        setFifoBackend(nullptr);
    }

    // A backlog held back by "Diag" is decoded a slice per tick once
    // "Diag" is unticked: no tick holds the window, and every pulse is
    // recorded in order.
    void backlogDecodedInSlices()
    {
        const int n = 100000;
        std::optional<Bench> bench;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            bench.reset();
            Bench& b = bench.emplace();
            b.holdBacklog(n);
            QCOMPARE(b.shown("pulsetimer"), QString::number(n * 6));
            b.pollAtSpeed();
            gaps.restart();
            b.check("diag")->setChecked(false);
            QTRY_COMPARE_WITH_TIMEOUT(b.shown("pulsecounter"), QString::number(n), 60000);
            gaps.stop();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        Bench& b = *bench;
        b.click(1);
        const QList<QByteArray> lines = b.csv().split('\n');
        QCOMPARE(lines.size(), n + 1);
        QCOMPARE(lines[n - 1], QByteArray::number(n) + ",0.0010000, " + QByteArray::number((n - 1) / 1000.0) + ", 1000\r");
    }

    // Stop writes every pulse that arrived before it, "Diag" ticked or
    // not: what the window counts while recording is in the file.
    void stopWithDiagRecordsEveryPulse()
    {
        Bench b;
        b.run(true);
        b.check("diag")->setChecked(true);
        for (int i = 0; i < 5; ++i)
            b.arrive(PulseBoard::stamp(uint64_t(i) * 10000));
        b.tick();
        b.arrive(PulseBoard::stamp(50000) + PulseBoard::stamp(60000));
        b.click(1);
        QVERIFY(!b.w.recording());
        b.check("diag")->setChecked(false);
        b.tick();
        QCOMPARE(b.shown("pulsecounter"), QStringLiteral("7"));
        const QByteArray csv = b.csv();
        QCOMPARE(csv.count('\n'), 7);
        QVERIFY(csv.endsWith("7,0.0010000, .006, 1000\r\n"));
    }

    // A large backlog at Stop is decoded in slices while the window shows
    // it is busy; Start comes back, and the file closes, after the last
    // stamp.
    void stopDecodesTheBacklogInSlices()
    {
        const int n = 100000;
        std::optional<Bench> bench;
        bool startSeen = false;
        bool busySeen = true;
        bool served = true;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            bench.reset();
            Bench& b = bench.emplace();
            b.holdBacklog(n);
            // Start and the file wait for the last stamp.
            const auto enabled = connect(b.w.form()->findChild<QLineEdit*>("pulsecounter"), &QLineEdit::textChanged, [&] {
                startSeen = startSeen || b.cmmd(0)->isEnabled() || !b.w.recording();
            });
            gaps.watchBusySign(b.w.form());
            gaps.restart();
            b.click(1);
            gaps.stop();
            disconnect(enabled);
            served = served && gaps.ticks() > 1;
            busySeen = busySeen && gaps.busySignSeen();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY(served);
        QVERIFY(busySeen);
        QVERIFY(!startSeen);
        Bench& b = *bench;
        QCOMPARE(b.w.form()->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(b.cmmd(0)->isEnabled());
        QVERIFY(!b.w.recording());
        QCOMPARE(b.shown("pulsecounter"), QString::number(n));
        QCOMPARE(b.csv().count('\n'), n);
    }

    // Closed or quit while Stop decodes: the file holds whole lines, and
    // nothing of the gone form is touched.
    void endedDuringStop_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void endedDuringStop()
    {
        QFETCH(bool, quit);
        Bench b;
        const int n = 200000;
        b.holdBacklog(n);
        EndMidway end(b.w, [&] { return b.w.stopping(); }, quit);
        b.click(1);
        QVERIFY(end.ended());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!b.w.isLoaded());
        QVERIFY(!b.w.recording());
        const QByteArray csv = b.csv();
        QVERIFY(csv.count('\n') < n);
        QVERIFY(csv.isEmpty() || csv.endsWith("\r\n"));
    }

    // A board that keeps sending garbage after "x" cannot hold Stop: what
    // came before the stop is taken in, a bounded amount, the event loop is
    // served all along, and the file closes.
    void floodingBoardCannotHoldStop()
    {
        QByteArray junk(12 << 20, '\0');
        for (qsizetype i = 0; i < junk.size(); ++i)
            junk[i] = char(i * 131 + i / 7);
        std::optional<Bench> bench;
        int ticks = 0;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            bench.reset();
            Bench& b = bench.emplace();
            b.run(false);
            b.arrive(junk);
            // The window holds back all the backlog it takes in.
            b.check("diag")->setChecked(true);
            for (int i = 0; i < 100; ++i)
                b.tick();
            b.check("diag")->setChecked(false);
            gaps.restart();
            b.click(1);
            gaps.stop();
            ticks = gaps.ticks();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY2(ticks > 0, qPrintable(QString::number(ticks)));
        Bench& b = *bench;
        QVERIFY(b.cmmd(0)->isEnabled());
        QVERIFY(b.w.receiveBuffer().size() < 6);
        QVERIFY(ftqueue() > 0);
        QVERIFY(b.shown("pulsecounter").toInt() > 0);
        QVERIFY(b.shown("pulsecounter").toInt() < junk.size() / 6);
    }

    // A board faster than the window, here with "Diag" holding the decoding
    // back: the window and the FIFO module take in a bounded backlog and
    // leave the rest in the device, and Stop ends after that backlog and a
    // bounded amount more, every stamp decoded in order.
    void floodFasterThanTheWindow()
    {
        Bench b;
        b.run(false);
        b.check("diag")->setChecked(true);
        const QByteArray flood = train(4 << 20);
        b.arrive(flood);
        for (int i = 0; i < 400; ++i)
            b.tick();
        QVERIFY2(b.w.receiveBuffer().size() < (8 << 20), qPrintable(QString::number(b.w.receiveBuffer().size())));
        QVERIFY2(ftqueue() < 2 * ftReadMax, qPrintable(QString::number(ftqueue())));
        QVERIFY(b.board->incoming.size() > flood.size() / 2);
        b.check("diag")->setChecked(false);
        b.click(1);
        QVERIFY(b.cmmd(0)->isEnabled());
        QVERIFY(b.w.receiveBuffer().isEmpty());
        const int count = b.shown("pulsecounter").toInt();
        QVERIFY(count > 0);
        QVERIFY(count < flood.size() / 6);
        QCOMPARE(b.shown("pulsetimer"), QStringLiteral("0.0010000"));
        // Nothing was lost: what was not decoded still waits in the FIFO.
        const int held = ftqueue();
        QCOMPARE(b.board->incoming.size() + held + qsizetype(count) * 6, flood.size());
    }
};

VOLTARIS_TEST(PulseTimerTest);
#include "test_pulsetimer.moc"
