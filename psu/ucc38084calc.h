#pragma once
// Set-up values of the UCC3808x push-pull PWM controller.

// Valid timing resistor range (kilohms).
constexpr double uccRtMin = 25;
constexpr double uccRtMax = 698;

// Oscillator frequency (kHz) of a timing resistor (kilohms).
double uccFosc(double rtK);
// Timing resistor (kilohms) of a slider position 0..100.
double uccRtOfSlider(int position);
// Current limit (A) of a sense resistor (ohms).
double uccIlimit(double rSense);
// Slope-compensation set resistor (kilohms) from the feedback resistor
// (kilohms) and the ramp and oscillator peaks (volts).
double uccRset(double rFeedbackK, double vRampPeak, double vOscPeak);
// Peak current of the set resistor (uA).
double uccIsetPeak(double rSetK);
