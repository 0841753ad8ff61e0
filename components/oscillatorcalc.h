#pragma once
// Timing and resonance of the oscillator tools: the LM555 astable, the PIC
// RC oscillator and an L/C tank. Results that have no value come back as
// NaN; the windows show them in their own way.

// LM555 astable. Each timing resistor is a potentiometer (kilohms) set on a
// 0-100 slider (0: all of it in circuit, 100: none) plus a fixed limit
// resistor (kilohms); the capacitor in microfarads.
struct Lm555Astable {
    double r1 = 0;   // ohms, supply (8) to discharge (7)
    double r2 = 0;   // ohms, discharge (7) to threshold (6)
    double duty = 0; // percent: the share of the period spent discharging through R2
    double freq = 0; // hertz
};
Lm555Astable lm555Astable(double pot1, double slider1, double limit1, double pot2, double slider2, double limit2,
                          double ctMicro);

// PIC RC oscillator: R in kilohms, C in picofarads, F in kilohertz.
// A solved quantity whose inputs are not all above 0 is 0.
double picRcFrequency(double rKilo, double cPico);
double picRcResistor(double cPico, double fKilo);
double picRcCapacitor(double rKilo, double fKilo);
// Oscillator supply current in milliamperes; NaN while R is not above 0.
double picRcSupply(double vdd, double rKilo);

// Series L/C/R resonance; L in henries, C in farads, R in ohms. The
// frequency and reactance are NaN unless L and C are above 0; Q is NaN
// unless R is above 0 (a reactance of NaN counts as 0 for Q).
struct Resonance {
    double fr = 0;        // hertz
    double reactance = 0; // ohms, Xl = Xc at resonance
    double q = 0;
};
Resonance resonance(double henries, double farads, double ohms);
