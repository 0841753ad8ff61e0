#pragma once
// Formulas of the core-based magnetics tools (core inductor, LC output
// filter, toroid shuttle, push-pull/forward transformer). Units are those of
// the windows' boxes. A result that has no value for the given inputs
// (a zero divisor, a negative number under a root) is NaN, which the boxes
// show as "---".

namespace magnetics {

// Core inductor. Al in nH/turn^2 (mH @ 1000 turns), inductance in uH.
// Turns for an inductance; 0 when Al is 0 or less (the window's convention).
double turnsForInductance(double inductanceUH, double al);
// Inductance of N turns, uH.
double inductanceForTurns(double turns, double al);
// Working flux, gauss, from Bsat and a percentage of it.
double workingFlux(double bsat, double factorPercent);
// Energy the core can store, mJ: B^2 Ae^2 1e-7 / Al x 1000 (0 when Al <= 0).
double coreEnergy(double fluxGauss, double aeCm2, double al);
// Current at that energy, A: E = L I^2 (0 when L <= 0).
double throughputCurrent(double energyMJ, double inductanceUH);

// LC output filter. Frequencies in kHz.
double filterFrequency(double switchingKHz, bool pushPull);
// Minimum inductance in mH; NaN when Vin, Imin or the filter frequency is 0 or less.
double lcMinInductance(double vout, double vin, double imin, double filterKHz);
// Minimum capacitance in uF; NaN when Vin, the ripple or the frequency is 0 or less.
double lcMinCapacitance(double vout, double vin, double imax, double filterKHz, double ripple);
// Highest ESR in ohms; NaN when Imax is 0 or less.
double lcMaxEsr(double ripple, double imax);

// Toroid shuttle. Core dimensions in cm, result in mm. NaN when the fill
// factor is outside (0, 100].
double shuttleTurnLength(double od, double id, double height, double fillPercent);

// Push-pull / forward transformer.
// The next whole number at or above x (x + 0.9999999 rounded down).
double roundUp(double x);
// Minimum primary turns; NaN when Ae x B x F is 0 or less.
double minPrimaryTurns(double dutyPercent, double vmin, double fluxGauss, double aeCm2, double freqKHz);
// Minimum secondary turns for a target voltage; NaN when the duty cycle is
// 0 or less or Vmin is 0.
double minSecondaryTurns(double target, double vmin, double primaryTurns, double dutyPercent);
// Secondary voltage of Ns turns at a primary voltage; NaN when Np <= 0.
double secondaryVoltage(double ns, double np, double vprimary);

} // namespace magnetics
