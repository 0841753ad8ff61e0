#pragma once
// Parallel-resistor search: single standard values and pairs of them in
// parallel whose resistance lies within a tolerance of a target, and the
// report that lists them.

#include <QString>

#include <functional>
#include <vector>

struct ParallelHit {
    int first = 0;   // index of the first resistor in the series array
    int second = 0;  // index of the second one; count + 1 (the closing 0) for a single resistor
    double error = 0; // R / target - 1
};

// Searches a series array as stdseries fills it (entry 0 the count, then
// the values, then a closing 0): first every single value, then every
// unordered pair once (row i with j = i ... n, so the lower value stands
// first), keeping those with |error| <= tolerance (a fraction: 0.01 is 1 %;
// a value at the edge counts as within it). The tables have no fixed size.
// afterRow runs after each row of both phases with the number of hits so
// far; when it returns false the search ends at once.
std::vector<ParallelHit> findNetworks(const std::vector<float>& values, double target, double tolerance,
                                      const std::function<bool(int hits)>& afterRow = {});

// Orders the hits by |error|, hits of equal |error| keeping their order.
void sortByError(std::vector<ParallelHit>& hits);

// The report: a header, a rule of 38 "-", then one line per hit (R1 and R2
// right-aligned in 9 characters, "   -Open-" for a single resistor, the
// error in percent "0.00000" right-aligned in 13), every line ended by CR LF.
QString parallelReport(const std::vector<float>& values, const std::vector<ParallelHit>& hits);

// The search inputs as the window corrects them: a target that is not
// positive becomes 1000 and a tolerance outside 0 ... 10 % becomes 10.
struct SearchInputs {
    QString targetText;
    QString toleranceText;
    bool targetRewritten = false;
    bool toleranceRewritten = false;
    double target = 0;
    double tolerance = 0; // fraction
};
SearchInputs searchInputs(const QString& targetText, const QString& toleranceText);
