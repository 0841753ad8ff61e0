#pragma once
// Voltages of a two-output flyback converter from its turns.

struct FlybackInputs {
    double vinMax = 0, vswSat = 0;
    double vout1Max = 0, vout1Min = 0;
    double vf1 = 0, vf2 = 0;
    double np = 0, ns1 = 0, ns2 = 0;
};

struct FlybackResults {
    bool valid = false; // false when NP or NS1 is not above 0
    double vout2Max = 0, vout2Min = 0;
    double vswOffMax = 0; // off-state stress on the primary switch
    double vout1Rev = 0, vout2Rev = 0; // reverse voltages on the diodes
};

FlybackResults flyback(const FlybackInputs& in);
