#include "netlist.h"

#include "common/fields.h"

#include <algorithm>
#include <utility>

namespace {
const QString comma = QStringLiteral(",");

// A stable sort (equal elements keep their order) by less, calling step()
// after every kSortStepElements elements placed, so that no stretch of it
// grows with the number of elements. A bottom-up merge through a second
// buffer: each pass merges neighbouring sorted runs, taking the left
// element unless the right one is less, and the last pass writes into v.
// When step() gives false the sort ends there with every element still in
// v, in no particular order.
template <class T, class Less>
bool stableSortInSteps(std::vector<T>& v, Less less, const std::function<bool()>& step)
{
    const std::size_t n = v.size();
    if (n < 2)
        return true;
    std::size_t placed = 0;
    const auto due = [&](std::size_t more) { // false: stop
        if ((placed += more) < kSortStepElements || !step)
            return true;
        placed = 0;
        return step();
    };
    std::size_t passes = 0;
    for (std::size_t width = 1; width < n; width *= 2)
        ++passes;
    std::size_t first = 1;
    if (passes % 2 == 1) {
        // Passes alternate between v and the buffer: with an odd number
        // the first, of pairs, is made in place so that the last ends in v.
        for (std::size_t lo = 0; lo + 1 < n; lo += 2) {
            if (less(v[lo + 1], v[lo]))
                std::swap(v[lo], v[lo + 1]);
            if (!due(2))
                return false;
        }
        first = 2;
    }
    std::vector<T> buffer(n);
    std::vector<T>* from = &v;
    std::vector<T>* to = &buffer;
    for (std::size_t width = first; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(n, lo + width);
            const std::size_t hi = std::min(n, lo + 2 * width);
            std::size_t i = lo, j = mid, k = lo;
            while (k < hi) {
                if (j == hi || (i < mid && !less((*from)[j], (*from)[i])))
                    (*to)[k++] = std::move((*from)[i++]);
                else
                    (*to)[k++] = std::move((*from)[j++]);
                if (due(1))
                    continue;
                // What this pass has not placed yet follows what it has:
                // every element is kept.
                for (std::size_t r = i; r < mid; ++r)
                    (*to)[k++] = std::move((*from)[r]);
                for (std::size_t r = j; r < n; ++r)
                    (*to)[k++] = std::move((*from)[r]);
                if (to != &v)
                    v.swap(*to);
                return false;
            }
        }
        std::swap(from, to);
    }
    return true;
}
} // namespace

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
    // Merged a bounded stretch at a time: a single merge spanning all the
    // nets would hold the caller for as long as the whole list takes.
    if (!stableSortInSteps(nets, byFirst, step))
        return false;
    const size_t n = nets.size();
    for (size_t i = 0; i < n; ++i) {
        std::stable_sort(nets[i].nodes.begin(), nets[i].nodes.end());
        if (i % 256 == 255 && !more())
            return false;
    }
    return true;
}
