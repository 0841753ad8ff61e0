#include "coredata.h"
#include "alert.h"
#include "fields.h"
#include "paths.h"
#include "textlines.h"


#include <algorithm>

namespace {
const QChar kSep(0xFF);

QString errorPastEnd()
{
    return QStringLiteral("Error, request past end");
}

// Field k (from 1) of a text split on runs of blanks, "" past the end.
QString blankField(const QString& text, int k)
{
    return getfield(text, k, QStringLiteral(" "));
}

// A core row is short; a longer line (a binary file) is cut so the table
// stays small whatever the file holds, and a file past this size is read
// only that far.
constexpr qsizetype kMaxLine = 4096;
constexpr qint64 kMaxFile = 32 * 1024 * 1024;
} // namespace

CoreTable::CoreTable(QString path) : m_path(std::move(path)) {}

CoreRecord CoreTable::parseLine(const QString& line)
{
    // The list text is joined on code 255: a field that held one would
    // split its entry and shift every later one.
    QString clean = line;
    clean.remove(kSep);
    const QStringList f = (clean + QStringLiteral(" -")).split(u' ', Qt::SkipEmptyParts);
    auto field = [&f](int k) { return k <= f.size() ? f[k - 1] : QString(); };
    CoreRecord r;
    r.key = field(1) + u' ' + field(2) + u' ' + field(14);
    r.stock = field(15) + u' ' + field(16);
    for (int k = 3; k <= 13; ++k)
        r.numbers += field(k) + u' ';
    return r;
}

void CoreTable::ensureLoaded()
{
    if (loaded())
        return;
    m_rows.clear();
    for (const QString& line : readTextLines(m_path, kMaxFile).lines) {
        if (line.startsWith(u';'))
            continue;
        m_rows.push_back(parseLine(line.left(kMaxLine)));
        if (count() >= maxRows)
            break;
    }
    // By character code; rows with equal keys keep their order in the file.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const CoreRecord& a, const CoreRecord& b) { return a.key < b.key; });
    QString list = u' ' + QString::number(count() + 2) + kSep + QStringLiteral("Select");
    for (const CoreRecord& r : m_rows)
        list += kSep + r.key;
    m_list = list;
}

QString CoreTable::rowText(int row) const
{
    const CoreRecord& r = record(row);
    return r.numbers + u' ' + r.key + u' ' + r.stock;
}

QString CoreTable::sheet(int row) const
{
    const CoreRecord& r = record(row);
    struct Line {
        const char* label;
        int tabs;
        QString value;
        const char* unit;
    };
    auto num = [&r](int k) { return blankField(r.numbers, k); };
    const Line lines[] = {
        {"Name", 2, blankField(r.key, 1) + u' ' + blankField(r.key, 2), nullptr},
        {"Material", 2, blankField(r.key, 3), nullptr},
        {"In Stock?", 2, blankField(r.stock, 1), nullptr},
        {"Reference", 1, blankField(r.stock, 2), nullptr},
        {"Mu", 2, num(1), "-"},
        {"Al", 2, num(2), "mHy @ 1K Turns"},
        {"Ae", 2, num(3), "cm^2"},
        {"Aw", 2, num(4), "cm^2"},
        {"Path Length", 1, num(5), "cm"},
        {"OD", 2, num(6), "cm"},
        {"ID", 2, num(7), "cm"},
        {"Height (Thickness)", 1, num(8), "cm"},
        {"Weight", 2, num(9), "Grams"},
        {"B/NI", 2, num(10), "Gauss/Amp-Turn"},
        {"BSat", 2, num(11), "Gauss"},
    };
    QStringList out;
    for (const Line& l : lines) {
        QString s = QString::fromLatin1(l.label) + QString(l.tabs, u'\t') + l.value;
        if (l.unit)
            s += u'\t' + QString::fromLatin1(l.unit);
        out << s;
    }
    return out.join(QStringLiteral("\r\n"));
}

QString CoreTable::answer(int16_t request)
{
    ensureLoaded();
    if (request == 0)
        return m_list;
    if (request == INT16_MIN)
        return QString();
    const int row = request < 0 ? -int(request) : int(request);
    if (row > count())
        return errorPastEnd();
    if (request > 0)
        return rowText(row);
    m_sheet = sheet(row);
    alertbox(QStringLiteral("Core specifications"), m_sheet, 1);
    return QString();
}

QString coredata(const int16_t& request)
{
    static CoreTable table(joinpath(apppath(), QStringLiteral("voltaris.cdt")));
    return table.answer(request);
}
