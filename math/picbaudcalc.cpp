#include "picbaudcalc.h"

#include "common/numtext.h"

#include <cmath>
#include <limits>

int64_t picClockHz(const QString& entry)
{
    QString t = entry.trimmed();
    int shift = 6;
    if (t.endsWith(u'k', Qt::CaseInsensitive)) {
        t.chop(1);
        shift = 3;
    }
    // Move the decimal point in the text: 120.8475 kHz is exactly 120847.5 Hz.
    QString whole = t, frac;
    if (const qsizetype dot = t.indexOf(u'.'); dot >= 0) {
        whole = t.left(dot);
        frac = t.mid(dot + 1);
    }
    frac = frac.leftJustified(shift, u'0');
    const double hz = numval(whole + frac.left(shift) + u'.' + frac.mid(shift));
    return int64_t(std::nearbyint(hz));
}

std::optional<int32_t> picOscillatorHz(const QString& megahertz, bool times4)
{
    const double hz = std::nearbyint(numval(megahertz) * 1000000 * (times4 ? 4 : 1));
    if (!(hz >= std::numeric_limits<int32_t>::min() && hz <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return int32_t(hz);
}

PicBaudMode picBaudMode(int32_t hz, int baud, int divisor)
{
    PicBaudMode m;
    if (baud <= 0 || divisor <= 0)
        return m;
    const double x = std::floor(double(hz) / (double(baud) * divisor) - 1 + 0.5);
    if (x < 0)
        return m;
    m.valid = true;
    m.spbrg = x > 255 ? 255 : int(x);
    m.baud = double(hz) / ((m.spbrg + 1.0) * divisor);
    m.errorPercent = (m.baud - baud) * 100 / baud;
    return m;
}
