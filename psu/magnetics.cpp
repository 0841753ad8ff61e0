#include "magnetics.h"

#include <cmath>
#include <limits>

namespace magnetics {
namespace {
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

double root(double x)
{
    return x < 0 ? nan : std::sqrt(x);
}
} // namespace

double turnsForInductance(double inductanceUH, double al)
{
    if (al <= 0)
        return 0;
    const double alH = al * 1e-9;
    return root((inductanceUH / 1e6) / alH);
}

double inductanceForTurns(double turns, double al)
{
    return turns * turns * al * 0.001;
}

double workingFlux(double bsat, double factorPercent)
{
    return factorPercent * bsat / 100;
}

double coreEnergy(double fluxGauss, double aeCm2, double al)
{
    if (al <= 0)
        return 0;
    return fluxGauss * fluxGauss * aeCm2 * aeCm2 * 1e-7 / al * 1000;
}

double throughputCurrent(double energyMJ, double inductanceUH)
{
    if (inductanceUH <= 0)
        return 0;
    return root((energyMJ / 1000) / (inductanceUH / 1e6));
}

double filterFrequency(double switchingKHz, bool pushPull)
{
    return pushPull ? 2 * switchingKHz : switchingKHz;
}

double lcMinInductance(double vout, double vin, double imin, double filterKHz)
{
    if (vin <= 0 || imin <= 0 || filterKHz <= 0)
        return nan;
    return (vin - vout) * (1 - vout / vin) / (imin * 1.4 * filterKHz);
}

double lcMinCapacitance(double vout, double vin, double imax, double filterKHz, double ripple)
{
    if (vin <= 0 || ripple <= 0 || filterKHz <= 0)
        return nan;
    return (1 - vout / vin) * imax / (filterKHz * ripple) * 1000;
}

double lcMaxEsr(double ripple, double imax)
{
    if (imax <= 0)
        return nan;
    return ripple / imax;
}

double shuttleTurnLength(double od, double id, double height, double fillPercent)
{
    if (fillPercent <= 0 || fillPercent > 100)
        return nan;
    const double wall = (od - id) / 2;
    const double buildUp = (id / 2) / (100 / fillPercent);
    return (wall + wall + (height + height) + buildUp * 4) * 10;
}

double roundUp(double x)
{
    return std::floor(x + 0.9999999);
}

double minPrimaryTurns(double dutyPercent, double vmin, double fluxGauss, double aeCm2, double freqKHz)
{
    if (!(aeCm2 * fluxGauss * freqKHz > 0))
        return nan;
    return (dutyPercent / 100) * (vmin * 1e8) / (fluxGauss * 4 * aeCm2 * freqKHz * 1000);
}

double minSecondaryTurns(double target, double vmin, double primaryTurns, double dutyPercent)
{
    if (dutyPercent <= 0 || vmin == 0)
        return nan;
    return target / vmin * primaryTurns * (100 / dutyPercent);
}

double secondaryVoltage(double ns, double np, double vprimary)
{
    if (np <= 0)
        return nan;
    return ns / np * vprimary;
}

} // namespace magnetics
