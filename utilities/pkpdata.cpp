#include "pkpdata.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <QHash>

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

const QString comma = QStringLiteral(",");
const QString blank = QStringLiteral(" ");
const QString tab = QStringLiteral("\t");

// The text between quote number 2k-1 and quote number 2k (k from 1); ""
// when the line has fewer quotes. toEnd: a missing closing quote lets the
// text run to the end of the line.
QString quoted(const QString& line, int k, bool toEnd = false)
{
    qsizetype open = -1;
    for (int n = 0; n < 2 * k - 1; ++n) {
        open = line.indexOf(u'"', open + 1);
        if (open < 0)
            return QString();
    }
    const qsizetype close = line.indexOf(u'"', open + 1);
    if (close < 0)
        return toEnd ? line.mid(open + 1) : QString();
    return line.mid(open + 1, close - open - 1);
}

QString firstWord(const QString& text)
{
    return getfield(text, 1, blank);
}

// Number-to-text without its sign blank; -0 and 0 alike give "0", a
// non-number "---". From 1e15 on number-to-text would round to 15 digits
// or switch to exponent form ("1E+20"); the lists write such a coordinate
// in plain digits instead, as many as it takes to give back the very value
// held (1234567890123456 stays itself, 1e20 is a 1 and twenty zeros).
QString wholeText(double v)
{
    if (std::isfinite(v) && std::fabs(v) >= 1e15) {
        // The shortest significant digits that read back as the value
        // ("-1.234e+20"), then zeros up to the units. A whole number never
        // needs digits past its units, so the point always goes.
        char sci[64];
        const auto end = std::to_chars(sci, sci + sizeof sci, std::round(v), std::chars_format::scientific);
        const std::string_view text(sci, size_t(end.ptr - sci));
        const size_t e = text.find('e');
        int exponent = 0;
        std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
        QString out;
        int significant = 0;
        for (const char c : text.substr(0, e)) {
            if (c != '.')
                out += QLatin1Char(c);
            if (c >= '0' && c <= '9')
                ++significant;
        }
        return out + QString(qMax(0, exponent + 1 - significant), u'0');
    }
    return numstr(v + 0.0).trimmed();
}

} // namespace

double roundCoordinate(double v)
{
    // Not floor(v + 0.5): from 2^52 on that sum rounds an odd whole number
    // up to its even neighbour.
    const double down = std::floor(v);
    return (v - down >= 0.5 ? down + 1.0 : down) + 0.0;
}

double roundRotation(double v)
{
    // Half to the even neighbour, as the default rounding mode does.
    return std::fmod(std::nearbyint(v + 360.0), 360.0) + 0.0;
}

PlacementSides readPlacements(const QStringList& lines)
{
    PlacementSides sides;
    for (const QString& line : lines) {
        if (!line.startsWith(u'"'))
            continue;
        // Every comma separates, even one inside quotes.
        const QString layer = getfield(line, 4, comma).toLower();
        std::vector<Placement>* side = nullptr;
        if (layer == QLatin1String("top"))
            side = &sides.top;
        else if (layer == QLatin1String("bot"))
            side = &sides.bottom;
        else
            continue;
        Placement p;
        p.refdes = quoted(line, 1);
        p.x = roundCoordinate(numval(getfield(line, 6, comma)));
        p.y = roundCoordinate(numval(getfield(line, 7, comma)));
        p.rotation = roundRotation(numval(getfield(line, 5, comma)));
        p.symbval = quoted(line, 3) + u'-' + quoted(line, 2);
        side->push_back(std::move(p));
    }
    return sides;
}

std::vector<PartsEntry> readPartsList(const QStringList& lines)
{
    std::vector<PartsEntry> entries;
    for (const QString& line : lines) {
        if (line.startsWith(u'"')) {
            const QString list = quoted(line, 1);
            // What follows the list's closing quote, up to a further quote.
            const qsizetype close = line.indexOf(u'"', 1);
            QString rest;
            if (close >= 0) {
                const qsizetype next = line.indexOf(u'"', close + 1);
                rest = next < 0 ? line.mid(close + 1) : line.mid(close + 1, next - close - 1);
            }
            const QString partno = firstWord(getfield(rest, 2, comma));
            // Split here rather than field by field: a list may name far
            // more designators than getfield counts. A trailing comma opens
            // no name.
            QStringList names = list.isEmpty() ? QStringList() : list.split(u',');
            if (names.size() > 1 && list.endsWith(u','))
                names.removeLast();
            for (const QString& name : names)
                entries.push_back({firstWord(name), partno});
        } else if (!firstWord(line).isEmpty()) {
            entries.push_back({firstWord(getfield(line, 1, comma)), firstWord(getfield(line, 2, comma))});
        }
    }
    return entries;
}

