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
    NetlistReader reader;
    for (const QString& line : lines)
        reader.add(line);
    return reader.take();
}

void NetlistReader::add(const QString& line)
{
    if (line.startsWith(QLatin1String("*netlist"), Qt::CaseInsensitive)) {
        m_inNetlist = true;
    } else if (line.isEmpty()) {
        if (!m_inNetlist)
            return;
        m_current.count = m_slot - 2;
        m_nets.push_back(std::move(m_current));
        m_current = Net();
        m_slot = 1;
    } else if (line.startsWith(QLatin1String("*gates"), Qt::CaseInsensitive)) {
        m_inNetlist = false;
    } else if (m_inNetlist) {
        if (m_slot == 1) {
            m_current.first = line;
        } else {
            if (m_slot == 2 && getfield(line, 1, comma) == m_current.name())
                return;
            m_current.nodes << line;
        }
        ++m_slot;
    }
}

void sortNetlist(std::vector<Net>& nets)
{
    sortNetlist(nets, {});
}

bool sortNetlist(std::vector<Net>& nets, const std::function<bool()>& step)
{
    // QString's ordering compares UTF-16 code units: case-sensitive
    // character-code order, as the neighbour-swap passes compared.
    const auto byFirst = [](const Net& a, const Net& b) { return a.first < b.first; };
    const auto more = [&step] { return !step || step(); };
    // Runs sorted one by one, then merged in pairs: each part is short, and
    // both steps keep equal lines in file order.
    constexpr size_t run = 4096;
    const size_t n = nets.size();
    for (size_t lo = 0; lo < n; lo += run) {
        std::stable_sort(nets.begin() + lo, nets.begin() + std::min(n, lo + run), byFirst);
        if (!more())
            return false;
    }
    for (size_t width = run; width < n; width *= 2) {
        for (size_t lo = 0; lo + width < n; lo += 2 * width) {
            std::inplace_merge(nets.begin() + lo, nets.begin() + lo + width, nets.begin() + std::min(n, lo + 2 * width),
                               byFirst);
            if (!more())
                return false;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        std::stable_sort(nets[i].nodes.begin(), nets[i].nodes.end());
        if (i % 256 == 255 && !more())
            return false;
    }
    return true;
}
