#include "support/boardsim.h"
#include "support/cputime.h"
#include "support/fakeport.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/alert.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/rs232_comportscanner.h"
#include "common/rs232_portscanning.h"
#include "common/serialcontroller.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <QTemporaryDir>

#include <cstring>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

// A controller window that follows the pattern and handles one reply per
// process call, as the board windows do.
class Demo_controller : public ToolWindow {
    Q_OBJECT
public:
    Demo_controller() : ToolWindow(QStringLiteral("Demo_controller"), QSize(3000, 1200)) {}

    SerialController serial{*this, [] { return QStringLiteral("115200,n,8,1"); },
                            [this](int what, const QString& text) { process(what, text); }};
    QStringList replies;
    // Hundredths of a second process pauses after each reply, as a window
    // that answers a reply with a paced command does.
    int pauseAfterReply = 0;

    QComboBox* portselect() const { return controls<Ui>() ? controls<Ui>()->portselect : nullptr; }
    // Chooses a port in the selector, as the user does.
    bool choose(const QString& name)
    {
        const int i = portselect()->findText(name);
        if (i < 0)
            return false;
        portselect()->setCurrentIndex(i);
        return true;
    }

protected:
    void build(QWidget* form) override
    {
        auto* ui = makeControls<Ui>();
        ui->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 120, 120, 2700, 315);
        serial.attach(ui->portselect);
    }
    void onLoad() override
    {
        replies.clear();
        serial.load();
    }
    void onUnload() override { serial.unload(); }

private:
    struct Ui : Controls {
        QComboBox* portselect = nullptr;
    };
    void process(int what, const QString&)
    {
        if (what != 255)
            return;
        const QString frame = serial.nextReply();
        if (frame.isEmpty())
            return;
        replies << frame;
        if (pauseAfterReply)
            delay(pauseAfterReply);
    }
};

namespace {
const QString CR(QChar(13));
} // namespace

