#include "rparallel.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>

std::vector<ParallelHit> findNetworks(const std::vector<float>& values, double target, double tolerance,
                                      const std::function<bool(int hits)>& afterRow)
{
    std::vector<ParallelHit> hits;
    if (values.empty())
        return hits;
    const int n = std::min(int(values[0]), int(values.size()) - 2);
    auto rowDone = [&] { return !afterRow || afterRow(int(hits.size())); };
    // A value exactly at the tolerance's edge (1100 for 1000 at 10 %, or an
    // exact pair at tolerance 0) can come out a rounding step beyond it;
    // the slack lies far below the report's last digit.
    const double limit = tolerance + 1e-12;

    for (int i = 1; i <= n; ++i) {
        const double e = double(values[size_t(i)]) / target - 1;
        if (std::fabs(e) <= limit)
            hits.push_back({i, n + 1, e});
        if (!rowDone())
            return hits;
    }
    // Each unordered pair once: the partner never stands below the row, so
    // no network is listed twice and none is skipped.
    for (int i = 1; i <= n; ++i) {
        const double ri = values[size_t(i)];
        for (int j = i; j <= n; ++j) {
            const double r = 1 / (1 / double(values[size_t(j)]) + 1 / ri);
            const double e = r / target - 1;
            if (std::fabs(e) <= limit)
                hits.push_back({i, j, e});
        }
        if (!rowDone())
            return hits;
    }
    return hits;
}

void sortByError(std::vector<ParallelHit>& hits)
{
    std::stable_sort(hits.begin(), hits.end(),
                     [](const ParallelHit& a, const ParallelHit& b) { return std::fabs(a.error) < std::fabs(b.error); });
}

namespace {
QString rightAligned(const QString& text, int width)
{
    const QString padded = QString(width + 3, u' ') + text;
    return padded.right(width);
}
} // namespace

QString parallelReport(const std::vector<float>& values, const std::vector<ParallelHit>& hits)
{
    const QString crlf = QStringLiteral("\r\n");
    QString out = QStringLiteral("  R1-Ohms  R2-Ohms      Error-%") + crlf + QString(38, u'-') + crlf;
    const int n = values.empty() ? 0 : int(values[0]);
    for (const ParallelHit& h : hits) {
        out += rightAligned(singlestr(values[size_t(h.first)]), 9);
        out += h.second > n ? QStringLiteral("   -Open-") : rightAligned(singlestr(values[size_t(h.second)]), 9);
        out += rightAligned(fmt(h.error * 100, QStringLiteral("0.00000")), 13);
        out += crlf;
    }
    return out;
}

SearchInputs searchInputs(const QString& targetText, const QString& toleranceText)
{
    SearchInputs in;
    in.targetText = targetText;
    in.toleranceText = toleranceText;
    if (!(numval(targetText) > 0)) {
        in.targetText = QStringLiteral("1000");
        in.targetRewritten = true;
    }
    const double t = numval(toleranceText);
    if (t < 0 || t > 10 || std::isnan(t)) {
        in.toleranceText = QStringLiteral("10");
        in.toleranceRewritten = true;
    }
    in.target = numval(in.targetText);
    in.tolerance = numval(in.toleranceText) / 100;
    return in;
}
