#include "adcscale.h"

#include "common/numtext.h"

#include <cmath>

namespace {
const QString none = QStringLiteral("----");

bool usable(double v)
{
    return std::isfinite(v) && v >= 0;
}
} // namespace

QString adcProductBits(double product, bool* over32)
{
    *over32 = true;
    if (!usable(product))
        return none;
    // The bits and the hex both come from this one rounding, so a product
    // a fraction short of 2^31 needs the 32nd bit only when it rounds up.
    const double whole = std::nearbyint(product);
    if (whole <= 2147483647.0) {
        const QString h = hexstr(int64_t(whole));
        const QChar first = h.at(0);
        int bits = 4 * int(h.size());
        if (first == u'0' || first == u'1')
            bits -= 3;
        else if (first == u'2' || first == u'3')
            bits -= 2;
        else if (first >= u'4' && first <= u'7')
            bits -= 1;
        *over32 = false;
        return numstr(bits) + QStringLiteral(" / 0x") + h.rightJustified(8, u'0');
    }
    // Halvings until it falls below 1: finite, so this ends (at most 1024).
    int bits = 0;
    for (double m = whole; m >= 1; m /= 2)
        ++bits;
    if (bits == 32) {
        *over32 = false;
        return QStringLiteral("32 / 0x") + hexstr(int64_t(whole));
    }
    return numstr(bits) + QStringLiteral(" / 0xFFFFFFFF");
}

AdcScaleTexts adcScale(const AdcScaleInput& in)
{
    AdcScaleTexts out;
    const double a = std::ldexp(1.0, in.bits) - 1;
    const double d = std::ldexp(1.0, in.shift);
    out.adcfs = plaindec(a);
    out.pdfs = plaindec(d);

    out.rbotRed = in.rbot == 0;
    out.gainRed = in.gain == 0;
    const double full = in.vref / in.rbot * (in.rtop + in.rbot) / in.gain;
    out.fullScale = in.rbot == 0 || in.gain == 0 || !usable(full) ? none : fmt(full, QStringLiteral("0.000000"));

    out.depthRed = in.depth == 0;
    if (a == 0 || in.depth == 0) {
        out.scaler = none;
    } else {
        const double v = numval(out.fullScale); // "----" reads 0
        const double s = std::floor(v / a * (d / in.depth) * in.multiplier + 0.5);
        out.scaler = usable(s) ? plaindec(s) : none;
    }

    const double product = in.depth * numval(out.scaler) * a;
    out.resultBits = adcProductBits(product, &out.resultRed);
    return out;
}
