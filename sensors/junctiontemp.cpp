#include "junctiontemp.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace junctiontemp {

namespace {
const QString cr = QStringLiteral("\r");

QString withSamples(const char* code, double samples)
{
    return QString::fromLatin1(code) + hexpad(std::clamp(samples, 0.0, 7.0), 2) + cr;
}

// Characters from..from+length-1 (1-based) when all are hex digits.
std::optional<long> hexField(const QString& frame, int from, int length)
{
    const QString field = frame.mid(from - 1, length);
    if (field.size() != length)
        return std::nullopt;
    for (const QChar c : field) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return std::nullopt;
    }
    return hextolong(field);
}
} // namespace

double scaled(long reading, long fullScale)
{
    return reading / 65535.0 * (fullScale / 1000000.0);
}

QString currentVoltageCommand(bool heater, double samples)
{
    return withSamples(heater ? "$0020" : "$0021", samples);
}

QString openVoltageCommand(bool heater, double samples)
{
    return withSamples(heater ? "$0030" : "$0031", samples);
}

QString singleTestCommand(double samples)
{
    return withSamples("$0040", samples);
}

QString startTestCommand(double samples)
{
    return withSamples("$0041", samples);
}

QString heaterCommand(bool on)
{
    return (on ? QStringLiteral("$001001") : QStringLiteral("$001000")) + cr;
}

QString clampSamples(const QString& text)
{
    const double v = numval(text);
    if (v > 7)
        return QStringLiteral("7");
    if (v <= 0)
        return QStringLiteral("0");
    return text;
}

std::optional<Reply> parseReply(const QString& frame)
{
    Reply r;
    r.code = frame.left(4).toLower();
    if (r.code == QLatin1String("0030")) {
        const auto fs = hexField(frame, 5, 6);
        const auto open = hexField(frame, 11, 4);
        if (!fs || !open)
            return std::nullopt;
        r.openVoltage = scaled(*open, *fs);
        return r;
    }
    if (r.code != QLatin1String("0020") && r.code != QLatin1String("0040"))
        return std::nullopt;
    const auto ifs = hexField(frame, 5, 6);
    const auto vfs = hexField(frame, 11, 6);
    const auto i = hexField(frame, 17, 4);
    const auto v = hexField(frame, 21, 4);
    if (!ifs || !vfs || !i || !v)
        return std::nullopt;
    r.current = scaled(*i, *ifs);
    r.voltage = scaled(*v, *vfs);
    if (r.code == QLatin1String("0040")) {
        const auto open = hexField(frame, 25, 4);
        if (!open)
            return std::nullopt;
        r.openVoltage = scaled(*open, *vfs);
    }
    return r;
}

double tcak(double vlow, double vhigh)
{
    return (vhigh - vlow) / 165 * 1000;
}

double junctionTemperature(double vopen, double vlow, double tc)
{
    if (tc == 0)
        return 200;
    return (vopen - vlow) / (tc / 1000) - 40;
}

double thetaJa(double tj, double ta, double power)
{
    if (power > 0)
        return (tj - ta) / power;
    return 9999.9;
}

qint16 plotValue(double value, double fullScale)
{
    const double v = std::floor(value / fullScale * 2000);
    if (std::isnan(v))
        return 0;
    if (v < std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    if (v > std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    return qint16(v);
}

QString logHeader()
{
    return QStringLiteral("Iak,Vak(Heat),Pak(Heat),Vak(Open),Vak(-40),Vak(125),Tcak,Tambient,Tjunction,Thetaja\r\n"
                          "Amps,Volts,Watts,Volts,Volts,Volts,mV/DegC,DegC,DegC,Degc/W");
}

QString logLine(const QList<double>& values)
{
    QStringList fields;
    for (double v : values)
        fields << numstr(v);
    return fields.join(u',');
}

} // namespace junctiontemp
