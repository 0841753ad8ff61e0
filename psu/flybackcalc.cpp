#include "flybackcalc.h"

FlybackResults flyback(const FlybackInputs& in)
{
    FlybackResults r;
    if (!(in.ns1 > 0) || !(in.np > 0))
        return r;
    r.valid = true;
    r.vout2Max = in.ns2 / in.ns1 * (in.vf1 + in.vout1Max) - in.vf2;
    r.vout2Min = in.ns2 / in.ns1 * (in.vf1 + in.vout1Min) - in.vf2;
    r.vswOffMax = in.np / in.ns1 * (in.vf1 + in.vout1Max) + in.vinMax;
    r.vout1Rev = (in.vinMax - in.vswSat) * in.ns1 / in.np + in.vout1Max;
    r.vout2Rev = (in.vinMax - in.vswSat) * in.ns2 / in.np + r.vout2Max;
    return r;
}
