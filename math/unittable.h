#pragma once
// The unit table "units.udb": one unit per line, "group name factor",
// fields split at runs of blanks. Factors are relative within a group: a
// value x in unit A is x * fB / fA in unit B.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class FactorTable {
public:
    static constexpr int groups = 13;
    static constexpr int capacity = 101; // units per group

    // Adds the unit of one line. Lines whose group is not 1 to 13 (blank
    // lines, headings, comments) are skipped, and so are further units of
    // a group that already holds `capacity`. True when the unit was added.
    bool addLine(const QString& line);
    // The units of a group (1 to 13) in file order; none for other groups.
    QStringList names(int group) const;
    int count(int group) const;
    // The factor at a unit position of a group; none outside the table.
    std::optional<double> factor(int group, int position) const;

private:
    struct Unit {
        QString name;
        double factor;
    };
    std::array<std::vector<Unit>, groups> m_units;
};

// Reads the table from the lines of a unit file.
FactorTable readunits(const QStringList& lines);

// The text of `source` in the target unit: value * ft / fs in the general
// form. None when there is nothing to convert: a source that does not begin
// with a finite number, a factor of 0, or a result that is not finite.
std::optional<QString> convertunit(const QString& source, double fs, double ft);
