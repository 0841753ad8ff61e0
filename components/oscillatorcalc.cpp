#include "oscillatorcalc.h"

#include <cmath>
#include <limits>

namespace {
constexpr double noValue = std::numeric_limits<double>::quiet_NaN();
// The tools write 2 pi and ln 2 this way; the figures they show follow.
constexpr double twoPi = 6.283185308;
const double ln2 = -std::log(0.5);
} // namespace

Lm555Astable lm555Astable(double pot1, double slider1, double limit1, double pot2, double slider2, double limit2,
                          double ctMicro)
{
    Lm555Astable r;
    r.r1 = ((100 - slider1) / 100 * pot1 + limit1) * 1000;
    r.r2 = ((100 - slider2) / 100 * pot2 + limit2) * 1000;
    const double c = ctMicro / 1000000;
    const double path = r.r1 + 2 * r.r2;
    const bool resistors = r.r1 >= 0 && r.r2 >= 0 && path > 0;
    r.duty = resistors ? 100 * r.r2 / path : noValue;
    r.freq = resistors && c > 0 ? 1.44 / (path * c) : noValue;
    return r;
}

double picRcFrequency(double rKilo, double cPico)
{
    if (!(rKilo > 0 && cPico > 0))
        return 0;
    return 1 / (cPico * 1e-12 * rKilo * 1000 * ln2) / 1000;
}

double picRcResistor(double cPico, double fKilo)
{
    if (!(cPico > 0 && fKilo > 0))
        return 0;
    return 1 / (cPico * 1e-12 * fKilo * 1000 * ln2) / 1000;
}

double picRcCapacitor(double rKilo, double fKilo)
{
    if (!(rKilo > 0 && fKilo > 0))
        return 0;
    return 1 / (rKilo * 1000 * fKilo * 1000 * ln2) * 1e12;
}

double picRcSupply(double vdd, double rKilo)
{
    return rKilo > 0 ? vdd / (2 * rKilo) : noValue;
}

Resonance resonance(double henries, double farads, double ohms)
{
    Resonance r;
    if (henries > 0 && farads > 0) {
        r.fr = 1 / (twoPi * std::sqrt(henries * farads));
        r.reactance = twoPi * r.fr * henries;
    } else {
        r.fr = r.reactance = noValue;
    }
    const double x = std::isnan(r.reactance) ? 0 : r.reactance;
    r.q = ohms > 0 ? x / ohms : noValue;
    return r;
}
