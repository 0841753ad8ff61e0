#include "ucc38084calc.h"

double uccFosc(double rtK)
{
    return 1 / (rtK * 1000 * 0.0000000000287 + 0.0000002) / 1000;
}

double uccRtOfSlider(int position)
{
    return position / 100.0 * (uccRtMax - uccRtMin) + uccRtMin;
}

double uccIlimit(double rSense)
{
    return 0.75 / rSense;
}

double uccRset(double rFeedbackK, double vRampPeak, double vOscPeak)
{
    return rFeedbackK * 1000 * 5 / vRampPeak * vOscPeak / 1000;
}

double uccIsetPeak(double rSetK)
{
    return 1.5 / rSetK * 1000;
}
