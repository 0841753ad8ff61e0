#include "support/testmain.h"

#include "utilities/netlist.h"

#include <QTest>

#include <algorithm>

namespace {
QStringList names(const std::vector<Net>& nets)
{
    QStringList out;
    for (const Net& n : nets)
        out << n.name() + ":" + QString::number(n.count) + ":" + n.nodes.join('|');
    return out;
}
} // namespace

class TestNetlist : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("want");
        QTest::newRow("repeated first field skipped once")
            << QStringList{"*NETLIST,2", "N1,2", "N1,again", "U1,1", "N1,again", "", "*GATES"}
            << QStringList{"N1:2:U1,1|N1,again"};
        QTest::newRow("empty line right after *netlist")
            << QStringList{"*netlist", "", "B,1", "U1,1", "", "*gates"}
            << QStringList{":-1:", "B:1:U1,1"};
        QTest::newRow("unclosed last net lost")
            << QStringList{"*netlist", "A,1", "U1,1", "", "B,1", "U2,1", "*gates", ""}
            << QStringList{"A:1:U1,1"};
        QTest::newRow("open at end of file lost") << QStringList{"*netlist", "A,1", "U1,1"} << QStringList{};
        QTest::newRow("lines outside the section")
            << QStringList{"", "X,1", "", "*netlistxyz", "A,0", "", "*gatesmore", "Y,1", "", ""}
            << QStringList{"A:0:"};
        QTest::newRow("no section") << QStringList{"A,1", "U1,1", ""} << QStringList{};
        QTest::newRow("empty file") << QStringList{} << QStringList{};
        QTest::newRow("short marks") << QStringList{"*net", "A", "", "*gat"} << QStringList{};
    }
    void reading()
    {
        QFETCH(QStringList, lines);
        QTEST(names(readNetlist(lines)), "want");
    }

    void sorting()
    {
        const QStringList lines = {"*netlist", "b,2", "U2,1", "u1,1", "U1,1", "", "B,1", "X", "", "A,9", "y", "Y", "",
                                   "B,1", "W", "", "*gates"};
        std::vector<Net> nets = readNetlist(lines);
        QCOMPARE(names(nets), QStringList({"b:3:U2,1|u1,1|U1,1", "B:1:X", "A:2:y|Y", "B:1:W"}));
        sortNetlist(nets);
        // Character-code order: upper case before lower; equal first lines
        // keep file order.
        QCOMPARE(names(nets), QStringList({"A:2:Y|y", "B:1:X", "B:1:W", "b:3:U1,1|U2,1|u1,1"}));
    }

    // Sorted in parts, runs merged across their edges: the same order as a
    // whole stable sort, equal first lines still in file order.
    void sortingInParts()
    {
        std::vector<Net> nets;
        for (int i = 0; i < 20000; ++i) {
            Net n;
            n.first = QString("N%1,%2").arg((i * 7919) % 3001).arg(i % 3 ? 1 : 2);
            n.nodes = {QString("U%1").arg(i % 5), QString("U%1").arg(i % 3)};
            n.count = i; // file order, to see stability
            nets.push_back(n);
        }
        std::vector<Net> whole = nets;
        std::stable_sort(whole.begin(), whole.end(), [](const Net& a, const Net& b) { return a.first < b.first; });
        for (Net& n : whole)
            std::stable_sort(n.nodes.begin(), n.nodes.end());
        int steps = 0;
        QVERIFY(sortNetlist(nets, [&] { return ++steps > 0; }));
        QVERIFY(steps > 5);
        QCOMPARE(names(nets), names(whole));
        for (size_t i = 0; i < nets.size(); ++i)
            QCOMPARE(nets[i].count, whole[i].count);
        // Stopped: it says so.
        QVERIFY(!sortNetlist(nets, [] { return false; }));
    }

    // Any input sorts as a whole stable sort does, and no stretch between
    // two step() calls moves more than kSortStepElements nets: the nets
    // changed since the last call are counted, not the time taken.
    void sortingInBoundedSteps_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("keys"); // distinct first lines; 0 for a descending run
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("all equal") << 9000 << 1;
        QTest::newRow("few keys") << 30000 << 7;
        QTest::newRow("many keys, odd size") << 3 * int(kSortStepElements) + 5 << 2000;
        QTest::newRow("descending") << 40000 << 0;
    }
    void sortingInBoundedSteps()
    {
        QFETCH(int, count);
        QFETCH(int, keys);
        std::vector<Net> nets;
        for (int i = 0; i < count; ++i) {
            Net n;
            const int key = keys ? (i * 7919) % keys : count - i;
            n.first = QString("N%1").arg(key, 6, 10, QChar('0'));
            n.count = i; // file order, to see stability
            nets.push_back(n);
        }
        std::vector<Net> whole = nets;
        std::stable_sort(whole.begin(), whole.end(), [](const Net& a, const Net& b) { return a.first < b.first; });

        std::vector<std::pair<QString, int>> seen;
        const auto look = [&] { // the nets changed since the last look
            size_t changed = 0;
            seen.resize(nets.size());
            for (size_t i = 0; i < nets.size(); ++i) {
                const std::pair<QString, int> now{nets[i].first, nets[i].count};
                changed += now != seen[i];
                seen[i] = now;
            }
            return changed;
        };
        look();
        size_t most = 0;
        QVERIFY(sortNetlist(nets, [&] {
            most = std::max(most, look());
            return true;
        }));
        most = std::max(most, look());
        QVERIFY2(most <= kSortStepElements, qPrintable(QString::number(most)));
        QCOMPARE(nets.size(), whole.size());
        for (size_t i = 0; i < nets.size(); ++i) {
            QCOMPARE(nets[i].first, whole[i].first);
            QCOMPARE(nets[i].count, whole[i].count);
        }
    }

    // Stopped in the middle of ordering the nets: every net is still there.
    void stoppedSortKeepsEveryNet()
    {
        std::vector<Net> nets;
        for (int i = 0; i < 30000; ++i) {
            Net n;
            n.first = QString("N%1").arg((i * 7919) % 30011);
            n.count = i;
            nets.push_back(n);
        }
        const std::vector<Net> before = nets;
        int steps = 0;
        QVERIFY(!sortNetlist(nets, [&] { return ++steps < 40; }));
        QCOMPARE(steps, 40);
        std::sort(nets.begin(), nets.end(), [](const Net& a, const Net& b) { return a.count < b.count; });
        QCOMPARE(nets.size(), before.size());
        for (size_t i = 0; i < nets.size(); ++i) {
            QCOMPARE(nets[i].count, before[i].count);
            QCOMPARE(nets[i].first, before[i].first);
        }
    }

    void pastOldCapacities()
    {
        QStringList lines = {"*netlist"};
        for (int n = 0; n < 6000; ++n)
            lines << QString("N%1,1").arg(n) << QString("U%1,1").arg(n) << "";
        lines << "BIG,1500";
        for (int k = 0; k < 1500; ++k)
            lines << QString("U%1,%2").arg(k).arg(k % 7);
        lines << "" << "*gates";
        const std::vector<Net> nets = readNetlist(lines);
        QCOMPARE(nets.size(), size_t(6001));
        QCOMPARE(nets.back().count, 1500);
        QCOMPARE(nets.back().nodes.size(), 1500);
    }
};

VOLTARIS_TEST(TestNetlist);
#include "test_netlist.moc"
