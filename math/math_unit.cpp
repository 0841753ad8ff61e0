#include "math_unit.h"

#include "slicing.h"

#include "common/alert.h"
#include "common/busysign.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/paths.h"
#include "common/pacing.h"
#include "common/textlines.h"
#include "common/timeslice.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>

#include <array>

struct Math_unit::Ui : Controls {
    std::array<QLineEdit*, 26> unitentry{};
    std::array<QComboBox*, 26> unitselector{};
    std::array<QLabel*, 13> Label1{};
};

namespace {
const char* const groupNames[13] = {"Distance", "Area",    "Volume", "Weight - Mass", "Angle",
                                    "Temperature", "Pressure", "Speed", "Power", "Energy - Work",
                                    "Time",     "Computer Units", "Prefixes"};
// The temperature pair is listed but converted only between like units:
// its units need an offset as well as a factor, which the table lacks.
constexpr int temperatureGroup = 6;
// A unit table is a few kilobytes; one past this size is no unit table and
// is refused whole rather than read in part.
constexpr qint64 maxTableBytes = 16 << 20;

int groupOfIndex(int index)
{
    return index / 2 + 1;
}
int partnerOf(int index)
{
    return index % 2 == 0 ? index + 1 : index - 1;
}
} // namespace

Math_unit::Math_unit() : ToolWindow(QStringLiteral("Math_unit"), QSize(8400, 6960)) {}

Math_unit::Ui* Math_unit::ui() const
{
    return controls<Ui>();
}

void Math_unit::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Unit Converter"));
    auto* u = makeControls<Ui>();
    for (int g = 0; g < 13; ++g) {
        // Groups 1 to 7 in the left column, 8 to 13 in the right.
        const double left = g < 7 ? 120 : 4260;
        const double top = 120 + (g < 7 ? g : g - 7) * 960;
        u->Label1[std::size_t(g)] = placeLabel(form, QString::fromLatin1(groupNames[g]), left, top, 3900, 255,
                                               arrayName(QStringLiteral("Label1"), g));
        for (int side = 0; side < 2; ++side) {
            const int i = 2 * g + side;
            const double x = left + side * 2010;
            auto* e = place<QLineEdit>(form, arrayName(QStringLiteral("unitentry"), i), x, top + 255, 1890, 285);
            e->setText(QStringLiteral("1"));
            auto* s = place<QComboBox>(form, arrayName(QStringLiteral("unitselector"), i), x, top + 570, 1890, 315);
            s->setPlaceholderText(QStringLiteral("Select Unit"));
            u->unitentry[std::size_t(i)] = e;
            u->unitselector[std::size_t(i)] = s;
            onKeyPress(e, [this, i](int key) {
                m_which = i;
                return key == 13 ? 0 : keydecimal(key);
            });
            on(e, &QLineEdit::textChanged, [this, i] { unitentry_Change(i); });
            on(s, &QComboBox::currentIndexChanged, [this, i] { unitselector_Click(i); });
            onKeyPress(s, [](int) { return 0; });
        }
    }
}

void Math_unit::onLoad()
{
    m_loaded = false;
    initchars();
    loadunits();
    // Closed or quitting while the table was read: the form goes.
    if (!aborted() && !quitting())
        m_loaded = true;
}

void Math_unit::loadunits()
{
    Ui* u = ui();
    if (!u || m_reading)
        return;
    const QScopedValueRollback<bool> reading(m_reading, true);
    m_table = FactorTable();
    for (QComboBox* s : u->unitselector)
        s->clear();
    const QString path = joinpath(apppath(), QStringLiteral("units.udb"));
    // A table of many megabytes is read a line at a time while the event
    // loop is served; the selectors take it only once it is whole.
    const BusySign busy(form());
    TimeSlicer slicer(workSliceMs());
    TextLineReader file(path, maxTableBytes);
    if (!file.prepare(slicer))
        return;
    FactorTable table;
    QString line;
    while (file.next(line)) {
        table.addLine(line);
        if (!slicer.yield())
            return;
    }
    if (file.status() == TextLines::Missing || file.status() == TextLines::Unreadable) {
        beep();
        return;
    }
    if (file.status() == TextLines::TooLarge) {
        alertbox(QStringLiteral("Unit table error"), toolargetext(path, maxTableBytes), 0);
        return;
    }
    m_table = std::move(table);
    for (int i = 0; i < 26; ++i) {
        QComboBox* s = u->unitselector[std::size_t(i)];
        s->addItems(m_table.names(groupOfIndex(i)));
    }
    for (int i = 0; i < 26; ++i) {
        QComboBox* s = u->unitselector[std::size_t(i)];
        if (s->count() > 0)
            s->setCurrentIndex(0);
    }
}

void Math_unit::unitentry_Change(int index)
{
    // The box the user edits is the source, whether typed into or pasted
    // into; our own writing of the target is no edit.
    if (m_writing)
        return;
    m_which = index;
    recalc();
}

void Math_unit::unitselector_Click(int index)
{
    if (!m_loaded)
        return;
    m_which = partnerOf(index);
    recalc();
}

void Math_unit::recalc()
{
    Ui* u = ui();
    if (!u || !m_loaded || m_which < 0 || m_which > 25)
        return;
    const int group = groupOfIndex(m_which);
    const int target = partnerOf(m_which);
    const int from = u->unitselector[std::size_t(m_which)]->currentIndex();
    const int to = u->unitselector[std::size_t(target)]->currentIndex();
    auto write = [&](const QString& text) {
        m_writing = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{m_writing};
        u->unitentry[std::size_t(target)]->setText(text);
    };
    // Between two different temperature units the partner says it has no
    // result rather than keep a number that would read as one.
    if (group == temperatureGroup && from >= 0 && to >= 0 && from != to) {
        write(QStringLiteral("---"));
        return;
    }
    const auto fs = m_table.factor(group, from);
    const auto ft = m_table.factor(group, to);
    if (!fs || !ft)
        return;
    const auto text = convertunit(u->unitentry[std::size_t(m_which)]->text(), *fs, *ft);
    if (!text)
        return;
    write(*text);
}
