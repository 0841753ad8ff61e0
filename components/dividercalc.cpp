#include "dividercalc.h"

DividerRepair dividerRepair(int dependent, const DividerValues& v)
{
    switch (dependent) {
    case 0:
        if (v.vout == 0)
            return {3, 0.0001};
        break;
    case 1:
        if (v.vin - v.vout <= 0)
            return {2, v.vout + 0.0001};
        break;
    case 2:
        if (v.r2 == 0)
            return {1, 0.0001};
        break;
    case 3:
        if (v.r1 + v.r2 == 0)
            return {1, 0.0001};
        break;
    default:
        break;
    }
    return {};
}

double dividerSolve(int dependent, const DividerValues& v)
{
    switch (dependent) {
    case 0: return v.r2 * v.vin / v.vout - v.r2;
    case 1: return v.r1 * v.vout / (v.vin - v.vout);
    case 2: return (v.r1 + v.r2) * v.vout / v.r2;
    default: return v.r2 * v.vin / (v.r1 + v.r2);
    }
}
