#include "quickeffcalc.h"
#include "common/files.h"
#include "common/textlines.h"

#include <limits>

EfficiencyPoint efficiency(double vout, double iout, double vin, double iin)
{
    EfficiencyPoint p;
    p.pout = vout * iout;
    p.pin = vin * iin;
    if (vin > 0 && iin > 0) {
        p.eff = vout * iout * 100 / (vin * iin);
        p.effValid = true;
    }
    return p;
}

QString decimalsPattern(int decimals)
{
    if (decimals < 0)
        return QStringLiteral("0");
    return QStringLiteral("0.") + QString(decimals, u'0');
}

std::vector<std::optional<double>> readValueLines(const QString& path, int count)
{
    std::vector<std::optional<double>> out;
    // The file holds a few short lines; a damaged giant one is cut short.
    const TextLines t = readTextLines(path, 64 * 1024);
    for (const QString& line : t.lines) {
        if (int(out.size()) >= count)
            break;
        out.push_back(settingvalue(line, std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max()));
    }
    return out;
}

void writeValueLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    writefile(path, bytes);
}
