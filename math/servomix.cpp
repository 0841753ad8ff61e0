#include "servomix.h"

#include <cmath>
#include <cstdlib>

namespace {
int channel(double offset)
{
    // Single precision, as the mixer on the boards computes it.
    float v = -float(offset) / 2100.0f * 100.0f;
    if (!(std::fabs(v) <= 100.0f))
        v = std::signbit(v) ? -100.0f : 100.0f; // also NaN: off the area
    return int(std::nearbyint(v));
}
} // namespace

StickChannels stickchannels(double x, double y)
{
    StickChannels ch;
    ch.ch0 = channel(y - 2500);
    ch.ch1 = channel(x - 2500);
    return ch;
}

MixerSector mixsector(const StickChannels& ch)
{
    const int c0 = ch.ch0, c1 = ch.ch1;
    const int a0 = std::abs(c0), a1 = std::abs(c1);
    const bool steep = a0 >= a1;
    if (c1 >= 0) {
        if (steep)
            return c0 >= 0 ? MixerSector{'A', a0 - a1, c0} : MixerSector{'D', c0, -(a0 - a1)};
        return c0 >= 0 ? MixerSector{'B', -(a1 - a0), c1} : MixerSector{'C', -c1, a1 - a0};
    }
    if (steep)
        return c0 >= 0 ? MixerSector{'E', c0, a0 - a1} : MixerSector{'H', -(a0 - a1), c0};
    return c0 >= 0 ? MixerSector{'F', a1, -(a1 - a0)} : MixerSector{'G', a1 - a0, c1};
}

QString sectortable()
{
    static const char* const rows[][3] = {
        {"A", "PWM1 = CH0", "PWM0 = |CH0| - |CH1|"},
        {"D", "PWM0 = CH0", "PWM1 = -(|CH0| - |CH1|)"},
        {"B", "PWM1 = CH1", "PWM0 = -(|CH1| - |CH0|)"},
        {"C", "PWM0 = -CH1", "PWM1 = |CH1| - |CH0|"},
        {"E", "PWM0 = CH0", "PWM1 = |CH0| - |CH1|"},
        {"H", "PWM1 = CH0", "PWM0 = -(|CH0| - |CH1|)"},
        {"F", "PWM0 = |CH1|", "PWM1 = -(|CH1| - |CH0|)"},
        {"G", "PWM1 = CH1", "PWM0 = |CH1| - |CH0|"},
    };
    const QString crlf = QStringLiteral("\r\n");
    const QString separator = QString(77, u'-') + crlf;
    QString text = QStringLiteral("Sector\tFunction") + crlf + separator;
    for (const auto& row : rows)
        text += QLatin1String(row[0]) + u':' + u'\t' + QLatin1String(row[1]) + u'\t' + QLatin1String(row[2]) + crlf
            + separator;
    return text;
}
