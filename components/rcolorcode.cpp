#include "rcolorcode.h"

#include "common/numtext.h"

#include <cmath>

QColor bandColor(int code)
{
    static const QColor table[13] = {
        QColor(0, 0, 0),       QColor(128, 64, 0),    QColor(255, 0, 0),     QColor(255, 128, 0),
        QColor(255, 255, 0),   QColor(0, 192, 0),     QColor(0, 0, 255),     QColor(128, 0, 128),
        QColor(128, 128, 128), QColor(255, 255, 255), QColor(192, 192, 0),   QColor(176, 176, 208),
        QColor(208, 208, 192),
    };
    return code >= 0 && code < 13 ? table[code] : QColor();
}

Swatch swatch(int element)
{
    if (element >= 0 && element < 40)
        return {element / 10, element % 10, QString::number(element % 10)};
    switch (element) {
    case 49: return {2, 10, QStringLiteral("0.1")};
    case 50: return {2, 11, QStringLiteral("0.01")};
    case 51: return {3, 10, QStringLiteral("0.1")};
    case 52: return {3, 11, QStringLiteral("0.01")};
    // tolerance
    case 53: return {4, 5, QStringLiteral("0.50")};
    case 54: return {4, 6, QStringLiteral("0.25")};
    case 55: return {4, 7, QStringLiteral("0.10")};
    case 56: return {4, 8, QStringLiteral("0.05")};
    case 40: return {4, 1, QStringLiteral("1")};
    case 41: return {4, 2, QStringLiteral("2")};
    case 42: return {4, 10, QStringLiteral("5")};
    case 43: return {4, 11, QStringLiteral("10")};
    case 44: return {4, 12, QStringLiteral("20")};
    // temperature coefficient
    case 45: return {6, 1, QStringLiteral("100")};
    case 46: return {6, 2, QStringLiteral("50")};
    case 47: return {6, 3, QStringLiteral("15")};
    case 48: return {6, 4, QStringLiteral("25")};
    case 57: return {6, 12, QStringLiteral("200")};
    default: return {};
    }
}

BandValue bandValue(bool fourBands, double d0, double d1, double d2, double m)
{
    // The mantissa keeps its point after the first digit, so every
    // multiplier shows three significant figures.
    const double mant = fourBands ? d0 + d1 / 10 + d2 / 100 : d0 + d1 / 10;
    const QString units[4] = {QStringLiteral("Ohms"), QStringLiteral("kOhms"), QStringLiteral("MOhms"),
                              QStringLiteral("GOhms")};
    if (m == 0.01)
        return {fourBands ? mant : mant / 10, units[0]};
    if (m == 0.1)
        return {fourBands ? mant * 10 : mant, units[0]};
    if (m >= 0 && m <= 9 && m == std::floor(m)) {
        const int k = int(m);
        if (fourBands) {
            if (k == 0)
                return {mant * 100, units[0]};
            const int group = (k - 1) / 3 + 1;
            return {mant * std::pow(10.0, k - 1 - 3 * (group - 1)), units[group]};
        }
        if (k <= 1)
            return {mant * std::pow(10.0, k + 1), units[0]};
        const int group = (k - 2) / 3 + 1;
        return {mant * std::pow(10.0, k - 2 - 3 * (group - 1)), units[group]};
    }
    return {mant, QString()};
}

QString bandValueText(double value)
{
    QString s = fmt(value, QStringLiteral("0.00")).left(4);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s;
}
