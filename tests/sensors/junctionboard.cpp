#include "junctionboard.h"

namespace {
QString hex(long value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, u'0');
}
} // namespace

QString JunctionBoard::reply0020() const
{
    return QStringLiteral("!0020") + hex(currentScale, 6) + hex(voltageScale, 6) + hex(current, 4) + hex(voltage, 4) +
           u'\r';
}

QString JunctionBoard::reply0030() const
{
    return QStringLiteral("!0030") + hex(voltageScale, 6) + hex(open, 4) + u'\r';
}

QString JunctionBoard::reply0040() const
{
    return QStringLiteral("!0040") + hex(currentScale, 6) + hex(voltageScale, 6) + hex(current, 4) + hex(voltage, 4) +
           hex(open, 4) + u'\r';
}

QStringList JunctionBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0010")) {
        heater << line.mid(5);
        return {};
    }
    if (code == QLatin1String("0020") || code == QLatin1String("0021"))
        return {reply0020()};
    if (code == QLatin1String("0030") || code == QLatin1String("0031"))
        return {reply0030()};
    if (code == QLatin1String("0040") || code == QLatin1String("0041")) {
        QStringList out;
        for (int i = 0; i < tests; ++i)
            out << reply0040();
        return out;
    }
    return {};
}
