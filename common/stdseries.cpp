#include "stdseries.h"
#include "numtext.h"
#include "verror.h"

namespace {
// Mantissas of the E96 and E24 series as given in IEC 60063, three and two
// significant digits.
const int kE96[96] = {100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
                      147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
                      215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
                      316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
                      464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
                      681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};
const int kE24[24] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30, 33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

// Mantissa times a power of ten, computed in double and rounded once to
// float, so 0.1 and 9760000 come out as the nearest floats.
float scaled(int mantissa, int exponent)
{
    double v = mantissa;
    for (int i = 0; i < exponent; ++i)
        v *= 10.0;
    for (int i = 0; i > exponent; --i)
        v /= 10.0;
    return float(v);
}

std::vector<float> series96()
{
    std::vector<float> out;
    // 10.0 ... 97.6 is mantissa / 10; six decades up to 9.76 M.
    for (int decade = -1; decade <= 4; ++decade)
        for (int m : kE96)
            out.push_back(scaled(m, decade));
    return out;
}

std::vector<float> series24()
{
    std::vector<float> out;
    // 0.10 ... 0.91 is mantissa / 100; eight decades up to 9.1 M.
    for (int decade = -2; decade <= 5; ++decade)
        for (int m : kE24)
            out.push_back(scaled(m, decade));
    for (int m : {10, 11, 12, 13, 15, 16, 18, 20, 22})
        out.push_back(scaled(m, 6));
    return out;
}
} // namespace

void stdseries(const int16_t& series, std::vector<float>& values)
{
    static const std::vector<float> e96 = series96();
    static const std::vector<float> e24 = series24();
    const std::vector<float>* src = series == 0 ? &e96 : series == 1 ? &e24 : nullptr;
    const size_t need = src ? src->size() + 2 : 2;
    if (values.size() < need)
        throw VError(verr::SubscriptRange, QStringLiteral("Subscript out of range"));
    if (!src) {
        values[0] = 0;
        values[1] = 0;
        return;
    }
    values[0] = float(src->size());
    for (size_t i = 0; i < src->size(); ++i)
        values[i + 1] = (*src)[i];
    values[src->size() + 1] = 0;
}

QString resformat(const int16_t& series, const float& value)
{
    const double v = value;
    QString pattern;
    if (series == 1)
        pattern = v < 1 ? QStringLiteral("###,###,##0.00") : v < 10 ? QStringLiteral("###,###,##0.0") : QStringLiteral("###,###,##0");
    else if (series == 0)
        pattern = v < 100 ? QStringLiteral("###,###,##0.0") : QStringLiteral("###,###,##0");
    else
        return QString();
    return QStringLiteral(" ") + fmt(v, pattern);
}
