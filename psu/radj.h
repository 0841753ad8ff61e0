#pragma once
// The output-setting resistor Radj of the high-voltage supply modules. The
// output is divided by a top resistor onto a feedback node held at a
// reference voltage; Radj in series with a fixed resistor sits from that node
// to ground (or to an adjusting voltage) beside a fixed bottom resistor.
// Resistances in kOhm, voltages in volts.

#include <QString>

struct RadjBoard {
    double vref;   // feedback reference
    double top;    // top resistor
    double bottom; // bottom resistor
    double series; // resistor in series with Radj

    // Vout box limits applied on Enter and on leaving the box, with the
    // texts written there.
    double vmin, vmax;
    QString vminText, vmaxText;
    // At or below openAt Radj would be infinite ("Open"); at or above
    // groundAt it would be negative ("Ground").
    double openAt, groundAt;

    // Slider in tenths of a volt; positions at or above sliderHighFrom
    // write sliderHighText, below sliderLowBelow sliderLowText.
    int sliderMin, sliderMax, sliderStart;
    int sliderHighFrom, sliderLowBelow;
    QString sliderHighText, sliderLowText;

    QString caption, unit, defaultVout;
};

namespace radj {

const RadjBoard& board7621();
const RadjBoard& board8657a();
const RadjBoard& board8657b();

// Radj from the feedback node to ground; NaN when the divisor is zero.
double toGround(const RadjBoard& b, double vout, double vref);
// The Radj box text of the slider windows: "Open", "Ground" or the value
// with "0.000" ("---" when it has none).
QString groundText(const RadjBoard& b, double vout, double vref);
// The Vout text the slider writes for position p.
QString sliderText(const RadjBoard& b, int p);
// The Vout box after the limits: the limit texts or the value with "0.000".
QString limitVout(const RadjBoard& b, const QString& text);

// Radj from the feedback node to an adjusting voltage.
struct VadjResult {
    QString text;
    bool negative; // shown on red
};
VadjResult toVadj(const RadjBoard& b, double vout, double vadj);

} // namespace radj