std::vector<PartsEntry> mergePartNumbers(PlacementSides& sides, const std::vector<PartsEntry>& entries,
                                         const std::function<bool()>& serve)
{
    // A large board's lists take longer than one slice of the event loop.
    size_t steps = 0;
    const auto goOn = [&] { return !serve || (++steps % 256 != 0) || serve(); };
    // Per designator, its free entries in file order as a chain: the head
    // is the first free entry that matches, next[] leads to the one after.
    constexpr size_t none = size_t(-1);
    QHash<QString, size_t> head;
    head.reserve(qsizetype(entries.size()));
    std::vector<size_t> next(entries.size(), none);
    for (size_t i = entries.size(); i-- > 0;) {
        if (!goOn())
            return {};
        auto it = head.find(entries[i].refdes);
        if (it == head.end()) {
            head.insert(entries[i].refdes, i);
        } else {
            next[i] = *it;
            *it = i;
        }
    }
    std::vector<bool> taken(entries.size(), false);
    for (auto* side : {&sides.top, &sides.bottom}) {
        for (Placement& p : *side) {
            if (!goOn())
                return {};
            p.partno = QString::fromLatin1(unknownPartNumber);
            auto it = head.find(p.refdes);
            if (it == head.end() || *it == none)
                continue;
            const size_t i = *it;
            *it = next[i];
            taken[i] = true;
            p.partno = entries[i].partno;
        }
    }
    std::vector<PartsEntry> orphans;
    for (size_t i = 0; i < entries.size(); ++i)
        if (!taken[i])
            orphans.push_back(entries[i]);
    return orphans;
}

QStringList orphanLines(const std::vector<PartsEntry>& orphans)
{
    QStringList out;
    for (const PartsEntry& e : orphans)
        out << e.refdes + tab + e.partno;
    return out;
}

bool suppressed(const Placement& p, const ListOptions& o)
{
    if (o.suppressDni) {
        // The numeric columns are digits only and never hold the mark.
        for (const QString* s : {&p.refdes, &p.partno, &p.symbval})
            if (s->contains(QLatin1String("dni"), Qt::CaseInsensitive))
                return true;
    }
    if (p.refdes.isEmpty())
        return false;
    const QChar first = p.refdes[0].toLower();
    return (o.suppressJx && first == u'j') || (o.suppressPx && first == u'p') || (o.suppressEx && first == u'e');
}

QStringList placementHeading(const QString& title1, const QString& title2, bool withSymbol)
{
    QString heading = QStringLiteral("Refdes\tX\tY\tRotate\tPart#");
    if (withSymbol)
        heading += QStringLiteral("\t\tSymb-Value");
    return {title1, title2, heading};
}

QString placementLine(const Placement& p, const ListOptions& options, bool withSymbol)
{
    QString line = p.refdes + tab + wholeText(p.x - options.offsetX) + tab + wholeText(p.y - options.offsetY) + tab +
                   wholeText(p.rotation) + tab + p.partno;
    if (withSymbol)
        line += tab + p.symbval;
    return line;
}

QStringList placementList(const std::vector<Placement>& side, const QString& title1, const QString& title2,
                          const ListOptions& options, bool withSymbol)
{
    QStringList out = placementHeading(title1, title2, withSymbol);
    out.reserve(qsizetype(side.size()) + 3);
    for (const Placement& p : side) {
        if (!suppressed(p, options))
            out << placementLine(p, options, withSymbol);
    }
    return out;
}

QString topTitle(const QString& base)
{
    return base + QStringLiteral(" Vx TOP");
}

QString bottomTitle(const QString& base)
{
    return base + QStringLiteral(" Vx Bottom");
}