class TestSerialController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        FormSlots::get<Demo_controller>().unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }

    void commandBytesArriveAsSent()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        BoardSimulator sim(pty);
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        QVERIFY(w.choose(pty.path()));
        QCOMPARE(w.serial.portopen, -1);
        w.serial.comwrite("$0014" + CR, 0);
        w.serial.comwrite("$001501FF" + CR, 1);
        QTRY_COMPARE(sim.received(), QByteArray("$0014\r$001501FF\r"));
        QCOMPARE(sim.commands(), (QStringList{"$0014", "$001501FF"}));
    }

    void repliesProcessedOnce_data()
    {
        QTest::addColumn<int>("split");
        QTest::addColumn<bool>("merge");
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("plain") << 0 << false << QByteArray();
        QTest::newRow("split in 3-byte writes") << 3 << false << QByteArray();
        QTest::newRow("split in single bytes") << 1 << false << QByteArray();
        // Three replies in one read: all are handled without waiting for
        // more bytes.
        QTest::newRow("merged") << 0 << true << QByteArray();
        QTest::newRow("garbled") << 0 << false << QByteArray("zz\r#");
        QTest::newRow("garbled, merged, split") << 4 << true << QByteArray("\x80q\r");
    }
    void repliesProcessedOnce()
    {
        QFETCH(int, split);
        QFETCH(bool, merge);
        QFETCH(QByteArray, garbage);
        PtyPair pty;
        BoardSimulator sim(pty);
        sim.script("0014", {BoardSimulator::boardReply("0014", {"1", "2"}), BoardSimulator::boardReply("0015"),
                            BoardSimulator::boardReply("00F0", {"FFFF"})});
        sim.setSplit(split);
        sim.setMerge(merge);
        sim.setGarbage(garbage);
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        QVERIFY(w.choose(pty.path()));
        w.serial.comwrite("$0014" + CR, 0);
        const QStringList expected{"0014,1,2", "0015", "00F0,FFFF"};
        QTRY_COMPARE(w.replies, expected);
        QTest::qWait(30);
        QCOMPARE(w.replies, expected);
        QCOMPARE(w.serial.ReceiveBuffer, QString());
    }

    // A reply that arrives while process pauses after the previous one is
    // handled when the pause ends, not when the board next says something.
    void replyDuringPause()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        QVERIFY(w.choose(pty.path()));
        w.pauseAfterReply = 15;
        sim.send("!0001\r");
        QTimer::singleShot(50, &sim, [&] { sim.send("!0002\r"); });
        QTRY_COMPARE_WITH_TIMEOUT(w.replies, (QStringList{"0001", "0002"}), 1000);
        w.pauseAfterReply = 0;
    }

    // The meter windows' framing: no start mark, CR LF ends both ways.
    void meterLines()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        sim.setLineEnd("\r\n");
        sim.setMerge(true);
        sim.script("READ?", {"+1.234E+00\r\n", "\r\n", "+5.0E-01\r\n"});
        auto& w = FormSlots::get<Demo_controller>();
        w.serial.setFraming(QString(), QStringLiteral("\r\n"));
        w.load();
        QVERIFY(w.choose(pty.path()));
        w.serial.comwrite(QStringLiteral("READ?\r\n"), 0);
        QTRY_COMPARE(w.replies, (QStringList{"+1.234E+00", "+5.0E-01"}));
        QCOMPARE(sim.commands(), QStringList{"READ?"});
        w.serial.setFraming(QStringLiteral("!"), CR);
    }

    // A device that never sends an end mark costs at most 64 KiB: the
    // oldest bytes go, and the reply after the flood is still handled. Both
    // framings: the board windows' (framer on every data event) and the
    // meter windows' (framer only once an end mark is there).
    void floodWithoutEndMark_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("board replies") << QStringLiteral("!") << CR;
        QTest::newRow("meter lines") << QString() << QStringLiteral("\r\n");
    }
    void floodWithoutEndMark()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        PtyPair pty;
        BoardSimulator sim(pty);
        auto& w = FormSlots::get<Demo_controller>();
        w.serial.setFraming(start, end);
        w.load();
        QVERIFY(w.choose(pty.path()));
        qsizetype largest = 0;
        w.on(&w.serial.rs232, &PortController::dataArrived, [&] { largest = qMax(largest, w.serial.ReceiveBuffer.size()); });
        QByteArray flood; // no start mark either: framing keeps it all
        for (int i = 0; flood.size() < 300 * 1024; ++i)
            flood += QByteArray::number(i) + ' ';
        const QByteArray tail = flood.right(100);
        sim.send(flood);
        QTRY_VERIFY_WITH_TIMEOUT(sim.pending() == 0 && w.serial.ReceiveBuffer.endsWith(QString::fromLatin1(tail)), 10000);
        QCOMPARE(w.serial.ReceiveBuffer.size(), receiveBufferLimit);
        QVERIFY(largest <= receiveBufferLimit);
        QVERIFY(w.replies.isEmpty());
        sim.send((start + QStringLiteral("0014,9") + end).toLatin1());
        QTRY_VERIFY(!w.replies.isEmpty());
        QVERIFY(w.replies.last().endsWith(QStringLiteral("0014,9")));
        w.serial.setFraming(QStringLiteral("!"), CR);
    }

    void noPortSendsNothing()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        QCOMPARE(w.portselect()->currentText(), QStringLiteral("Select"));
        ModalAnswer a("Command1_0");
        w.serial.comwrite("$0014" + CR, 0);
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Serial port error"));
        QCOMPARE(a.text(), QStringLiteral("Please select an active serial port before attepmting to comunicate with "
                                          "your peripheral device!"));
        QTest::qWait(30);
        QCOMPARE(sim.received(), QByteArray());
        QCOMPARE(w.serial.portopen, 0);
    }

    // The board disappears: one alert that says the port, by name, was
    // lost, the no-port state, a quiet CPU, and a window that works again
    // on the next port.
    void vanishingBoard()
    {
        auto& w = FormSlots::get<Demo_controller>();
        {
            PtyPair pty;
            BoardSimulator sim(pty);
            w.load();
            QVERIFY(w.choose(pty.path()));
            QCOMPARE(w.serial.lostPort(), QString());
            const int beeps = beepCount();
            ModalAnswer a("Command1_0");
            sim.vanish();
            QTRY_VERIFY(a.answered());
            QCOMPARE(a.title(), QStringLiteral("Com port error"));
            QVERIFY(a.text().startsWith(QStringLiteral("Error Code: ")));
            QVERIFY2(a.text().contains(QStringLiteral("The port %1 was lost").arg(pty.path())), qPrintable(a.text()));
            QVERIFY(!a.text().contains(QStringLiteral("ioctl")));
            QCOMPARE(w.serial.lostPort(), pty.path());
            QVERIFY(!w.serial.rs232.isOpen());
            QCOMPARE(w.serial.portopen, 0);
            QCOMPARE(w.portselect()->currentIndex(), 0);

            {
                ModalAnswer second("Command1_0", 300);
                const double cpu0 = cpuSeconds();
                QTest::qWait(300);
                const double cpu = cpuSeconds() - cpu0;
                QVERIFY(!second.answered());
                QCOMPARE(beepCount() - beeps, 1);
                QVERIFY2(cpu < 0.1, qPrintable(QString::number(cpu)));
            }

            // Choosing the gone port again says it is not there, by name.
            ModalAnswer reopen("Command1_0");
            QVERIFY(w.choose(pty.path()));
            QVERIFY(reopen.answered());
            QCOMPARE(reopen.title(), QStringLiteral("Com port open error"));
            QVERIFY2(reopen.text().contains(pty.path()) && reopen.text().contains(QStringLiteral("not there")),
                     qPrintable(reopen.text()));
            QCOMPARE(w.serial.portopen, 0);
        }
        PtyPair pty2;
        BoardSimulator sim2(pty2);
        sim2.script("0014", {BoardSimulator::boardReply("0014", {"9"})});
        w.unload();
        w.load();
        QVERIFY(w.choose(pty2.path()));
        w.serial.comwrite("$0014" + CR, 0);
        QTRY_COMPARE(w.replies, QStringList{"0014,9"});
    }

    // A write to a device that fails is reported once and only once.
    void writeAfterFailure()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-board");
        qputenv("VOLTARIS_PORTS", "fake-board");
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        qunsetenv("VOLTARIS_PORTS");
        QVERIFY(w.choose("fake-board"));
        QCOMPARE(line->baud, 115200);
        const int beeps = beepCount();
        ModalAnswer a("Command1_0");
        line->fail();
        w.serial.comwrite("$0014" + CR, 0); // before the failure's report
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Com port error"));
        ModalAnswer second("Command1_0", 200);
        QTest::qWait(200);
        QVERIFY(!second.answered());
        QCOMPARE(beepCount() - beeps, 1);
        QCOMPARE(w.serial.portopen, 0);
        QVERIFY(!line->open);
    }

    void openErrorReturnsToSelect()
    {
        PtyPair pty;
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        PortController other;
        other.open(pty.path(), "9600,n,8,1"); // another window holds it now
        ModalAnswer a("Command1_0");
        QVERIFY(w.choose(pty.path()));
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Com port open error"));
        QVERIFY(!a.text().isEmpty());
        QCOMPARE(w.serial.portopen, 0);
        QCOMPARE(w.portselect()->currentIndex(), 0);
        QVERIFY(!w.serial.rs232.isOpen());
    }

    // A device that is no terminal, listed as a port, is named for what it
    // is: no rate could ever make it work. A rate a real port refuses is
    // still error 380.
    void deviceThatIsNoSerialPort()
    {
        const QByteArray ports = qgetenv("VOLTARIS_PORTS");
        qputenv("VOLTARIS_PORTS", "/dev/null");
        auto& w = FormSlots::get<Demo_controller>();
        w.load();
        ModalAnswer a("Command1_0");
        QVERIFY(w.choose("/dev/null"));
        qputenv("VOLTARIS_PORTS", ports);
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Com port open error"));
        QCOMPARE(a.text(), QStringLiteral("The port /dev/null cannot be used: its device is not a serial port."));
        QCOMPARE(w.serial.portopen, 0);
        QCOMPARE(w.portselect()->currentIndex(), 0);

        PortController port;
        try {
            port.open(QStringLiteral("/dev/null"), QStringLiteral("9600,n,8,1"));
            QFAIL("/dev/null opened as a port");
        } catch (const VError& e) {
            QVERIFY(e.number() != verr::InvalidPropertyValue);
        }
        QVERIFY(!port.isOpen());
    }

    // Ports are found without being opened (an open raises DTR and RTS,
    // which resets many boards): the free ones are listed, untouched; one
    // that a window of this program holds, or that another running
    // program has locked, is not. A stale lock holds nothing.
    void portscanFindsFreePortsWithoutOpening()
    {
        PtyPair free1, held, locked, binaryLocked, stale;
        QTemporaryDir locks;
        const QStringList defaultLocks = PortController::lockFolders();
        PortController::setLockFolders({locks.path()});
        auto lockFile = [&](const PtyPair& p) {
            return locks.filePath(QStringLiteral("LCK..") + p.path().mid(5).replace(u'/', u'_'));
        };
        const qint32 live = qint32(::getppid());
        writeFile(lockFile(locked), QByteArray::number(live).rightJustified(10) + "\n");
        writeFile(lockFile(binaryLocked), QByteArray(reinterpret_cast<const char*>(&live), 4));
        const pid_t gone = ::fork();
        if (gone == 0)
            ::_exit(0);
        ::waitpid(gone, nullptr, 0);
        writeFile(lockFile(stale), QByteArray::number(gone) + "\nsomeprogram\n");
        PortController holder;
        holder.open(held.path(), "9600,n,8,1");
        termios before{};
        QCOMPARE(::tcgetattr(free1.boardFd(), &before), 0);

        PortList ports;
        ports[98] = QStringLiteral("keep");
        FormSlots::get<RS232_comportscanner>().portscan(ports);
        PortController::setLockFolders(defaultLocks);
        QCOMPARE(ports[0], QStringLiteral("Select"));
        const int count = int(numval(ports[100]));
        QCOMPARE(ports[100], numstr(count));
        QStringList found;
        for (int i = 1; i <= count; ++i)
            found << ports[i];
        QVERIFY(found.contains(free1.path()));
        QVERIFY(found.contains(stale.path()));
        QVERIFY(!found.contains(held.path()));
        QVERIFY(!found.contains(locked.path()));
        QVERIFY(!found.contains(binaryLocked.path()));
        QCOMPARE(found.indexOf(stale.path()), count - 1); // listed ports come after the system's
        if (count < 98)
            QCOMPARE(ports[98], QStringLiteral("keep"));
        QVERIFY(!FormSlots::get<RS232_comportscanner>().visible());

        // Nothing opened the free port nor changed its line settings.
        QCOMPARE(free1.opens(), 0);
        QCOMPARE(stale.opens(), 0);
        termios after{};
        QCOMPARE(::tcgetattr(free1.boardFd(), &after), 0);
        QCOMPARE(std::memcmp(&before, &after, sizeof before), 0);
        // (An open is seen: the check above can fail.)
        PortController probe;
        probe.open(free1.path(), "9600,n,8,1");
        QVERIFY(free1.opens() > 0);
    }

    void portscanWithNoPorts()
    {
        qputenv("VOLTARIS_PORTS", "/nonexistent/tty0");
        PortList ports;
        FormSlots::get<RS232_comportscanner>().portscan(ports);
        qunsetenv("VOLTARIS_PORTS");
        QCOMPARE(ports[0], QStringLiteral("Select"));
        QVERIFY(!ports[100].isEmpty());
        QCOMPARE(ports[100].at(0), u' ');
        for (int i = 1; i <= int(numval(ports[100])); ++i)
            QVERIFY(ports[i] != QStringLiteral("/nonexistent/tty0"));
    }

    void usersScan()
    {
        PtyPair a, b;
        auto& s = FormSlots::get<RS232_comportscanner>();
        s.show();
        QCOMPARE(s.caption(), QStringLiteral("ComScan"));
        auto* counter = s.form()->findChild<QLineEdit*>("counter");
        auto* list = s.form()->findChild<QPlainTextEdit*>("resultlist");
        QCOMPARE(counter->text(), QStringLiteral("---"));
        QTest::mouseClick(s.form()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(counter->text(), QStringLiteral("Done"));
        const QString text = list->toPlainText();
        QVERIFY2(text.endsWith(a.path() + u'\n' + b.path() + u'\n'), qPrintable(text));
        QVERIFY(!FormSlots::get<RS232_portscanning>().visible());
    }

    // A controller loading while the user's scan runs gets a full list, and
    // the user's scan still ends with "Done".
    void scansDoNotRunOverEachOther()
    {
        PtyPair a;
        auto& s = FormSlots::get<RS232_comportscanner>();
        s.show();
        auto* counter = s.form()->findChild<QLineEdit*>("counter");
        PortList inner;
        bool ran = false;
        QMetaObject::Connection c = connect(counter, &QLineEdit::textChanged, this, [&](const QString& t) {
            if (ran || t != u"1")
                return;
            ran = true;
            s.portscan(inner);
            // The user's second click during the scan is ignored.
            QTest::mouseClick(s.form()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
        QTest::mouseClick(s.form()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        disconnect(c);
        QVERIFY(ran);
        QCOMPARE(counter->text(), QStringLiteral("Done"));
        QCOMPARE(inner[int(numval(inner[100]))], a.path());
        const QString text = s.form()->findChild<QPlainTextEdit*>("resultlist")->toPlainText();
        QCOMPARE(text.count(a.path()), 1);
        QVERIFY(!FormSlots::get<RS232_portscanning>().visible());
    }

    // Modem lines on a device that has them, and on a pseudo-terminal that
    // has none (no error there).
    void modemLines()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-modem");
        PortController port;
        QSignalSpy rings(&port, &PortController::ring);
        port.open("fake-modem", "9600,n,8,1");
        port.setDtr(true);
        QCOMPARE(line->outputs, portline::DTR);
        port.setRts(true);
        port.setDtr(false);
        QCOMPARE(line->outputs, portline::RTS);
        QVERIFY(!port.cts() && !port.dsr() && !port.dcd());
        line->setInputs(portline::CTS | portline::DCD);
        QVERIFY(port.cts() && !port.dsr() && port.dcd());
        line->setInputs(portline::RI);
        QTRY_COMPARE(rings.size(), 1);
        QCOMPARE(rings.at(0).at(0).toBool(), true);
        QVERIFY(port.ringing());
        line->setInputs(0);
        QTRY_COMPARE(rings.size(), 2);
        port.setSpeed(256000);
        QCOMPARE(port.speed(), 256000);
        line->feed("abc");
        QCOMPARE(port.read(), QStringLiteral("abc"));
        port.close();
        port.close();
        QVERIFY(!line->open);

        PtyPair pty;
        PortController tty;
        QSignalSpy failed(&tty, &PortController::failed);
        tty.open(pty.path(), "9600,n,8,1");
        tty.setDtr(true);
        tty.setRts(false);
        QVERIFY(!tty.cts() && !tty.dsr() && !tty.dcd() && !tty.ringing());
        tty.write(QStringLiteral("ok\xe9\r"));
        QTest::qWait(20);
        QVERIFY(tty.isOpen());
        QCOMPARE(failed.size(), 0);
        char buf[16] = {};
        QCOMPARE(::read(pty.boardFd(), buf, sizeof buf), ssize_t(4));
        QCOMPARE(QByteArray(buf, 4), QByteArray("ok\xe9\r"));
    }

    void closedPortRefusesWrites()
    {
        PortController port;
        port.close();
        QCOMPARE(port.read(), QString());
        try {
            port.write(QStringLiteral("x"));
            QFAIL("write on a closed port");
        } catch (const VError& e) {
            QCOMPARE(e.number(), int(verr::PortNotOpen));
        }
        try {
            port.open(QStringLiteral("/nonexistent/ttyX"), QStringLiteral("9600,n,8,1"));
            QFAIL("opened a missing port");
        } catch (const VError& e) {
            QVERIFY(!e.description().isEmpty());
        }
        QVERIFY(!port.isOpen());
    }
};

VOLTARIS_TEST(TestSerialController);
#include "test_serialcontroller.moc"
