#pragma once
// The netlist section of a text netlist: nets with their first line and
// node lines, counted and optionally sorted.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <vector>

struct Net {
    // Node lines stored; -1 for a net closed before its first line.
    int count = 0;
    QString first;     // the net's first line
    QStringList nodes; // node lines as read
    // The first comma-separated field of the first line.
    QString name() const;
};

// The nets closed by an empty line between a "*netlist" line and a
// "*gates" line (first eight or six characters, any case). A line directly
// after a net's first line that repeats its first field is skipped; a net
// still open at "*gates" or at the end is dropped.
std::vector<Net> readNetlist(const QStringList& lines);

// The same, a line at a time: take() gives the nets closed so far.
class NetlistReader {
public:
    void add(const QString& line);
    std::vector<Net> take() { return std::move(m_nets); }

private:
    std::vector<Net> m_nets;
    bool m_inNetlist = false;
    Net m_current;
    int m_slot = 1; // next column of the current net: 1 its first line, 2.. its nodes
};

// Sorts the nets by their first line, then each net's node lines, both
// ascending by character code and stable (equal lines keep file order).
void sortNetlist(std::vector<Net>& nets);
// The same in parts, calling step() between them; when step() gives false
// the sort ends there, the nets in no particular order.
bool sortNetlist(std::vector<Net>& nets, const std::function<bool()>& step);

// The most nets sortNetlist moves between two step() calls while it
// orders the nets.
inline constexpr std::size_t kSortStepElements = 4096;

