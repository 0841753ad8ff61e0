#include "fftbench.h"
#include "fft.h"

#include "common/numtext.h"
#include "common/verror.h"

#include <cmath>

namespace {
constexpr double twoPi = 6.283185308;

// The signed-column form of a table number. Whole numbers, nearly all of
// the table, are written directly: the same text as numstr gives them, at
// a fraction of the cost for tables of 65536 lines.
void appendSigned(QString& out, double v)
{
    if (v == std::floor(v) && std::abs(v) < 1e15) {
        if (v >= 0)
            out += u' ';
        out += QString::number(qint64(v));
    } else {
        out += numstr(v);
    }
}
} // namespace

qint32 floorToLong(double x)
{
    const double f = std::floor(x);
    if (!(f >= -2147483648.0 && f <= 2147483647.0))
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
    return qint32(f);
}

FftSignal fftSignal(int n, double scale, double period, double multiple)
{
    FftSignal s;
    s.x.resize(std::size_t(std::max(n, 0)));
    s.xi.resize(s.x.size());
    for (int i = 0; i < n; ++i) {
        double v = scale * std::sin(twoPi * i / period);
        if (multiple > 0)
            v += scale * std::sin(twoPi * i * multiple / period);
        s.x[std::size_t(i)] = v;
        s.xi[std::size_t(i)] = floorToLong(v);
    }
    return s;
}

std::vector<double> binMagnitudes(const std::vector<double>& x)
{
    std::vector<double> m(x.size());
    for (std::size_t k = 0; k < x.size(); ++k)
        m[k] = std::floor(std::abs(x[k]));
    return m;
}

std::vector<double> binMagnitudes(const std::vector<qint32>& xi)
{
    std::vector<double> m(xi.size());
    for (std::size_t k = 0; k < xi.size(); ++k)
        m[k] = std::abs(double(xi[k]));
    return m;
}

QString fftTable(int n, int last, const std::vector<double>& magnitudes, const std::vector<double>& samples,
                 const QString& lineEnd)
{
    const QChar tab(u'\t');
    QString out;
    out.reserve(qsizetype(std::max(last + 1, 0)) * 48 + 32);
    out += QStringLiteral("Sample\tFreqBin\tBinSize\tSine");
    for (int k = 0; k <= last; ++k) {
        out += lineEnd;
        appendSigned(out, k);
        out += tab;
        appendSigned(out, std::floor(1000 * FrequencyOfIndex(n, k)));
        out += tab;
        appendSigned(out, magnitudes[std::size_t(k)]);
        out += tab;
        appendSigned(out, samples[std::size_t(k)]);
    }
    return out;
}
