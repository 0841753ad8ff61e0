#pragma once
// Slope converter arithmetic: a capacitor charged through a resistor (R/C)
// or by a constant current (I/C) crosses three set-point voltages; the
// crossing times, processor clocks and instruction cycles, and the charge
// curve in drawing units (x 10 .. 1510 the horizontal full scale, y 1010
// 0 V .. 10 Vfs, growing downwards).

#include <QPointF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

struct RcAdcInput {
    bool icMode = false;
    double vfs = 0;            // volts
    double mhz = 0;            // processor clock
    double rOrI = 0;           // kilohms (R/C) or microamperes (I/C)
    double cuf = 0;            // microfarads
    double count = 0;          // time constants (R/C) or the ramp divisor n (I/C)
    std::array<double, 3> setpoint{};
};

struct RcAdcRow {
    bool crosses = false; // false: the row shows no crossing
    double time = 0;      // seconds
    double clocks = 0;
    double instructions = 0;
};

struct RcAdcResult {
    double span = 0; // one time constant (R/C) or the time to ramp to Vfs (I/C)
    std::array<RcAdcRow, 3> rows;
};

RcAdcResult rcadcCompute(const RcAdcInput& in);

// The charge curve from (10, 1010): at most one point per drawing unit
// across, each computed from its index. Points without a finite position
// are left out.
std::vector<QPointF> rcadcCurve(const RcAdcInput& in);

// R/C mode: the end of the constant-slope ramp from (10, 1010) that crosses
// the highest set-point below Vfs when the curve does. None in I/C mode or
// when it has no finite end.
std::optional<QPointF> rcadcRampEnd(const RcAdcInput& in);

// The height of a set-point's line.
double rcadcLevel(double setpoint, double vfs);
