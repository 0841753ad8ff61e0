// The serial port tester: modem lines on a fake port, characters looped
// through a pseudo-terminal to a simulated far end.

#include "support/alertsink.h"
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
#include "common/rs232_comportscanner.h"
#include "utilities/rs232_serialporttest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// The inputs are polled every 100 ms; a machine busy with other tests can
// hold a tick back well beyond that, and waiting longer costs nothing when
// the boxes follow at once.
constexpr int kInputWaitMs = 3000;

struct Tester {
    // Loads the tester with `extraPort` (a fake's name) among its ports.
    explicit Tester(const QString& extraPort = QString())
    {
        const ExtraPorts more({extraPort});
        w.load();
        w.show();
    }
    ~Tester()
    {
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }
    QComboBox* portselect() const { return w.form()->findChild<QComboBox*>("portselect"); }
    QCheckBox* check(int i) const { return w.form()->findChild<QCheckBox*>(arrayName("Check1", i)); }
    QLineEdit* text(int i) const { return w.form()->findChild<QLineEdit*>(arrayName("Text1", i)); }
    bool choose(const QString& port) const
    {
        const int i = portselect()->findText(port);
        if (i < 0)
            return false;
        portselect()->setCurrentIndex(i);
        return true;
    }
    QTimer* timer() const { return w.form()->findChild<QTimer*>("Timer1"); }
    QList<bool> inputs() const { return {check(2)->isChecked(), check(3)->isChecked(), check(4)->isChecked(), check(5)->isChecked()}; }

    TempFolders tf;
    RS232_serialporttest& w = FormSlots::get<RS232_serialporttest>();
};

} // namespace

class SerialPortTestTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void laidOut()
    {
        Tester t;
        QCOMPARE(t.w.caption(), QStringLiteral("RS232"));
        const QStringList captions{"4  DTR", "7  RTS", "6  DSR", "8  CTS", "1  DCD", "9  RI"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(t.check(i)->text(), captions[i]);
            if (i > 0)
                QVERIFY(t.check(i)->y() > t.check(i - 1)->y());
        }
        QCOMPARE(t.portselect()->currentText(), QStringLiteral("Select"));
    }

    void outputAndInputLines()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-spt");
        Tester t("fake-spt");
        QVERIFY(t.choose("fake-spt"));
        QVERIFY(line->open);
        QCOMPARE(line->baud, 115200);

        QTest::mouseClick(t.check(0), Qt::LeftButton);
        QVERIFY(line->outputs & portline::DTR);
        QVERIFY(!(line->outputs & portline::RTS));
        QTest::mouseClick(t.check(1), Qt::LeftButton);
        QVERIFY(line->outputs & portline::RTS);
        QTest::mouseClick(t.check(0), Qt::LeftButton);
        QVERIFY(!(line->outputs & portline::DTR));

        // Each input on its own, so a line read into the wrong box shows.
        const int bits[4] = {portline::DSR, portline::CTS, portline::DCD, portline::RI};
        for (int k = 0; k < 4; ++k) {
            line->setInputs(bits[k]);
            QList<bool> want{false, false, false, false};
            want[k] = true;
            QTRY_COMPARE_WITH_TIMEOUT(t.inputs(), want, kInputWaitMs);
        }
        line->setInputs(0);
        QTRY_COMPARE_WITH_TIMEOUT(t.inputs(), (QList<bool>{false, false, false, false}), kInputWaitMs);
    }

    void noPortClearsInputsOnNextTick()
    {
        Tester t;
        for (int i = 2; i < 6; ++i)
            t.check(i)->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(t.inputs(), (QList<bool>{false, false, false, false}), kInputWaitMs);
    }

    void lettersAndDigitsLoopThrough()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        Tester t;
        QVERIFY(t.choose(pty.path()));
        QLineEdit* txd = t.text(0);
        typeInto(txd, "k");
        QCOMPARE(txd->text(), QStringLiteral("k"));
        typeInto(txd, "!");
        pressEnter(txd);
        typeInto(txd, " .");
        QCOMPARE(txd->text(), QStringLiteral("k"));
        typeInto(txd, "Z7");
        QCOMPARE(txd->text(), QStringLiteral("7"));
        QTRY_COMPARE(sim.received(), QByteArray("kZ7"));
        QTest::qWait(50);
        QCOMPARE(sim.received(), QByteArray("kZ7"));

        sim.send("x");
        QTRY_COMPARE(t.text(1)->text(), QStringLiteral("x"));
    }

    void lastCharacterOfADelivery()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-spt");
        Tester t("fake-spt");
        QVERIFY(t.choose("fake-spt"));
        line->feed("abc");
        QTRY_COMPARE(t.text(1)->text(), QStringLiteral("c"));
        QVERIFY(t.w.serial.ReceiveBuffer.isEmpty());
        line->feed("de\r");
        QTRY_COMPARE(t.text(1)->text(), QStringLiteral("\r"));
    }

    void noPortSendsNothing()
    {
        Tester t;
        ModalAnswer a("Command1_0");
        typeInto(t.text(0), "k");
        QVERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Serial port error"));
        QCOMPARE(t.text(0)->text(), QString());
    }

    // One alert for a failed device, then quiet ticks and cleared inputs.
    void failingDevice()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-spt");
        Tester t("fake-spt");
        QVERIFY(t.choose("fake-spt"));
        line->setInputs(portline::DSR | portline::CTS | portline::DCD | portline::RI);
        QTRY_COMPARE_WITH_TIMEOUT(t.inputs(), (QList<bool>{true, true, true, true}), kInputWaitMs);
        const int beeps = beepCount();
        ModalAnswer a("Command1_0");
        line->fail();
        QTRY_VERIFY(a.answered());
        QCOMPARE(a.title(), QStringLiteral("Com port error"));
        QCOMPARE(t.portselect()->currentIndex(), 0);
        QCOMPARE(t.w.serial.portopen, 0);
        QVERIFY(!line->open);
        ModalAnswer second("Command1_0", 400);
        QTest::qWait(400);
        QVERIFY(!second.answered());
        QCOMPARE(beepCount() - beeps, 1);
        QCOMPARE(t.inputs(), (QList<bool>{false, false, false, false}));
    }

    // A port opened or changed takes the boxes' DTR and RTS states at once.
    void linesFollowTheBoxesOnOpen()
    {
        FakePorts fakes;
        auto a = fakes.line("fake-a");
        auto b = fakes.line("fake-b");
        Tester t("fake-a:fake-b");
        t.check(0)->setChecked(true);
        t.check(1)->setChecked(true);
        QVERIFY(t.choose("fake-a"));
        QCOMPARE(a->outputs, portline::DTR | portline::RTS);
        QTest::mouseClick(t.check(0), Qt::LeftButton);
        QCOMPARE(a->outputs, portline::RTS);
        QVERIFY(t.choose("fake-b"));
        QVERIFY(!a->open);
        QCOMPARE(b->outputs, portline::RTS);
    }

    // The poll runs while a port is open, at its interval, and stops once a
    // closed port's inputs are cleared.
    void pollsOnlyWhileAPortIsOpen()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-spt");
        Tester t("fake-spt");
        QVERIFY(!t.timer()->isActive());
        QVERIFY(t.choose("fake-spt"));
        QVERIFY(t.timer()->isActive());
        QCOMPARE(t.timer()->interval(), 100);
        line->setInputs(portline::DSR | portline::CTS);
        QTRY_COMPARE_WITH_TIMEOUT(t.inputs(), (QList<bool>{true, true, false, false}), kInputWaitMs);
        QVERIFY(t.choose("Select"));
        QTRY_COMPARE_WITH_TIMEOUT(t.inputs(), (QList<bool>{false, false, false, false}), kInputWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!t.timer()->isActive(), kInputWaitMs);
    }

    // A port that refuses each operation in turn: one alert each, and the
    // tester goes on with a good port. A line the user switches on an open
    // port fails in use; opening sets the lines too, so the same port then
    // cannot open.
    void refusingPort()
    {
        FakePorts fakes;
        auto good = fakes.line("fake-good");
        auto bad = fakes.line("fake-bad");
        Tester t("fake-good:fake-bad");
        RefusalWindow win;
        win.choose = [&] { QVERIFY(t.choose("fake-bad")); };
        win.provoke = [&](Refusal r) {
            if (r == Refusal::Write)
                typeInto(t.text(0), "k");
            else
                QTest::mouseClick(t.check(r == Refusal::Dtr ? 0 : 1), Qt::LeftButton);
        };
        win.noPort = [&] {
            QCOMPARE(t.w.serial.portopen, 0);
            QCOMPARE(t.portselect()->currentIndex(), 0);
        };
        win.after = [&](const RefusalCase& row) {
            if (row.mode == Refusal::Write)
                QCOMPARE(t.text(0)->text(), QStringLiteral("a")); // the last one sent
        };
        win.usable = [&] {
            t.check(0)->setChecked(false);
            t.check(1)->setChecked(false);
            QVERIFY(t.choose("fake-good"));
            good->written.clear();
            typeInto(t.text(0), "a");
            QCOMPARE(good->written, QByteArray("a"));
            QVERIFY(t.choose("Select"));
        };
        const QString lineError = QStringLiteral("Com port error");
        QList<RefusalCase> table = refusalTable();
        table.insert(refusalIndex(table, QStringLiteral("DTR at open")),
                     {QStringLiteral("DTR in use"), Refusal::Dtr, true, lineError, QString(), false});
        table.insert(refusalIndex(table, QStringLiteral("RTS at open")),
                     {QStringLiteral("RTS in use"), Refusal::Rts, true, lineError, QString(), false});
        runRefusals(*bad, 115200, table, win);
    }

    void closingDuringAStream()
    {
        PtyPair pty;
        BoardSimulator sim(pty);
        {
            Tester t;
            QVERIFY(t.choose(pty.path()));
            sim.sendRaw(QByteArray(2 * 1000 * 1000, 'q'));
            QTRY_VERIFY(!t.text(1)->text().isEmpty());
        }
        QTest::qWait(50);
        QVERIFY(!FormSlots::get<RS232_serialporttest>().isLoaded());
    }
};

VOLTARIS_TEST(SerialPortTestTest);
#include "test_serialporttest.moc"
