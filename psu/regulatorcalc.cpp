#include "regulatorcalc.h"

#include <limits>

namespace {
constexpr double lm317Vref = 1.25;
constexpr double lm317Iadj = 0.00005;
constexpr double lt1761Vreg = 1.22;
constexpr double none = std::numeric_limits<double>::quiet_NaN();
} // namespace

Lm317Volts lm317Volts(double rFeedback, double rPot, double rSet)
{
    Lm317Volts v;
    v.max = lm317Vref * (1 + (rPot + rSet) / rFeedback) + lm317Iadj * (rPot + rSet);
    v.min = lm317Vref * (1 + rSet / rFeedback) + lm317Iadj * rSet;
    return v;
}

double lm317Rset(double rFeedback, double vMin)
{
    return (vMin - lm317Vref) / (lm317Vref / rFeedback + lm317Iadj);
}

double lm317Rpot(double rFeedback, double vMax, double rSet)
{
    return (vMax - lm317Vref) / (lm317Vref / rFeedback + lm317Iadj) - rSet;
}

double lt1761Rbot(double vout, double rTop, double ifb, double vfb)
{
    if (!(vfb > 0))
        return none;
    const double t = (vout - rTop * ifb) / vfb - 1;
    return t > 0 ? rTop / t : none;
}

double lt1761Vout(double rTop, double rBot, double ifb, double vfb)
{
    if (!(rBot > 0))
        return none;
    return (rTop / rBot + 1) * vfb + rTop * ifb;
}

double lt1761IadjRun(double vout, double rTop)
{
    return (rTop > 0 && vout > 0) ? (vout - lt1761Vreg) / rTop : none;
}

double lt1761IadjOff(double vout, double rTop)
{
    return (rTop > 0 && vout > 0) ? vout / rTop : none;
}
