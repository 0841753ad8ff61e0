#pragma once
// The ADC scale factor: the sum of n readings, multiplied by S and shifted
// right by p bits, gives the input value times M. Each step reads the text
// the previous one shows, as the calculator does, so a rounded full scale
// feeds the scale factor exactly as displayed.

#include <QString>

struct AdcScaleInput {
    int bits = 10;  // ADC resolution b
    int shift = 16; // post divider p
    double vref = 5, rtop = 10, rbot = 10, gain = 1, depth = 16, multiplier = 1000;
};

struct AdcScaleTexts {
    QString adcfs;      // A = 2^b - 1
    QString pdfs;       // D = 2^p
    QString fullScale;  // input value at ADC full scale, "----" when none
    QString scaler;     // S, "----" when none
    QString resultBits; // bits / hexadecimal of the largest product n * S * A
    bool rbotRed = false, gainRed = false, depthRed = false;
    bool resultRed = false; // the product needs more than 32 bits (or has no value)
};

AdcScaleTexts adcScale(const AdcScaleInput& in);

// The "Bits / Max" text of a product, and whether it needs more than 32
// bits. A product that is not a finite number of 0 or more gives "----".
QString adcProductBits(double product, bool* over32);
