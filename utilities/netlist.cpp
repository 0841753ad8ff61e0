#include "netlist.h"

#include "common/fields.h"

#include <algorithm>

namespace {
const QString comma = QStringLiteral(",");
}

QString Net::name() const
{
    return getfield(first, 1, comma);
}

std::vector<Net> readNetlist(const QStringList& lines)
{
    std::vector<Net> nets;
    bool inNetlist = false;
    Net current;
    int slot = 1; // next column of the current net: 1 its first line, 2.. its nodes
    for (const QString& line : lines) {
        if (line.left(8).toLower() == QLatin1String("*netlist")) {
            inNetlist = true;
        } else if (line.isEmpty()) {
            if (!inNetlist)
                continue;
            current.count = slot - 2;
            nets.push_back(std::move(current));
            current = Net();
            slot = 1;
        } else if (line.left(6).toLower() == QLatin1String("*gates")) {
            inNetlist = false;
        } else if (inNetlist) {
            if (slot == 1) {
                current.first = line;
            } else {
                if (slot == 2 && getfield(line, 1, comma) == current.name())
                    continue;
                current.nodes << line;
            }
            ++slot;
        }
    }
    return nets;
}

void sortNetlist(std::vector<Net>& nets)
{
    // QString's ordering compares UTF-16 code units: case-sensitive
    // character-code order, as the neighbour-swap passes compared.
    std::stable_sort(nets.begin(), nets.end(), [](const Net& a, const Net& b) { return a.first < b.first; });
    for (Net& n : nets)
        std::stable_sort(n.nodes.begin(), n.nodes.end());
}
