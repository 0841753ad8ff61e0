#pragma once
// Pick-and-place exports, parts lists and the placement lists made of them:
// plain text in, tables and text out, so the converter window only binds
// them to its controls.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The part number a placement carries until the parts list names one.
inline constexpr const char* unknownPartNumber = "##########";

struct Placement {
    QString refdes;
    // Whole numbers; a coordinate too large for a double stays infinite and
    // is shown as "---" like every other non-number.
    double x = 0;
    double y = 0;
    double rotation = 0;
    QString partno = QString::fromLatin1(unknownPartNumber);
    QString symbval; // symbol, "-", value
};

struct PlacementSides {
    std::vector<Placement> top;
    std::vector<Placement> bottom;
};

// The placement lines of a pick-and-place export: lines starting with a
// double quote whose fourth comma field is "top" or "bot" in any case;
// every other line is skipped.
PlacementSides readPlacements(const QStringList& lines);

// Placement rounding: X and Y half up; the rotation taken modulo 360 after
// adding 360 and rounding half to even, keeping the sign of the dividend.
double roundCoordinate(double v);
double roundRotation(double v);

struct PartsEntry {
    QString refdes;
    QString partno;
};

// The entries of a parts list in file order: a quoted designator list gives
// one entry per designator, any other non-blank line one entry.
std::vector<PartsEntry> readPartsList(const QStringList& lines);

// Gives every placement the part number of the first still-free entry of its
// designator (top side first, then bottom; exact, case-sensitive match) and
// returns the entries left free, in file order. Placements without an entry
// get the unknown part number. serve, when given, is called between short
// runs of the work; when it returns false the merge stops where it is and
// the placements are left part-merged.
std::vector<PartsEntry> mergePartNumbers(PlacementSides& sides, const std::vector<PartsEntry>& entries,
                                         const std::function<bool()>& serve = {});

// "designator TAB part number" for each entry.
QStringList orphanLines(const std::vector<PartsEntry>& orphans);

struct ListOptions {
    bool suppressJx = true;
    bool suppressPx = true;
    bool suppressEx = true;
    bool suppressDni = true;
    double offsetX = 0;
    double offsetY = 0;
};

// True when the options drop the placement from the lists.
bool suppressed(const Placement& p, const ListOptions& options);

// The lines of one side's placement list: the two title lines, the column
// heading and one line per kept placement, with or without the Symb-Value
// column. Coordinates are the table values minus the offsets.
QStringList placementList(const std::vector<Placement>& side, const QString& title1, const QString& title2,
                          const ListOptions& options, bool withSymbol);

// The two title lines and the column heading of a placement list, and one
// kept placement's line: placementList made a part at a time.
QStringList placementHeading(const QString& title1, const QString& title2, bool withSymbol);
QString placementLine(const Placement& p, const ListOptions& options, bool withSymbol);

// Titles of the two sides for a pick-and-place file of base name base.
QString topTitle(const QString& base);    // base " Vx TOP"
QString bottomTitle(const QString& base); // base " Vx Bottom"
