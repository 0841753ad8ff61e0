// The two-channel serial sniffer: its record codec and capture rows, and
// the window against a simulated sniffer board through a pseudo-terminal.

#include "snifferboard.h"

#include "support/alertsink.h"
#include "support/controllerbench.h"
#include "support/fakeport.h"
#include "support/ptypair.h"
#include "support/refusingport.h"
#include "support/testmain.h"

#include "common/formbuilder.h"
#include "common/randomsource.h"
#include "displays/ctrl_8546_rs232sniffer.h"
#include "displays/snifferrows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

const QChar ph(snifferPlaceholder);

QString bytes(std::initializer_list<int> list)
{
    QString s;
    for (int b : list)
        s += QChar(b);
    return s;
}

// The page as shown: A high, A low, A text, B text, B high, B low.
struct Page {
    QString ah, al, at, bt, bh, bl;
};

struct Bench : ControllerBench<Ctrl_8546_rs232sniffer, SnifferBoard> {
    using ControllerBench::ControllerBench;
    QString box(int i) const { return w.form()->findChild<QLineEdit*>(arrayName("buffdata", i))->text(); }
    Page page() const { return {box(2), box(3), box(0), box(1), box(4), box(5)}; }
    QString label(const char* name) const { return w.form()->findChild<QLabel*>(name)->text(); }
    QScrollBar* position() const { return w.form()->findChild<QScrollBar*>("bposition"); }
    QComboBox* depth() const { return w.form()->findChild<QComboBox*>("bdepth"); }
    QString port() const { return portselect()->currentText(); }
    void click(int i) const
    {
        QTest::mouseClick(w.form()->findChild<QPushButton*>(arrayName("Command1", i)), Qt::LeftButton);
    }
    // Waits until the window holds `columns` columns and shows them.
    bool shows(int columns) const
    {
        return QTest::qWaitFor([&] { return label("charcount") == QString::number(columns); }, 5000);
    }
};

} // namespace

class SnifferTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void channels_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::newRow("ab") << bytes({0x80, 'a', 'b'}) << true << 97 << 98;
        QTest::newRow("high A") << bytes({0x84, 'a', 'b'}) << true << 225 << 98;
        QTest::newRow("high B") << bytes({0x81, 'a', 'b'}) << true << 97 << 226;
        QTest::newRow("no A") << bytes({0x88, 0x00, 'b'}) << true << 256 << 98;
        QTest::newRow("no B") << bytes({0x82, 'a', 0x00}) << true << 97 << 256;
        // A "no byte" flag empties the column whatever the data bits say.
        QTest::newRow("no A, data bits set") << bytes({0x88, 0x7F, 'b'}) << true << 256 << 98;
        QTest::newRow("no A, high bit set") << bytes({0x8C, 0x7F, 'b'}) << true << 256 << 98;
        QTest::newRow("neither") << bytes({0x8B, 0x7F, 0x7F}) << true << 256 << 256;
        QTest::newRow("stray high data bits") << bytes({0x85, 0xFF, 0xFF}) << true << 255 << 255;
        QTest::newRow("bits 6-4 set") << bytes({0x90, 'a', 'b'}) << false << -1 << -1;
        QTest::newRow("ff start") << bytes({0xFF, 'a', 'b'}) << false << -1 << -1;
        QTest::newRow("short") << bytes({0x80, 'a'}) << false << -1 << -1;
        QTest::newRow("empty") << QString() << false << -1 << -1;
    }
    void channels()
    {
        QFETCH(QString, record);
        QFETCH(bool, ok);
        QFETCH(int, a);
        QFETCH(int, b);
        int ga = -1, gb = -1;
        QCOMPARE(snifferChannels(record, ga, gb), ok);
        QCOMPARE(ga, a);
        QCOMPARE(gb, b);
    }

    void columns()
    {
        const QList<std::tuple<int, QString>> cases{
            {97, "a61"}, {32, " 20"}, {126, "~7E"}, {127, QString(ph) + "7F"}, {0, QString(ph) + "00"},
            {31, QString(ph) + "1F"}, {225, QString(ph) + "E1"}, {255, QString(ph) + "FF"},
            {256, QString(" ") + ph + ph}};
        for (const auto& [value, text] : cases) {
            const auto c = snifferColumn(value);
            QCOMPARE(QString(c.data(), 3), text);
        }
    }

    // The rows keep the last `depth` columns, oldest first; a smaller depth
    // applies at the next append; a page is at most 128 columns.
    void rowsBoundedByDepth()
    {
        SnifferRows rows;
        rows.setDepth(1024);
        for (int i = 0; i < 1030; ++i)
            rows.append(i % 95 + 32, 256);
        QCOMPARE(rows.count(), 1024);
        QCOMPARE(rows.row(SnifferRows::AText).at(0), QChar(6 % 95 + 32));
        QCOMPARE(rows.row(SnifferRows::BText), QString(1024, u' '));
        QCOMPARE(rows.page(SnifferRows::ALow, 1).size(), 128);
        QCOMPARE(rows.page(SnifferRows::ALow, 1000).size(), 25);
        QCOMPARE(rows.page(SnifferRows::ALow, 1025), QString());
        rows.setDepth(2048);
        for (int i = 0; i < 40000; ++i)
            rows.append(65, 66);
        QCOMPARE(rows.count(), 2048);
        rows.setDepth(1024);
        QCOMPARE(rows.count(), 2048);
        rows.append(67, 68);
        QCOMPARE(rows.count(), 1024);
        QCOMPARE(rows.row(SnifferRows::BText).right(2), QStringLiteral("BD"));
        rows.clear();
        QCOMPARE(rows.row(SnifferRows::AHigh), QString());
    }

    void streams_data()
    {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<QStringList>("page"); // A high, A low, A text, B text, B high, B low
        QTest::newRow("leading byte dropped") << QList<QByteArray>{"\x41\x80\x61\x62"}
                                              << QStringList{"6", "1", "a", "b", "6", "2"};
        QTest::newRow("split record") << QList<QByteArray>{"\x80\x61", "\x62"}
                                      << QStringList{"6", "1", "a", "b", "6", "2"};
        QTest::newRow("90 dropped") << QList<QByteArray>{"\x90\x61\x62", "\x80\x31\x32"}
                                    << QStringList{"3", "1", "1", "2", "3", "2"};
        QTest::newRow("placeholder and blank") << QList<QByteArray>{"\x80\x7F\x20"}
                                               << QStringList{"7", "F", ph, " ", "2", "0"};
        QTest::newRow("no-byte flag with data") << QList<QByteArray>{"\x88\x7F\x62", "\x80\x61\x63"}
                                                << QStringList{QString(ph) + "6", QString(ph) + "1", " a", "bc",
                                                               "66", "23"};
        QTest::newRow("garbage between") << QList<QByteArray>{QByteArray("zz\x01\x80\x61\x62 ~~", 8),
                                                              QByteArray("\x80\x63\x64", 3)}
                                         << QStringList{"66", "13", "ac", "bd", "66", "24"};
    }
    void streams()
    {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(QStringList, page);
        Bench b;
        for (const QByteArray& chunk : writes) {
            b.sim.sendRaw(chunk);
            QTest::qWait(30);
        }
        QVERIFY(b.shows(int(page[2].size())));
        QTRY_COMPARE(b.page().at, page[2]);
        const Page p = b.page();
        QCOMPARE((QStringList{p.ah, p.al, p.at, p.bt, p.bh, p.bl}), page);
        QCOMPARE(b.label("showoffset"), QStringLiteral("1"));
    }

    // Each test button writes its record once; looped back, the page shows
    // the records as the board reports them.
    void testButtons()
    {
        Bench b;
        const QList<QByteArray> written{QByteArray("\x80""ab"), QByteArray("\x84""ab"), QByteArray("\x81""ab"),
                                        QByteArray("\x88\x00""b", 3), QByteArray("\x82""a\x00", 3)};
        for (int i = 1; i <= 5; ++i) {
            b.sim.forget();
            b.click(i);
            QTRY_COMPARE(b.sim.received(), written[i - 1]);
        }
        b.sim.forget();
        b.click(6);
        QTRY_COMPARE(b.sim.received(), written[4].repeated(10) + written[3].repeated(10));

        b.click(0);
        QCOMPARE(b.label("charcount"), QStringLiteral("0"));
        b.sim.forget();
        b.sim.setLoopback(true);
        for (int i = 1; i <= 6; ++i)
            b.click(i);
        QVERIFY(b.shows(25));
        QTRY_COMPARE(b.page().at.size(), 25);
        const Page p = b.page();
        QCOMPARE(p.at, QString("a") + ph + "a a" + QString("a").repeated(10) + QString(" ").repeated(10));
        QCOMPARE(p.ah, QString("6E6") + ph + "6" + QString("6").repeated(10) + QString(ph).repeated(10));
        QCOMPARE(p.al, QString("111") + ph + "1" + QString("1").repeated(10) + QString(ph).repeated(10));
        QCOMPARE(p.bt, QString("bb") + ph + "b " + QString(" ").repeated(10) + QString("b").repeated(10));
        QCOMPARE(p.bh, QString("66E6") + ph + QString(ph).repeated(10) + QString("6").repeated(10));
        QCOMPARE(p.bl, QString("222") + "2" + ph + QString(ph).repeated(10) + QString("2").repeated(10));

        // "Clear Buffers" empties the page.
        b.click(0);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(b.box(i), QString());
        QCOMPARE(b.label("charcount"), QStringLiteral("0"));
        QCOMPARE(b.label("showoffset"), QStringLiteral("1"));
        QCOMPARE(b.position()->value(), 1);
    }

    void depthAndScrolling()
    {
        Bench b;
        QCOMPARE(b.depth()->currentText(), QStringLiteral("1024"));
        QCOMPARE(b.position()->maximum(), 896);
        b.sim.sendRaw(SnifferBoard::stream(1030));
        QVERIFY(b.shows(1024));
        // The oldest six columns fell off: the page starts at column 6.
        QTRY_COMPARE(b.page().al.left(2), QStringLiteral("67"));
        QCOMPARE(b.box(2).size(), 128);
        b.position()->setValue(897 - 1);
        QCOMPARE(b.label("showoffset"), QStringLiteral("896"));
        QCOMPARE(b.box(0).size(), 128);
        QCOMPARE(b.box(0), b.w.rows.page(SnifferRows::AText, 896));
        b.depth()->setCurrentIndex(b.depth()->findText("32768"));
        QCOMPARE(b.position()->maximum(), 32640);
        b.click(0);
        QCOMPARE(b.box(0), QString());
        QCOMPARE(b.position()->value(), 1);
    }

    // Each failure of a port gives one alert with its reason, and the window
    // goes on working with the next port chosen. A port that opens but runs
    // slower than the board is no port for it: back to "Select" without a
    // word. RTS is never switched, so a port that cannot switch it serves.
    void refusingPort()
    {
        FakePorts fakes;
        auto bad = fakes.line("fake-bad");
        auto good = fakes.line("fake-good");
        Bench b(false, "fake-bad:fake-good");
        RefusalWindow win;
        win.choose = [&] { b.choose("fake-bad"); };
        win.provoke = [&](Refusal) { b.click(1); };
        win.noPort = [&] {
            QCOMPARE(b.port(), QStringLiteral("Select"));
            QCOMPARE(b.w.serial.portopen, 0);
        };
        win.open = [&] {
            QCOMPARE(b.port(), QStringLiteral("fake-bad"));
            QVERIFY(b.w.serial.portopen);
            QCOMPARE(bad->baud, 256000);
            QVERIFY(bad->outputs & portline::DTR);
            bad->written.clear();
            b.click(1);
            QCOMPARE(bad->written, QByteArray("\x80""ab"));
        };
        win.usable = [&] {
            b.choose("fake-good");
            QCOMPARE(b.port(), QStringLiteral("fake-good"));
            QVERIFY(b.w.serial.portopen);
            QCOMPARE(good->baud, 256000);
            QVERIFY(good->outputs & portline::DTR);
            good->written.clear();
            b.click(1);
            b.click(2);
            QCOMPARE(good->written, QByteArray("\x80""ab\x84""ab"));
            b.choose("Select");
            QVERIFY(!good->open);
        };
        QList<RefusalCase> table = refusalTable();
        table.insert(refusalIndex(table, QStringLiteral("DTR at open")), {QStringLiteral("slower than the board"), Refusal::Slow, false, QString(), QString(), false});
        RefusalCase& rts = refusalCase(table, QStringLiteral("RTS at open"));
        rts.title.clear();
        rts.mentions.clear();
        rts.staysOpen = true;
        runRefusals(*bad, 256000, table, win);
    }

    // The depth is chosen from the list only: typed keys change nothing.
    void depthIgnoresTyping()
    {
        Bench b(false);
        b.depth()->setFocus();
        QTest::keyClicks(b.depth(), "3216");
        QCOMPARE(b.depth()->currentText(), QStringLiteral("1024"));
        QCOMPARE(b.position()->maximum(), 896);
    }

    void noPortAndVanish()
    {
        AlertSink alerts;
        Bench b(false);
        b.click(1);
        QTRY_COMPARE(alerts.titles, QStringList{"Serial port error"});
        b.choose(b.pty.path());
        b.sim.sendRaw(SnifferBoard::stream(200));
        QVERIFY(b.shows(200));
        b.sim.vanish();
        QTRY_COMPARE(alerts.titles, (QStringList{"Serial port error", "Com port error"}));
        QTest::qWait(100);
        QCOMPARE(alerts.titles.size(), 2);
        QCOMPARE(b.port(), QStringLiteral("Select"));
        QCOMPARE(b.w.serial.portopen, 0);
        QVERIFY(!b.w.serial.rs232.isOpen());
        b.click(0);
        QCOMPARE(b.label("charcount"), QStringLiteral("0"));
    }

    // Whatever arrives, the rows stay aligned and within the depth.
    void anyByteStream_data()
    {
        QTest::addColumn<QByteArray>("flood");
        seedRandomSource(37);
        QByteArray random(200000, '\0');
        for (char& c : random)
            c = char(randomSource().below(256));
        QTest::newRow("random") << random;
        QTest::newRow("all 80") << QByteArray(90000, '\x80');
        QTest::newRow("all 00") << QByteArray(200000, '\0');
        QTest::newRow("all 8F") << QByteArray(90001, '\x8F');
        QTest::newRow("long valid flood") << SnifferBoard::stream(60000);
    }
    void anyByteStream()
    {
        QFETCH(QByteArray, flood);
        Bench b;
        b.sim.sendRaw(flood);
        QTRY_VERIFY_WITH_TIMEOUT(b.sim.pending() == 0, 20000);
        QTest::qWait(200);
        QVERIFY(b.w.serial.ReceiveBuffer.size() <= 2);
        const int n = b.w.rows.count();
        QVERIFY(n <= 1024);
        for (auto r : {SnifferRows::AText, SnifferRows::BText, SnifferRows::AHigh, SnifferRows::ALow,
                       SnifferRows::BHigh, SnifferRows::BLow})
            QCOMPARE(b.w.rows.row(r).size(), n);
        QTRY_COMPARE(b.label("charcount"), QString::number(n));
        for (int i = 1; i < 6; ++i)
            QCOMPARE(b.box(i).size(), b.box(0).size());
    }
};

VOLTARIS_TEST(SnifferTest);
#include "test_sniffer.moc"
