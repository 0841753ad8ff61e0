#include "dacboard.h"

#include <cmath>

DacBoard::DacBoard(PtyPair& pty) : BoardSimulator(pty) {}

QString DacBoard::reading(int code)
{
    const double volts = std::min(code, 4095) * 5.0 / 4095.0;
    const long adc = std::lround(volts / 5.0 * 1023.0);
    const long tenths = std::lround(adc * 5.0 / 1023.0 * 10000.0);
    return QString::number(tenths).rightJustified(5, u'0');
}

QStringList DacBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (!line.startsWith(u'$') || (code != QLatin1String("0010") && code != QLatin1String("0011")))
        return {};
    if (code == QLatin1String("0011")) {
        bool ok0 = false, ok1 = false;
        const int a = line.mid(5, 4).toInt(&ok0, 16);
        const int b = line.mid(9, 4).toInt(&ok1, 16);
        if (!ok0 || !ok1 || line.size() != 13)
            return {};
        codes[0] = a;
        codes[1] = b;
        writes << qMakePair(a, b);
    }
    return {u'!' + code + reading(codes[0]) + reading(codes[1]) + u'\r'};
}
