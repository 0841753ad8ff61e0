#pragma once
// Feedback dividers of the linear regulators (LM317, LT1761). Resistances
// in ohms, voltages in volts, currents in amperes. Results that have no
// value come back as NaN or infinity; the windows show them as "---".

// LM317: 1.25 V between OUT and ADJUST, 50 uA out of ADJUST.
struct Lm317Volts {
    double max = 0; // pot at its full value
    double min = 0; // pot at zero
};
Lm317Volts lm317Volts(double rFeedback, double rPot, double rSet);
// The set resistor that gives vMin, and the pot that then gives vMax.
double lm317Rset(double rFeedback, double vMin);
double lm317Rpot(double rFeedback, double vMax, double rSet);

// LT1761: vfb the feedback reference, ifb the feedback pin's bias current.
// The bottom resistor for an output; NaN when the output is not above
// what the top resistor's bias drop and vfb allow.
double lt1761Rbot(double vout, double rTop, double ifb, double vfb);
double lt1761Vout(double rTop, double rBot, double ifb, double vfb);
// Current through the top resistor while regulating (1.22 V on the
// feedback pin) and with the feedback pin at 0 V.
double lt1761IadjRun(double vout, double rTop);
double lt1761IadjOff(double vout, double rTop);
