#pragma once
// The two-resistor divider: R1 from the input to the output, R2 from the
// output to ground. Each solver first names the input it would divide by
// zero with, so the window can repair that input.

struct DividerValues {
    double r1 = 0, r2 = 0, vin = 0, vout = 0;
};

// The repair a solve for `dependent` (0 R1, 1 R2, 2 Vin, 3 Vout) needs
// before it can run: the box to rewrite (-1 none) and its new value.
struct DividerRepair {
    int box = -1;
    double value = 0;
};
DividerRepair dividerRepair(int dependent, const DividerValues& v);

// The dependent quantity from the other three.
double dividerSolve(int dependent, const DividerValues& v);
