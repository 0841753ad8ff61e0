// Figures for the board-file converters: a pick-and-place export merged
// with a parts list, and a netlist read and sorted, at a size given on the
// command line, so the growth with size can be read off several runs.
//
//   bench_boardfiles pkp 100000   placements (half per side) and entries
//   bench_boardfiles net 100000   nets of three node lines each
//   bench_boardfiles --smoke      both at 2000
//
// The results are checked: every placement on its side with its rounded
// coordinates and its own part number, the parts list's heading line as its
// one orphan (a heading is read like data), every net kept under its own
// name with its own node lines, and sorted.

#include "bench/benchkit.h"
#include "common/textlines.h"
#include "utilities/netlist.h"
#include "utilities/pkpdata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// A fixed shuffle, so every run sees the same files.
quint64 nextRandom(quint64& state)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 33;
}

QString writeText(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

void step(const char* what, QElapsedTimer& clock)
{
    std::printf("  %-34s %9.1f ms\n", what, clock.nsecsElapsed() / 1e6);
    clock.restart();
}

void placements(int n)
{
    QTemporaryDir dir;
    quint64 seed = 1;
    QByteArray pkp = "Pick and place export\r\n\r\nPart ID,Value,Package,Layer,Rotation,X,Y\r\n";
    QByteArray bom = "Refdes,Part#,Value\r\n";
    std::vector<quint64> partNumbers(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        const QByteArray ref = "R" + QByteArray::number(i);
        pkp += "\"" + ref + "\",\"10k\",\"RES40\"," + (i % 2 ? "BOT" : "TOP") + "," +
               QByteArray::number(int(nextRandom(seed) % 720) - 360) + ".5," + QByteArray::number(i) + ".25," +
               QByteArray::number(n - i) + "\r\n";
    }
    // The parts list names the same designators in another order.
    for (int i = n - 1; i >= 0; --i) {
        partNumbers[size_t(i)] = nextRandom(seed) % 1000;
        bom += "R" + QByteArray::number(i) + ",PN-" + QByteArray::number(partNumbers[size_t(i)]) + ",10k\r\n";
    }
    const QString pkpPath = writeText(dir, "board.pkp", pkp);
    const QString bomPath = writeText(dir, "board.csv", bom);

    QElapsedTimer clock;
    clock.start();
    const TextLines pkpLines = readTextLines(pkpPath, qint64(1) << 30);
    const TextLines bomLines = readTextLines(bomPath, qint64(1) << 30);
    step("read both files", clock);
    PlacementSides sides = readPlacements(pkpLines.lines);
    step("placements", clock);
    const std::vector<PartsEntry> entries = readPartsList(bomLines.lines);
    step("parts list", clock);
    const auto orphans = mergePartNumbers(sides, entries);
    step("merge", clock);
    const QStringList top = placementList(sides.top, "TOP.XY", topTitle("board"), ListOptions(), true);
    const QStringList bottom = placementList(sides.bottom, "BOTTOM.XY", bottomTitle("board"), ListOptions(), true);
    step("both placement lists", clock);
    std::printf("pkp %d: %zu top, %zu bottom, %zu entries, %zu orphans, %lld list lines\n", n, sides.top.size(),
                sides.bottom.size(), entries.size(), orphans.size(), (long long)(top.size() + bottom.size()));

    bench::Verdict& v = bench::verdict();
    v.check(sides.top.size() == size_t(n + 1) / 2 && sides.bottom.size() == size_t(n) / 2,
            "pkp: %zu top and %zu bottom placements of %d", sides.top.size(), sides.bottom.size(), n);
    v.check(entries.size() == size_t(n) + 1, "pkp: %zu parts-list entries for %d lines", entries.size(), n + 1);
    v.check(orphans.size() == 1 && orphans.front().refdes == u"Refdes" && orphans.front().partno == u"Part#",
            "pkp: %zu orphans, the heading line expected as the only one", orphans.size());
    // Placement i is R<i> on side i % 2, at (i, n - i) once rounded.
    int wrong = 0, firstWrong = -1;
    for (int side = 0; side < 2; ++side) {
        const std::vector<Placement>& list = side == 0 ? sides.top : sides.bottom;
        for (size_t j = 0; j < list.size(); ++j) {
            const int i = int(2 * j) + side;
            const Placement& p = list[j];
            const bool ok = p.refdes == u'R' + QString::number(i) && p.x == i && p.y == n - i &&
                            p.partno == QStringLiteral("PN-") + QString::number(partNumbers[size_t(i)]);
            if (!ok && wrong++ == 0)
                firstWrong = i;
        }
    }
    v.check(wrong == 0, "pkp: %d placements wrong, the first R%d", wrong, firstWrong);
    // Two title lines and a heading per side.
    v.check(top.size() == qsizetype(sides.top.size()) + 3 && bottom.size() == qsizetype(sides.bottom.size()) + 3,
            "pkp: %lld and %lld list lines", (long long)top.size(), (long long)bottom.size());
}

void nets(int n)
{
    QTemporaryDir dir;
    quint64 seed = 2;
    QByteArray text = "ARES netlist\r\n*NETLIST," + QByteArray::number(n) + "\r\n";
    // What the file says, net by net: its first line and its node lines.
    std::vector<std::pair<QString, QStringList>> written;
    written.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        const QByteArray first = "N" + QByteArray::number(nextRandom(seed)) + ",3";
        QStringList nodes;
        text += first + "\r\n";
        for (int k = 0; k < 3; ++k) {
            const QByteArray node = "U" + QByteArray::number(nextRandom(seed) % 5000) + "," + QByteArray::number(k + 1);
            text += node + "\r\n";
            nodes << QString::fromLatin1(node);
        }
        text += "\r\n";
        written.emplace_back(QString::fromLatin1(first), nodes);
    }
    text += "*GATES\r\n";
    const QString path = writeText(dir, "nets.TXT", text);

    QElapsedTimer clock;
    clock.start();
    const TextLines lines = readTextLines(path, qint64(1) << 30);
    step("read the file", clock);
    std::vector<Net> table = readNetlist(lines.lines);
    step("nets", clock);
    sortNetlist(table);
    step("sort", clock);
    std::printf("net %d: %zu nets, first %s\n", n, table.size(),
                table.empty() ? "none" : qPrintable(table.front().name()));

    bench::Verdict& v = bench::verdict();
    v.check(table.size() == size_t(n), "net: %zu nets read of %d", table.size(), n);
    v.check(std::is_sorted(table.begin(), table.end(), [](const Net& a, const Net& b) { return a.first < b.first; }),
            "net: the nets are not in order");
    const auto bad = std::find_if(table.begin(), table.end(), [](const Net& net) {
        return net.count != 3 || net.nodes.size() != 3 || !std::is_sorted(net.nodes.begin(), net.nodes.end());
    });
    v.check(bad == table.end(), "net: net %s has not its three node lines in order",
            bad == table.end() ? "" : qPrintable(bad->name()));
    // Each net as written, by name: the nets in order of their first lines
    // (equal ones in file order), each with its own node lines in order.
    std::stable_sort(written.begin(), written.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& net : written)
        std::sort(net.second.begin(), net.second.end());
    size_t k = 0;
    while (k < std::min(table.size(), written.size()) && table[k].first == written[k].first &&
           table[k].nodes == written[k].second)
        ++k;
    v.check(k == written.size() && table.size() == written.size(), "net: net %zu is %s (%s), written %s (%s)", k,
            k < table.size() ? qPrintable(table[k].first) : "missing",
            k < table.size() ? qPrintable(table[k].nodes.join(u' ')) : "",
            k < written.size() ? qPrintable(written[k].first) : "none",
            k < written.size() ? qPrintable(written[k].second.join(u' ')) : "");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (bench::smokeRun(argc, argv)) {
        placements(2000);
        nets(2000);
        return bench::verdict().exitCode();
    }
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("pkp");
    const int n = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (n < 1)
        return 2;
    if (mode == "net")
        nets(n);
    else
        placements(n);
    return bench::verdict().exitCode();
}
