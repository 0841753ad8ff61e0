#include "support/filechoice.h"
#include "support/loopgaps.h"

#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/paths.h"
#include "utilities/util_netcruncher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace {
const QByteArray twoNets = "ARES SDF netlist\r\n"
                           "N0,1\r\n"
                           "\r\n"
                           "*NETLIST,3\r\n"
                           "B,2\r\n"
                           "U2,3\r\n"
                           "U1,2\r\n"
                           "\r\n"
                           "A,1\r\n"
                           "A,1\r\n"
                           "R1,1\r\n"
                           "\r\n"
                           "C,0\r\n"
                           "\r\n"
                           "*GATES\r\n"
                           "U1,X\r\n"
                           "\r\n";

Util_netcruncher& window()
{
    return FormSlots::get<Util_netcruncher>();
}

template <class W>
W* ctl(const QString& name)
{
    auto* w = window().form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

QString text(const char* box)
{
    return ctl<QLineEdit>(box)->text();
}

QStringList entries(const char* list)
{
    QStringList out;
    auto* c = ctl<QComboBox>(list);
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

QString nodes()
{
    return ctl<QPlainTextEdit>("netspec_3")->toPlainText();
}

void process(const QString& path)
{
    FileChoiceAnswer pick(path);
    ctl<QPushButton>("cmmd_0")->click();
    QCOMPARE(pick.asked(), 1);
}
} // namespace

class TestNetWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;
    QString dir;
    QString netlist;

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        dir = QDir::toNativeSeparators(folders->workFile("nets"));
        netlist = QDir::toNativeSeparators(writeFile(dir + "/board.TXT", twoNets));
        popup("Util_netcruncher");
        QVERIFY(window().isLoaded());
    }
    void cleanup()
    {
        window().unload();
        folders.reset();
    }

    void countsAndLists_data()
    {
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QStringList>("nets");
        QTest::addColumn<QString>("firstNodes");
        QTest::newRow("Alpha Sort") << true << QStringList{"A", "B", "C"} << "R1,1";
        QTest::newRow("file order") << false << QStringList{"B", "A", "C"} << "U2,3\nU1,2";
    }
    void countsAndLists()
    {
        QFETCH(bool, sorted);
        ctl<QCheckBox>("asort")->setChecked(sorted);
        QCOMPARE(ctl<QComboBox>("netlister")->placeholderText(), QString("Load a netlist..."));
        process(netlist);
        QCOMPARE(text("currdir"), dir);
        QCOMPARE(text("netspec_0"), QString("3"));
        QCOMPARE(text("netspec_1"), QString("2"));
        QTEST(entries("netlister"), "nets");
        QCOMPARE(entries("snnlist"), QStringList({"A", "C"}));
        QCOMPARE(ctl<QComboBox>("netlister")->currentIndex(), 0);
        QTEST(nodes(), "firstNodes");
        // The repeated first field right after "A,1" is not a node.
        QCOMPARE(window().nettable()[sorted ? 0 : 1].count, 1);
        if (sorted)
            QCOMPARE(window().nettable()[1].nodes, QStringList({"U1,2", "U2,3"}));
    }

    void pickingShowsNodes()
    {
        process(netlist);
        auto* snn = ctl<QComboBox>("snnlist");
        auto* nets = ctl<QComboBox>("netlister");
        snn->setCurrentIndex(1); // "C"
        QCOMPARE(nets->currentText(), QString("C"));
        QCOMPARE(nodes(), QString());
        nets->setCurrentIndex(1); // "B"
        QCOMPARE(nodes(), QString("U1,2\nU2,3"));
        // Picking the same single-node net again shows it again.
        snn->setCurrentIndex(0);
        QCOMPARE(nets->currentText(), QString("A"));
        QCOMPARE(nodes(), QString("R1,1"));
        // The lists cannot be typed into.
        nets->setFocus();
        QTest::keyClicks(nets, "C");
        QCOMPARE(nets->currentText(), QString("A"));
    }

    void emptyNetAfterMarker()
    {
        process(writeFile(dir + "/empty.TXT", "*netlist\n\nB,1\nU1,1\n\nA,1\nU2,1\nU3,1\n*gates\n"));
        QCOMPARE(text("netspec_0"), QString("2"));
        QCOMPARE(entries("netlister"), QStringList({"", "B"}));
        QCOMPARE(entries("snnlist"), QStringList({"", "B"}));
        QCOMPARE(window().nettable()[0].count, -1);
    }

    void unreadableNetlistKeepsLastRun()
    {
        process(netlist);
        const QString gone = dir + "/gone.TXT";
        FileChoiceAnswer pick(gone);
        ModalAnswer pickAlert("Command1_0");
        pickAlert.setWindowName("Z_alert");
        ctl<QPushButton>("cmmd_0")->click();
        QVERIFY(pickAlert.answered());
        QVERIFY(pickAlert.text().contains(gone));
        QCOMPARE(text("netspec_0"), QString("3"));
        QCOMPARE(entries("netlister").size(), 3);
        QCOMPARE(text("currdir"), dir);
    }

    void damagedNetlists_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("count");
        static const char binary[] = "*netlist\0\r\n\xff\x80,\0\n\n\0\0\n";
        QTest::newRow("empty") << QByteArray() << "0";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << "1";
        QTest::newRow("truncated") << QByteArray("*netlist\nA,1\nU1,") << "0";
        QTest::newRow("long line") << QByteArray("*netlist\nA,") + QByteArray(1 << 20, 'y') + "\nU1,1\n\n" << "1";
    }
    void damagedNetlists()
    {
        QFETCH(QByteArray, bytes);
        process(writeFile(dir + "/bad.TXT", bytes));
        QTEST(text("netspec_0"), "count");
    }

    void pastOldCapacity()
    {
        QByteArray big = "*netlist\n";
        for (int n = 0; n < 5200; ++n)
            big += "N" + QByteArray::number(n) + ",1\nU" + QByteArray::number(n) + ",1\n\n";
        big += "WIDE,1500\n";
        for (int k = 0; k < 1500; ++k)
            big += "U" + QByteArray::number(10000 + k) + ",1\n";
        big += "\n*gates\n";
        ctl<QCheckBox>("asort")->setChecked(true);
        process(writeFile(dir + "/big.TXT", big));
        QCOMPARE(text("netspec_0"), QString("5201"));
        auto* nets = ctl<QComboBox>("netlister");
        QCOMPARE(nets->count(), 5201);
        nets->setCurrentIndex(nets->findText("WIDE"));
        QCOMPARE(ctl<QPlainTextEdit>("netspec_3")->document()->blockCount(), 1500);
        QVERIFY(nodes().endsWith("U11499,1"));
    }

    // Reading, sorting and listing a large netlist serve the event loop in
    // short slices.
    void largeNetlistInSlices()
    {
        QByteArray big = "*netlist\n";
        for (int n = 60000; n > 0; --n)
            big += "N" + QByteArray::number(n) + ",2\nU" + QByteArray::number(n) + ",1\nR" + QByteArray::number(n) +
                   ",2\n\n";
        big += "*gates\n";
        ctl<QCheckBox>("asort")->setChecked(true);
        const QString path = writeFile(dir + "/large.TXT", big);
        bool busySeen = true;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            gaps.watchBusySign(window().form());
            gaps.restart();
            process(path);
            gaps.stop();
            busySeen = busySeen && gaps.busySignSeen();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY(busySeen);
        QCOMPARE(text("netspec_0"), QString("60000"));
        auto* nets = ctl<QComboBox>("netlister");
        QCOMPARE(nets->count(), 60000);
        QCOMPARE(nets->itemText(0), QString("N1"));
        QCOMPARE(nodes(), QString("R1,2\nU1,1"));
    }

    // A net picked, or a netlist processed, while a large net still fills
    // the box: the box ends up holding the new net alone.
    void changeWhileFilling_data()
    {
        QTest::addColumn<bool>("processAgain");
        QTest::addColumn<QString>("want");
        QTest::newRow("other net picked") << false << "U1,1\nU2,1";
        QTest::newRow("netlist processed") << true << "R1,1";
    }
    void changeWhileFilling()
    {
        QFETCH(bool, processAgain);
        QByteArray big = "*netlist\nBIG,1\n";
        for (int k = 0; k < 300000; ++k)
            big += "X" + QByteArray::number(k) + ",1\n";
        big += "\nSMALL,2\nU1,1\nU2,1\n\n*gates\n";
        process(writeFile(dir + "/big.TXT", big));
        auto* nets = ctl<QComboBox>("netlister");
        QCOMPARE(entries("netlister"), QStringList({"BIG", "SMALL"}));
        nets->setCurrentIndex(1);
        bool changed = false;
        QTimer::singleShot(0, [&] {
            changed = true;
            if (processAgain)
                process(netlist);
            else
                nets->setCurrentIndex(1);
        });
        nets->setCurrentIndex(0); // BIG: a fill that serves the event loop
        QVERIFY(changed);
        QTEST(nodes(), "want");
    }

    void currdirSurvivesReopening()
    {
        process(netlist);
        window().unload();
        QCOMPARE(readFile(Util_netcruncher::settingsPath()), (dir + "\r\n").toLatin1());
        popup("Util_netcruncher");
        QCOMPARE(text("currdir"), dir);
        FileChoiceAnswer pick = FileChoiceAnswer::cancel();
        ctl<QPushButton>("cmmd_0")->click();
        QCOMPARE(pick.asked(), 1);
        QCOMPARE(pick.choosers.at(0).folder, dir);
        QCOMPARE(pick.choosers.at(0).mask, QString("*.TXT"));
        QCOMPARE(pick.choosers.at(0).title, QString("Select netlist to crunch"));

        window().unload();
        writeFile(Util_netcruncher::settingsPath(), "");
        popup("Util_netcruncher");
        QCOMPARE(text("currdir"), worktemp());
        window().unload();
        writeFile(Util_netcruncher::settingsPath(), "/no/such/folder\r\n");
        popup("Util_netcruncher");
        QCOMPARE(text("currdir"), worktemp());
    }
};

VOLTARIS_TEST(TestNetWindow);
#include "test_netwindow.moc"
