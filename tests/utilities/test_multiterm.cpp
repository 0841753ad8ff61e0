// The dual serial terminal through its widgets: a pseudo-terminal per port
// with a simulated far end, fake ports for modem lines and failures.

#include "support/boardsim.h"
#include "support/extraports.h"
#include "support/fakeport.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/refusingport.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/formbuilder.h"
#include "utilities/rs232_multiterm.h"
#include "utilities/termrules.h"
#include "utilities/termview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <random>

namespace {

const QString DEL(QChar(127));

struct Term {
    // Loads the terminal with `extraPorts` (fakes' names) among its ports.
    explicit Term(const QStringList& extraPorts = {})
    {
        const ExtraPorts more(extraPorts);
        w.load();
        w.show();
    }
    ~Term() { w.unload(); }
    template <class T>
    T* ctl(const char* name, int k) const
    {
        return w.form()->findChild<T*>(arrayName(QString::fromLatin1(name), k));
    }
    QComboBox* portselect(int k) const { return ctl<QComboBox>("portselect", k); }
    QComboBox* baud(int k) const { return ctl<QComboBox>("baudrateselect", k); }
    TermView* terminal(int k) const { return ctl<TermView>("terminal", k); }
    QLineEdit* commandbox(int k) const { return ctl<QLineEdit>("commandbox", k); }
    QPushButton* command(int k) const { return ctl<QPushButton>("command", k); }
    QCheckBox* hex(int k) const { return ctl<QCheckBox>("hexdisplay", k); }
    QCheckBox* single() const { return w.form()->findChild<QCheckBox*>("singleterm"); }
    QString display(int k) const { return terminal(k)->text(); }
    bool choose(int k, const QString& port) const
    {
        const int i = portselect(k)->findText(port);
        if (i < 0)
            return false;
        portselect(k)->setCurrentIndex(i);
        return true;
    }
    void typeKeys(int k, const QString& keys) const
    {
        giveFocus(terminal(k));
        QTest::keyClicks(terminal(k), keys);
    }
    void transmit(int k, const QString& line) const
    {
        commandbox(k)->setText(line);
        QTest::mouseClick(command(k), Qt::LeftButton);
    }

    TempFolders tf;
    RS232_multiterm& w = FormSlots::get<RS232_multiterm>();
};

// The display of a received stream taken one byte at a time.
QString byteByByte(const QByteArray& stream, bool hex)
{
    QString buffer;
    for (char c : stream) {
        const QChar ch{char16_t(uchar(c))};
        termrules::appendReceived(buffer, QStringView(&ch, 1), hex);
    }
    return termrules::displayText(buffer);
}

} // namespace

class MultitermTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void laidOut()
    {
        PtyPair pty;
        const int opens = pty.opens();
        Term t;
        QCOMPARE(t.w.caption(), QStringLiteral("Dual RS232 Terminal"));
        const QStringList rates{"19200", "300",   "600",   "1200",  "2400",   "4800",
                                "9600",  "19200", "38400", "57600", "115200", "230400"};
        for (int k = 0; k < 2; ++k) {
            QStringList items;
            for (int i = 0; i < t.baud(k)->count(); ++i)
                items << t.baud(k)->itemText(i);
            QCOMPARE(items, rates);
            QCOMPARE(t.baud(k)->currentIndex(), 0);
            QCOMPARE(t.portselect(k)->itemText(0), QStringLiteral("Select"));
            QCOMPARE(t.portselect(k)->currentIndex(), 0);
            QVERIFY(t.portselect(k)->findText(pty.path()) > 0);
            QCOMPARE(t.command(k)->text(), QStringLiteral("Transmit"));
            QCOMPARE(t.hex(k)->text(), QStringLiteral("Hexadecimal"));
            QCOMPARE(t.display(k), DEL);
        }
        QCOMPARE(t.single()->text(), QStringLiteral("Single Terminal"));
        // The list is not probed: no port was opened to fill it.
        QCOMPARE(pty.opens(), opens);
        // Typing into the selectors chooses nothing.
        QTest::keyClicks(t.portselect(0), "/dS");
        QTest::keyClicks(t.baud(0), "3");
        QCOMPARE(t.portselect(0)->currentIndex(), 0);
        QCOMPARE(t.baud(0)->currentIndex(), 0);
    }

    void receivedDisplay_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF") << QByteArray("A\r\nB") << false << "A\r\nB" + DEL;
        QTest::newRow("lone CR") << QByteArray("A\rB") << false << "A\r\nB" + DEL;
        QTest::newRow("lone LF") << QByteArray("A\nB") << false << "A[0A]B" + DEL;
        QTest::newRow("DEL, 128, 255") << QByteArray("\x7f\x80\xff") << false << DEL + "[80][FF]" + DEL;
        QTest::newRow("NUL and ESC") << QByteArray("\0\x1b", 2) << false << "[00][1B]" + DEL;
        QTest::newRow("hex") << QByteArray("\r\n\0\xff", 4) << true << "0D 0A 00 FF " + DEL;
    }
    void receivedDisplay()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hex);
        QFETCH(QString, shown);
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        t.hex(0)->setChecked(hex);
        QVERIFY(t.choose(0, pty.path()));
        sim.send(bytes);
        QTRY_COMPARE(t.display(0), shown);
        QCOMPARE(t.display(1), DEL);
    }

    // A final CR shows the cursor on the next line while the buffer keeps
    // it; a CR ending one read and an LF starting the next make one break.
    void crAtTheEndOfARead()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        QVERIFY(t.choose(0, pty.path()));
        sim.send("A\r");
        QTRY_COMPARE(t.display(0), "A\r\n" + DEL);
        QCOMPARE(t.w.buffer[0], QStringLiteral("A\r"));
        sim.send("\nB");
        QTRY_COMPARE(t.display(0), "A\r\nB" + DEL);
        QCOMPARE(t.w.buffer[0], QStringLiteral("A\r\nB"));
    }

    void commandLines_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text with ^m and ^M") << false << "ab^mcde^M" << QByteArray("ab\r\ncde\r\n")
                                             << "ab\r\ncde\r\n" + DEL;
        QTest::newRow("caret before other, caret last") << false << "^x^" << QByteArray("^x^") << "^x^" + DEL;
        QTest::newRow("no byte value left out") << false << QStringLiteral("a\u20acb\u00e9") << QByteArray("ab\xe9")
                                                << QStringLiteral("ab\u00e9") + DEL;
        QTest::newRow("hex with blanks") << true << "1 a 2" << QByteArray("\x01\xa2") << "01 A2 " + DEL;
        QTest::newRow("hex upper case") << true << "1A2" << QByteArray("\x01\xa2") << "01 A2 " + DEL;
        QTest::newRow("hex among garbage") << true << "x0z0,ff!" << QByteArray("\x00\xff", 2) << "00 FF " + DEL;
    }
    void commandLines()
    {
        QFETCH(bool, hex);
        QFETCH(QString, line);
        QFETCH(QByteArray, sent);
        QFETCH(QString, shown);
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        t.hex(0)->setChecked(hex);
        QVERIFY(t.choose(0, pty.path()));
        t.transmit(0, line);
        QTRY_COMPARE(sim.received(), sent);
        QCOMPARE(t.display(0), shown);
        // The line stays, ready to go again; Enter in it sends it too.
        QCOMPARE(t.commandbox(0)->text(), line);
        pressEnter(t.commandbox(0));
        QTRY_COMPARE(sim.received(), sent + sent);
    }

    void nothingToSend()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        // No port: keys and command lines are neither shown nor sent.
        t.typeKeys(0, "ab");
        t.transmit(0, "cd");
        QCOMPARE(t.display(0), DEL);

        QVERIFY(t.choose(0, pty.path()));
        t.hex(0)->setChecked(true);
        const int beeps = beepCount();
        t.transmit(0, "xyz ghij");
        QCOMPARE(beepCount() - beeps, 1);
        t.transmit(0, "");
        QCOMPARE(beepCount() - beeps, 1);
        QTest::qWait(50);
        QCOMPARE(sim.received(), QByteArray());
        QCOMPARE(t.display(0), DEL);
    }

    void typedKeys()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        QVERIFY(t.choose(0, pty.path()));
        t.typeKeys(0, "a~");
        QTest::keyClick(t.terminal(0), Qt::Key_Return);
        QTest::keyClick(t.terminal(0), Qt::Key_Escape);
        // A character with no byte value is neither shown nor sent.
        QTest::sendKeyEvent(QTest::Click, t.terminal(0), Qt::Key_unknown, QStringLiteral("\u20ac"), Qt::NoModifier);
        QTRY_COMPARE(sim.received(), QByteArray("a~\r\n\x1b"));
        QCOMPARE(t.display(0), "a~\r\n[1B]" + DEL);

        t.hex(0)->setChecked(true);
        t.typeKeys(0, "z");
        QTest::keyClick(t.terminal(0), Qt::Key_Return);
        QTRY_COMPARE(sim.received(), QByteArray("a~\r\n\x1bz\r"));
        QCOMPARE(t.display(0), "a~\r\n[1B]7A 0D " + DEL);
        QCOMPARE(t.terminal(0)->caret(), t.w.buffer[0].size());

        // Double-click clears the terminal.
        QTest::mouseDClick(t.terminal(0)->viewport(), Qt::LeftButton);
        QCOMPARE(t.display(0), DEL);
    }

    // What the hex display shows, copied into the hex command line, sends
    // the same bytes again.
    void hexDisplayCopiedBack()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        t.hex(0)->setChecked(true);
        QVERIFY(t.choose(0, pty.path()));
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        sim.send(all);
        QTRY_COMPARE(t.w.buffer[0].size(), 3 * 256);
        t.terminal(0)->selectAll();
        t.transmit(0, t.terminal(0)->selectedText());
        QTRY_COMPARE(sim.received(), all);
    }

    void singleTerminal()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        QTest::mouseClick(t.single(), Qt::LeftButton);
        QVERIFY(t.single()->isChecked());
        QVERIFY(!t.portselect(1)->isEnabled());
        QVERIFY(!t.baud(1)->isEnabled());
        QVERIFY(!t.commandbox(1)->isEnabled());
        QVERIFY(t.choose(0, pty.path()));
        sim.send("hi\r\n");
        QTRY_COMPARE(t.display(1), "hi\r\n" + DEL);
        QCOMPARE(t.display(0), DEL);
        t.typeKeys(0, "x");
        QTRY_COMPARE(sim.received(), QByteArray("x"));
        QCOMPARE(t.display(0), "x" + DEL);
        // Terminal 2's format holds for what port 1 receives.
        t.hex(1)->setChecked(true);
        sim.send("A");
        QTRY_COMPARE(t.display(1), "hi\r\n41 " + DEL);

        QTest::mouseClick(t.single(), Qt::LeftButton);
        QVERIFY(t.portselect(1)->isEnabled() && t.baud(1)->isEnabled() && t.commandbox(1)->isEnabled());
    }

    void choosingPorts()
    {
        PtyPair a, b;
        FakePorts fakes;
        auto line = fakes.line("fake-term");
        Term t({"fake-term"});
        {
            ModalAnswer none("Command1_0", 300);
            t.w.process(0, 255, QString()); // "Select", never opened: nothing
            QCOMPARE(t.w.portopen[0], false);

            QVERIFY(t.choose(0, a.path()));
            QVERIFY(PortController::heldOpen(a.path()));
            QVERIFY(!t.baud(0)->isEnabled());
            QVERIFY(t.choose(0, b.path()));
            QVERIFY(!PortController::heldOpen(a.path()));
            QVERIFY(PortController::heldOpen(b.path()));
            QTest::qWait(300);
            QVERIFY(!none.answered());
        }

        // Terminal 2 cannot have the port terminal 1 holds.
        {
            ModalAnswer answer("Command1_0");
            QVERIFY(t.choose(1, b.path()));
            QVERIFY(answer.answered());
            QCOMPARE(answer.title(), QStringLiteral("Com port open error"));
            QVERIFY(answer.text().contains(QStringLiteral("Port already open")));
        }
        QCOMPARE(t.portselect(1)->currentIndex(), 0);
        QVERIFY(t.baud(1)->isEnabled() && t.single()->isEnabled());
        QCOMPARE(t.w.portopen[1], false);

        // Port 2 on the fake: the chosen rate, DTR on, RTS off.
        t.baud(1)->setCurrentIndex(t.baud(1)->findText("115200"));
        QVERIFY(t.choose(1, "fake-term"));
        QVERIFY(line->open);
        QCOMPARE(line->baud, 115200);
        QCOMPARE(line->outputs, portline::DTR);
        QVERIFY(!t.single()->isEnabled() && !t.baud(1)->isEnabled());
        QVERIFY(t.choose(1, "Select"));
        QVERIFY(!line->open);
        QVERIFY(t.single()->isEnabled() && t.baud(1)->isEnabled());

        // Closing the window with only port 2 open closes it.
        QVERIFY(t.choose(0, "Select"));
        QVERIFY(t.choose(1, a.path()));
        t.w.unload();
        QVERIFY(!PortController::heldOpen(a.path()));
        QVERIFY(!PortController::heldOpen(b.path()));
    }

    void vanishedListedPort()
    {
        // Listed through a link of its own: a freed pseudo-terminal number can
        // be taken at once by another program, the link's name cannot.
        QTemporaryDir dir;
        auto pty = std::make_unique<PtyPair>();
        const QString path = dir.filePath("term-link");
        QVERIFY(QFile::link(pty->path(), path));
        Term t({path});
        pty.reset();
        QVERIFY(QFile::remove(path));
        ModalAnswer answer("Command1_0");
        QVERIFY(t.choose(0, path));
        QVERIFY(answer.answered());
        QCOMPARE(answer.title(), QStringLiteral("Com port open error"));
        QCOMPARE(t.portselect(0)->currentIndex(), 0);
        QCOMPARE(t.w.portopen[0], false);
    }

    // A stream of every byte value with CR, LF and CR LF mixed in, cut into
    // random reads: the display is the byte-by-byte rendering.
    void chunkedStream_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::newRow("text") << false;
        QTest::newRow("hex") << true;
    }
    void chunkedStream()
    {
        QFETCH(bool, hex);
        std::mt19937 rng(1234);
        QByteArray stream;
        const char* ends[3] = {"\r", "\n", "\r\n"};
        while (stream.size() < 60000) {
            for (int b = 0; b < 256; b += 1 + int(rng() % 7))
                stream += char(b);
            stream += ends[rng() % 3];
        }
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        t.hex(0)->setChecked(hex);
        QVERIFY(t.choose(0, pty.path()));
        for (qsizetype at = 0; at < stream.size();) {
            const qsizetype n = std::min<qsizetype>(1 + rng() % 700, stream.size() - at);
            sim.send(stream.mid(at, n));
            at += n;
            // Some pieces reach the window alone, others merged.
            if (rng() % 3 == 0)
                QTest::qWait(int(rng() % 3));
        }
        const QString want = byteByByte(stream, hex);
        QTRY_COMPARE_WITH_TIMEOUT(t.display(0).size(), want.size(), 20000);
        QCOMPARE(t.display(0), want);
        // The layout kept up read by read equals one made from scratch.
        TermView* view = t.terminal(0);
        const qsizetype rows = view->rowCount();
        QVERIFY(rows > 1);
        view->setBuffer(&t.w.buffer[0]);
        QCOMPARE(view->rowCount(), rows);
        view->selectAll();
        QCOMPARE(view->selectedText(), want);
    }

    // Control keys typed into a terminal go to its port; copying has the
    // gestures that type no control character.
    void controlKeysAreSent()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Term t;
        QVERIFY(t.choose(0, pty.path()));
        giveFocus(t.terminal(0));
        for (Qt::Key k : {Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Y, Qt::Key_Z, Qt::Key_B})
            QTest::keyClick(t.terminal(0), k, Qt::ControlModifier);
        // As the platform delivers it: the control character as the text.
        QTest::sendKeyEvent(QTest::Click, t.terminal(0), Qt::Key_BracketLeft, QStringLiteral("\x1b"),
                            Qt::ControlModifier);
        QTRY_COMPARE(sim.received(), QByteArray("\x01\x03\x16\x18\x19\x1a\x02\x1b"));
        QCOMPARE(t.display(0), "[01][03][16][18][19][1A][02][1B]" + DEL);

        // Copy by Ctrl+Insert, Ctrl+Shift+C and the context menu; none sends.
        auto copied = [&](auto gesture) {
            QApplication::clipboard()->setText(QStringLiteral("before"));
            t.terminal(0)->selectAll();
            gesture();
            return QApplication::clipboard()->text();
        };
        const QString all = "[01][03][16][18][19][1A][02][1B]" + DEL;
        QCOMPARE(copied([&] { QTest::keyClick(t.terminal(0), Qt::Key_Insert, Qt::ControlModifier); }), all);
        QCOMPARE(copied([&] { QTest::keyClick(t.terminal(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier); }),
                 all);
        QCOMPARE(copied([&] {
                     const QPoint at = t.terminal(0)->viewport()->rect().center();
                     QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at,
                                                 t.terminal(0)->viewport()->mapToGlobal(at));
                     QApplication::sendEvent(t.terminal(0)->viewport(), &menuEvent);
                     auto* menu = t.terminal(0)->findChild<QMenu*>();
                     QVERIFY(menu && menu->isVisible());
                     menu->findChild<QAction*>("copy")->trigger();
                     menu->close();
                 }),
                 all);
        QTest::qWait(50);
        QCOMPARE(sim.received(), QByteArray("\x01\x03\x16\x18\x19\x1a\x02\x1b"));
        QCOMPARE(t.display(0), all);

        // The command line keeps the usual editing shortcuts.
        t.commandbox(0)->setText(QStringLiteral("abc"));
        giveFocus(t.commandbox(0));
        QTest::keyClick(t.commandbox(0), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(t.commandbox(0)->selectedText(), QStringLiteral("abc"));
    }

    // A port that refuses each operation in turn: one alert each, and the
    // terminal works on with a good port.
    void refusingPort()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        FakePorts fakes;
        auto bad = fakes.line("fake-bad");
        Term t({"fake-bad"});
        QByteArray sent;
        RefusalWindow win;
        win.choose = [&] { QVERIFY(t.choose(1, "fake-bad")); };
        win.provoke = [&](Refusal) { t.typeKeys(1, "q"); };
        win.noPort = [&] {
            QCOMPARE(t.w.portopen[1], false);
            QCOMPARE(t.portselect(1)->currentIndex(), 0);
            QVERIFY(t.baud(1)->isEnabled() && t.single()->isEnabled());
        };
        win.usable = [&] {
            // The same terminal on a good port.
            QVERIFY(t.choose(1, pty.path()));
            t.typeKeys(1, "k");
            sent += 'k';
            QTRY_COMPARE(sim.received(), sent);
            QVERIFY(t.choose(1, "Select"));
        };
        runRefusals(*bad, 19200, refusalTable(), win);
    }

    void portFailsWhileOpen()
    {
        PtyPair one, two, three;
        BoardSimulator sim1(one), sim2(two), sim3(three);
        FakePorts fakes;
        auto line = fakes.line("fake-term");
        Term t({"fake-term"});
        QVERIFY(t.choose(0, one.path()));
        QVERIFY(t.choose(1, two.path()));
        sim1.send(QByteArray(20000, 'x'));
        const int beeps = beepCount();
        {
            ModalAnswer answer("Command1_0");
            sim1.vanish();
            QTRY_VERIFY(answer.answered());
            QCOMPARE(answer.title(), QStringLiteral("Com port error"));
        }
        QCOMPARE(t.portselect(0)->currentIndex(), 0);
        QVERIFY(t.baud(0)->isEnabled());
        QCOMPARE(t.w.portopen[0], false);
        QVERIFY(!PortController::heldOpen(one.path()));
        {
            ModalAnswer second("Command1_0", 300);
            QTest::qWait(300);
            QVERIFY(!second.answered());
            QCOMPARE(beepCount() - beeps, 1);
        }

        // The other terminal carries on; the first opens a port again.
        sim2.send("ok");
        QTRY_COMPARE(t.display(1), "ok" + DEL);
        QVERIFY(t.choose(0, three.path()));
        sim3.send("back");
        QTRY_VERIFY(t.display(0).endsWith("back" + DEL));

        // Port 2 failing gives "Single Terminal" back; a refused write ends
        // the same way.
        QVERIFY(t.choose(1, "fake-term"));
        QVERIFY(!t.single()->isEnabled());
        {
            ModalAnswer answer("Command1_0");
            line->fail();
            QTRY_VERIFY(answer.answered());
            QCOMPARE(answer.title(), QStringLiteral("Com port error"));
        }
        QVERIFY(t.single()->isEnabled() && t.baud(1)->isEnabled());
        QCOMPARE(t.portselect(1)->currentIndex(), 0);
        line->present = true;
        line->failWrites = true;
        QVERIFY(t.choose(1, "fake-term"));
        {
            ModalAnswer answer("Command1_0");
            t.typeKeys(1, "q");
            QTRY_VERIFY(answer.answered());
            QCOMPARE(answer.title(), QStringLiteral("Com port error"));
        }
        QCOMPARE(t.w.portopen[1], false);
        QCOMPARE(t.portselect(1)->currentIndex(), 0);
    }

    void closingWhileBusy()
    {
        PtyPair one, two;
        BoardSimulator sim1(one), sim2(two);
        {
            Term t;
            t.hex(1)->setChecked(true);
            QVERIFY(t.choose(0, one.path()));
            QVERIFY(t.choose(1, two.path()));
            sim1.sendRaw(QByteArray(1000 * 1000, 'q'));
            sim2.sendRaw(QByteArray(1000 * 1000, '\r'));
            QTRY_VERIFY(t.w.buffer[0].size() > 1000 && t.w.buffer[1].size() > 1000);
        }
        QTest::qWait(50);
        QVERIFY(!FormSlots::get<RS232_multiterm>().isLoaded());

        // Closed from inside the failure alert.
        Term t;
        QVERIFY(t.choose(0, one.path()));
        ModalAnswer answer("Command1_0");
        answer.setBeforePress([&](QWidget*) { t.w.unload(); });
        sim1.vanish();
        QTRY_VERIFY(answer.answered());
        QTest::qWait(50);
        QVERIFY(!t.w.isLoaded());
        QVERIFY(!PortController::heldOpen(one.path()));
    }
};

VOLTARIS_TEST(MultitermTest);
#include "test_multiterm.moc"
