#include "rcadc.h"

#include <cmath>

namespace {
bool finite(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

double resistance(const RcAdcInput& in)
{
    return in.rOrI * 1000;
}
double capacitance(const RcAdcInput& in)
{
    return in.cuf / 1000000;
}
double current(const RcAdcInput& in)
{
    return in.rOrI / 1000000;
}
// R/C: the time the curve takes to reach s.
double rcCrossing(const RcAdcInput& in, double s)
{
    return -resistance(in) * capacitance(in) * std::log((s - in.vfs) / -in.vfs);
}
} // namespace

RcAdcResult rcadcCompute(const RcAdcInput& in)
{
    RcAdcResult out;
    const double period = 1 / (in.mhz * 1000000);
    const double slope = current(in) / capacitance(in);
    out.span = in.icMode ? in.vfs / slope : resistance(in) * capacitance(in);
    for (std::size_t k = 0; k < 3; ++k) {
        const double s = in.setpoint[k];
        RcAdcRow& row = out.rows[k];
        if (!(s < in.vfs))
            continue;
        row.time = in.icMode ? s / slope : rcCrossing(in, s);
        row.clocks = std::floor(row.time / period);
        row.instructions = std::floor(row.time / period / 4);
        row.crosses = std::isfinite(row.time) && std::isfinite(row.clocks) && std::isfinite(row.instructions);
    }
    return out;
}

std::vector<QPointF> rcadcCurve(const RcAdcInput& in)
{
    std::vector<QPointF> pts{QPointF(10, 1010)};
    auto add = [&pts](double x, double y) {
        const QPointF p(x, y);
        if (finite(p))
            pts.push_back(p);
    };
    if (in.icMode) {
        const double slope = current(in) / capacitance(in);
        const double ramp = in.vfs / slope;
        for (int x = 0; x <= 1500; x += 150)
            add(x + 10, 1010 - (ramp / in.count) * (x / 1500.0) * 1000 * slope / in.vfs);
        return pts;
    }
    const double tau = resistance(in) * capacitance(in);
    const double steps = 10 * in.count; // tenths of a time constant across the full scale
    // Tenths of a time constant, one beyond the full scale as the end is
    // inclusive; or, when they would be closer than a drawing unit, one
    // point per unit up to the full scale.
    const bool tenths = steps <= 1500;
    const long long points = tenths ? (long long)std::floor(steps + 1 + 1e-9) : 1500;
    for (long long j = 1; j <= points; ++j) {
        const double x = tenths ? 10 + j * (1500 / steps) : 10 + double(j);
        const double t = tenths ? j * tau / 10 : j * (in.count * tau) / 1500;
        const double v = in.vfs - in.vfs * std::exp(-t / (capacitance(in) * resistance(in)));
        add(x, 1010 - 1000 * v / in.vfs);
    }
    return pts;
}

std::optional<QPointF> rcadcRampEnd(const RcAdcInput& in)
{
    if (in.icMode)
        return std::nullopt;
    // Only a set-point below Vfs is ever crossed; set-point 1 always is.
    double smax = -1;
    for (const double s : in.setpoint)
        if (s < in.vfs && s > smax)
            smax = s;
    if (smax < 0)
        return std::nullopt;
    const double tmax = rcCrossing(in, smax);
    const double xs = tmax / (in.count * resistance(in) * capacitance(in)) * 1500;
    const double ys = smax / in.vfs * 1000;
    const QPointF end(1510, 1010 - ys * 1500 / xs);
    if (!finite(end))
        return std::nullopt;
    return end;
}

double rcadcLevel(double setpoint, double vfs)
{
    return 10 + 1000 * (1 - setpoint / vfs);
}
