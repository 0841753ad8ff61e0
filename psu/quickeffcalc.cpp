#include "quickeffcalc.h"
#include "common/numtext.h"
#include "common/textlines.h"

#include <QSaveFile>

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

std::vector<double> readValueLines(const QString& path, int count)
{
    std::vector<double> out;
    // The file holds a few short lines; a damaged giant one is cut short.
    const TextLines t = readTextLines(path, 64 * 1024);
    for (const QString& line : t.lines) {
        if (int(out.size()) >= count)
            break;
        out.push_back(numval(line));
    }
    return out;
}

bool writeValueLines(const QString& path, const QStringList& lines)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QString& line : lines)
        f.write(line.toLatin1() + "\r\n");
    return f.commit();
}
