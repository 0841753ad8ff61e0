#include "unittable.h"

#include "common/fields.h"
#include "common/files.h"
#include "common/numtext.h"

#include <cfloat>
#include <cmath>

namespace {
// The group number of a line: field 1 rounded to the nearest whole number,
// a half to the even neighbour; 0 when it is no group.
int groupOf(const QString& field)
{
    const double g = std::nearbyint(numval(field));
    return g >= 1 && g <= FactorTable::groups ? int(g) : 0;
}
} // namespace

bool FactorTable::addLine(const QString& line)
{
    const int group = groupOf(getfield(line, 1, QStringLiteral(" ")));
    if (group == 0)
        return false;
    auto& units = m_units[std::size_t(group - 1)];
    if (int(units.size()) >= capacity)
        return false;
    units.push_back({getfield(line, 2, QStringLiteral(" ")), numval(getfield(line, 3, QStringLiteral(" ")))});
    return true;
}

QStringList FactorTable::names(int group) const
{
    QStringList out;
    if (group >= 1 && group <= groups)
        for (const Unit& u : m_units[std::size_t(group - 1)])
            out << u.name;
    return out;
}

int FactorTable::count(int group) const
{
    return group >= 1 && group <= groups ? int(m_units[std::size_t(group - 1)].size()) : 0;
}

std::optional<double> FactorTable::factor(int group, int position) const
{
    if (position < 0 || position >= count(group))
        return std::nullopt;
    return m_units[std::size_t(group - 1)][std::size_t(position)].factor;
}

FactorTable readunits(const QStringList& lines)
{
    FactorTable table;
    for (const QString& line : lines)
        table.addLine(line);
    return table;
}

std::optional<QString> convertunit(const QString& source, double fs, double ft)
{
    const auto value = settingvalue(source, -DBL_MAX, DBL_MAX);
    if (!value || fs == 0 || ft == 0 || !std::isfinite(fs) || !std::isfinite(ft))
        return std::nullopt;
    const double result = *value * ft / fs;
    if (!std::isfinite(result))
        return std::nullopt;
    return plaindec(result);
}
