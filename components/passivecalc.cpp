#include "passivecalc.h"

#include "common/numtext.h"
#include "common/refdata.h"

#include <cmath>

QStringList metalNames()
{
    return metalprop(QStringLiteral("m"), 0, 0, 0, QString(), QString(), 0, QStringLiteral("e")).split(u',');
}

QStringList awgSizes()
{
    QStringList out;
    for (int zeros = 8; zeros >= 1; --zeros)
        out << QString(zeros, u'0');
    for (int n = 1; n <= 80; ++n)
        out << QString::number(n);
    return out;
}

std::vector<BusSection> parseBusBars(const QString& text)
{
    std::vector<BusSection> out;
    QString line;
    auto endLine = [&] {
        const QStringList f = line.split(u',');
        BusSection s;
        s.width = numval(f.value(0));
        s.height = numval(f.value(1));
        s.length = numval(f.value(2));
        if (s.width * s.height * s.length > 0)
            out.push_back(s);
        line.clear();
    };
    for (const QChar c : text) {
        if (c == u'\r')
            endLine();
        else if ((c >= u'0' && c <= u'9') || c == u'.' || c == u',')
            line += c;
    }
    endLine();
    return out;
}

Solenoid solenoid(double turns, double id, double lengthWanted, double wire, double layers)
{
    constexpr double pi = 3.141592654;
    Solenoid s;
    s.spacing = (lengthWanted - turns * wire) / turns;
    s.lengthActual = lengthWanted;
    if (s.spacing < 0) {
        s.lengthActual = turns * wire;
        s.spacing = 0;
    }
    s.inductance = 17 * std::pow(turns, 1.3) * std::pow(id + wire, 1.7) / std::pow(s.spacing + wire, 0.7) / 1000;
    s.od = id + 2 * wire * layers;
    s.wireLength = pi * (id + s.od) / 2 * turns;
    return s;
}

PlateCapacitor plateCapacitor(double length, double width, double separation, double factor, double layers,
                              double conductor, double volts, double k, double strength)
{
    PlateCapacitor c;
    const double n = std::floor(layers);
    c.area = width * length;
    c.farads = k * 2.249e-13 * c.area / separation * factor * n;
    c.breakdown = strength * separation * 1000;
    c.energy = volts * volts * c.farads * 0.5;
    c.height = (separation + conductor) * n + conductor;
    return c;
}
