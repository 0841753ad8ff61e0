#include "fft.h"

#include "common/verror.h"

#include <cmath>

// This file is compiled without floating-point contraction: a fused
// multiply-add would change roundings that the integer results depend on.

namespace {

// 2 pi as the transforms have always written it; every angle uses it.
constexpr double twoPi = 6.283185308;

// log2 n for n = 2^1 .. 2^16, else 0.
int bitCount(int n)
{
    for (int b = 1; b <= 16; ++b)
        if (std::pow(2.0, b) == double(n))
            return b;
    return 0;
}

template <class T>
void checkArgs(int n, const std::vector<T>& input, const std::vector<T>& output, int& bits)
{
    bits = bitCount(n);
    if (bits == 0)
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
    if (input.size() < std::size_t(n) || output.size() < std::size_t(n))
        throw VError(verr::SubscriptRange, QStringLiteral("Subscript out of range"));
}

// The common algorithm; store(v) turns a double into the element type.
template <class T, class Store>
void radix2(int n, int bits, const std::vector<T>& input, std::vector<T>& re, Store store)
{
    for (int m = 0; m < n; ++m) {
        int r = 0;
        int t = m;
        for (int b = 0; b < bits; ++b) {
            r = 2 * r + (t % 2);
            t /= 2;
        }
        re[std::size_t(r)] = input[std::size_t(m)];
    }
    std::vector<T> im(std::size_t(n), T(0));

    for (int half = 1, size = 2; size <= n; half = size, size *= 2) {
        const double s = std::sin((twoPi / size) * 0.5);
        const double alpha = s * s + s * s;
        const double beta = std::sin(twoPi / size);
        for (int start = 0; start < n; start += size) {
            double wr = 1;
            double wi = 0;
            for (int j = start; j < start + half; ++j) {
                const std::size_t a = std::size_t(j);
                const std::size_t b = std::size_t(j + half);
                const double rk = double(re[b]);
                const double ik = double(im[b]);
                const double tr = wr * rk - wi * ik;
                const double ti = wi * rk + wr * ik;
                const double rj = double(re[a]);
                const double ij = double(im[a]);
                re[b] = store(rj - tr);
                im[b] = store(ij - ti);
                re[a] = store(rj + tr);
                im[a] = store(ij + ti);
                const double t = alpha * wr + beta * wi;
                wi = wi - (alpha * wi - beta * wr);
                wr = wr - t;
            }
        }
    }
}

} // namespace

void FFTD(const int& n, const std::vector<double>& input, std::vector<double>& output)
{
    if (n <= 0)
        return;
    int bits = 0;
    checkArgs(n, input, output, bits);
    bool finite = true;
    radix2(n, bits, input, output, [&finite](double v) {
        finite = finite && std::isfinite(v);
        return v;
    });
    if (!finite)
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
}

void FFTI(const int& n, const std::vector<qint32>& input, std::vector<qint32>& output)
{
    if (n <= 0)
        return;
    int bits = 0;
    checkArgs(n, input, output, bits);
    radix2(n, bits, input, output, [](double v) {
        // nearbyint rounds a half to the even neighbour in the default mode.
        const double r = std::nearbyint(v);
        if (!(r >= -2147483648.0 && r <= 2147483647.0))
            throw VError(verr::Overflow, QStringLiteral("Overflow"));
        return qint32(r);
    });
}

double FrequencyOfIndex(const int& n, int k)
{
    if (double(k) <= double(n) / 2) {
        if (n == 0)
            throw VError(k == 0 ? verr::Overflow : verr::DivisionByZero,
                         k == 0 ? QStringLiteral("Overflow") : QStringLiteral("Division by zero"));
        return double(k) / n;
    }
    const qint64 rest = qint64(n) - k;
    if (rest < INT32_MIN || rest > INT32_MAX)
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
    return -double(rest) / n;
}
