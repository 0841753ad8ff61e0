// The gated counter: its commands and count reply, and the window against
// a simulated 8028 board through a pseudo-terminal.

#include "support/controllerbench.h"
#include "counterboard.h"

#include "support/fakeport.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "sensors/ctrl_8028_gatedcounter.h"
#include "sensors/gatedcounter.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace gatedcounter;

namespace {

struct Bench : ControllerBench<Ctrl_8028_gatedcounter, CounterBoard> {
    using ControllerBench::ControllerBench;
    QComboBox* config(int i) const { return w.form()->findChild<QComboBox*>(arrayName("cconfig", i)); }
    QStringList counts() const
    {
        QStringList out;
        for (int i = 0; i < 3; ++i)
            out << w.form()->findChild<QLineEdit*>(arrayName("cdata", i))->text();
        return out;
    }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    QGroupBox* frame() const { return w.form()->findChild<QGroupBox*>("Frame1"); }};

const QString elevenZeros = QStringLiteral("00000000000");

} // namespace

class GatedCounterTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codec()
    {
        QCOMPARE(configCommand(0, 0, 0), QStringLiteral("$0020000000\r"));
        QCOMPARE(configCommand(0, 2, 3), QStringLiteral("$0020000203\r"));
        const QStringList sent{"$0015\r", "$0016\r", "$0011\r", "$0012\r", "$0013\r", "$0014\r", "", ""};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(buttonCommand(i), sent[i]);
        QCOMPARE(buttonCommand(-1), QString());
    }

    void countReplies_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("counts"); // empty: ignored
        QTest::newRow("example") << "0014,00000012345,00000000000,00000987654"
                                 << QStringList{"00000012345", "00000000000", "00000987654"};
        QTest::newRow("any case, any first two") << "xx14,1,2" << QStringList{"1,2", "", ""};
        QTest::newRow("short") << "0014,00000012345,0000" << QStringList{"00000012345", "0000", ""};
        QTest::newRow("code only") << "0014" << QStringList{"", "", ""};
        QTest::newRow("other code") << "0015,00000012345,00000000000,00000987654" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void countReplies()
    {
        QFETCH(QString, frame);
        QFETCH(QStringList, counts);
        const auto c = parseCounts(frame);
        QCOMPARE(c.has_value(), !counts.isEmpty());
        if (c)
            QCOMPARE((QStringList{(*c)[0], (*c)[1], (*c)[2]}), counts);
    }

    void commandsAndConfiguration()
    {
        Bench b;
        QTest::qWait(50);
        QVERIFY(b.sim.received().isEmpty()); // opening sends nothing
        QCOMPARE(b.counts(), (QStringList{"---", "---", "---"}));
        b.click(6);
        QTRY_COMPARE(b.sim.received(), QByteArray("$0020000000\r"));
        b.config(1)->setCurrentIndex(b.config(1)->findText("Active Low 20MHz gate"));
        QTRY_COMPARE(b.sim.commands().last(), QStringLiteral("$0020000100"));
        b.config(1)->setCurrentIndex(2);
        b.config(2)->setCurrentIndex(3);
        QTRY_COMPARE(b.sim.commands().last(), QStringLiteral("$0020000203"));
        QCOMPARE(b.sim.modes, (std::array<int, 3>{0, 2, 3}));
        // Keys on a list change nothing.
        QTest::keyClicks(b.config(0), "C");
        QCOMPARE(b.config(0)->currentIndex(), 0);

        b.sim.clearRecord();
        for (int i : {0, 1, 3, 4, 5})
            b.click(i);
        QTRY_COMPARE(b.sim.received(), QByteArray("$0015\r$0016\r$0012\r$0013\r$0014\r"));
    }

    void countsShown()
    {
        Bench b;
        b.sim.rates = {5, 0, 2};
        b.click(3);
        QTRY_VERIFY(b.sim.running);
        QTest::qWait(60);
        b.click(4);
        QTRY_VERIFY(!b.sim.running);
        b.click(5);
        QTRY_COMPARE(b.counts()[0], QStringLiteral("%1").arg(b.sim.counts[0], 11, 10, QChar(u'0')));
        QVERIFY(b.sim.counts[0] > 0);
        // Clear shows zeros at once, before the board could answer.
        b.sim.setSilent(true);
        b.click(2);
        QCOMPARE(b.counts(), (QStringList{elevenZeros, elevenZeros, elevenZeros}));
        b.sim.setSilent(false);
        b.feed("!0014,00000012345,00000000000,00000987654\r");
        QCOMPARE(b.counts(), (QStringList{"00000012345", "00000000000", "00000987654"}));
        // Other frames, short frames and garbage.
        b.feed("!0015,1,2,3\r\x01\xff!0014,7\rjunk\r!\r");
        QCOMPARE(b.counts(), (QStringList{"7", "", ""}));
    }

    // The automatic update streams counts; however the line cuts or joins
    // them, and whatever lies between, the last one shown is the last sent.
    void autoUpdateStream_data()
    {
        QTest::addColumn<int>("split");
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("plain") << 0 << QByteArray();
        QTest::newRow("split") << 4 << QByteArray();
        QTest::newRow("garbage") << 0 << QByteArray("\x03zz\r!12\r");
    }
    void autoUpdateStream()
    {
        QFETCH(int, split);
        QFETCH(QByteArray, garbage);
        Bench b;
        b.sim.setSplit(split);
        b.sim.setGarbage(garbage);
        b.click(3);
        b.click(0);
        QTRY_VERIFY(b.sim.autoUpdate);
        QTRY_VERIFY(b.counts()[0].toLongLong() > 0);
        b.click(4);
        b.click(1);
        QTRY_VERIFY(!b.sim.autoUpdate);
        b.click(5); // the reply goes through the line conditions
        const QString x = QStringLiteral("%1").arg(b.sim.counts[0], 11, 10, QChar(u'0'));
        QTRY_COMPARE(b.counts()[0], x);
        QTest::qWait(50);
        QCOMPARE(b.counts()[0], x);
    }

    void connection()
    {
        mainWindow().show(); // clicks go to what is on screen
        Bench b(false);
        QVERIFY(!b.frame()->isVisible());
        QCOMPARE(b.frame()->title(), QStringLiteral("Connection Diagram"));
        b.click(7);
        QVERIFY(b.frame()->isVisible());
        b.click(7);
        QVERIFY(!b.frame()->isVisible());
        b.click(7);
        QWidget* diagram = b.frame()->findChild<QWidget*>("Frame1_diagram");
        QVERIFY(diagram->isVisible());
        // The diagram is drawn: dark pixels on white.
        const QImage img = diagram->grab().toImage();
        int dark = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                dark += qGray(img.pixel(x, y)) < 100;
        QVERIFY(dark > 100);
        QTest::mouseClick(diagram, Qt::LeftButton);
        QVERIFY(!b.frame()->isVisible());
        b.click(7);
        QTest::mouseClick(b.frame(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!b.frame()->isVisible());
        QTest::qWait(20);
        QVERIFY(b.sim.received().isEmpty());
    }

    void noPort()
    {
        Bench b(false);
        ModalAnswer alert("Command1_0");
        b.click(5);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Serial port error"));
        ModalAnswer second("Command1_0");
        b.config(0)->setCurrentIndex(1);
        QVERIFY(second.answered());
        QTest::qWait(20);
        QVERIFY(b.sim.received().isEmpty());
    }

    void dtrAndWriteErrors()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-counter");
        Bench b(false, "fake-counter");
        b.choose("fake-counter");
        QVERIFY(line->outputs & portline::DTR);
        QVERIFY(line->written.isEmpty());
        b.click(5);
        QCOMPARE(line->written, QByteArray("$0014\r"));
        line->failWrites = true;
        ModalAnswer alert("Command1_0");
        b.click(3);
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Com port error"));
        QCOMPARE(b.w.serial.portopen, 0);
        QCOMPARE(b.portIndex(), 0);
        QVERIFY(!line->open);
        line->failWrites = false;
        b.choose("fake-counter");
        QVERIFY(line->outputs & portline::DTR);
        b.click(3);
        QCOMPARE(line->written, QByteArray("$0014\r$0012\r"));
    }

    void boardVanishesMidStream()
    {
        Bench b;
        b.click(3);
        b.click(0);
        QTRY_VERIFY(b.counts()[0] != QStringLiteral("---"));
        b.vanish();

        PtyPair pty2;
        CounterBoard sim2(pty2);
        sim2.counts = {1, 2, 3};
        b.reopen(pty2.path());
        b.click(5);
        QTRY_COMPARE(b.counts(), (QStringList{"00000000001", "00000000002", "00000000003"}));
    }

    void closeMidStream_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("close") << false;
        QTest::newRow("quit") << true;
    }
    void closeMidStream()
    {
        QFETCH(bool, quit);
        Bench b;
        b.click(3);
        b.click(0);
        QTRY_VERIFY(b.counts()[0] != QStringLiteral("---"));
        b.close(quit);
        b.closed(quit);
        QTest::qWait(50);
        b.w.show();
        QCOMPARE(b.counts(), (QStringList{"---", "---", "---"}));
        QTest::qWait(30);
        QCOMPARE(b.w.serial.portopen, 0);
    }
};

VOLTARIS_TEST(GatedCounterTest);
#include "test_gatedcounter.moc"
