#include "dualdac.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <QRegularExpression>

#include <cmath>

namespace dualdac {

int barMax(double vlimit)
{
    const double max = std::nearbyint(vlimit / 5.0 * 4095.0);
    if (!(max > 0))
        return 0;
    return max > 32767 ? 32767 : int(max);
}

double targetVolts(double vlimit, int level, int max)
{
    if (max <= 0)
        return 0;
    return vlimit * level / max;
}

QString writeCommand(double code0, double code1)
{
    return QStringLiteral("$0011") + hexpad(code0, 4) + hexpad(code1, 4) + QChar(13);
}

QString readCommand()
{
    return QStringLiteral("$0010") + QChar(13);
}

std::optional<int> dacCode(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double code = std::nearbyint(numval(text));
    if (!(code >= 0 && code <= 65535))
        return std::nullopt;
    return int(code);
}

bool isReading(const QString& frame)
{
    const QString code = frame.mid(2, 2);
    return code == QLatin1String("10") || code == QLatin1String("11");
}

double readingVolts(const QString& frame, int channel)
{
    const QString field = frame.mid(channel == 0 ? 4 : 9, 5);
    if (field.isEmpty() || field.front() < u'0' || field.front() > u'9')
        return 0;
    return numval(field) / 10000.0;
}

QString txLogLine(const QString& text)
{
    if (text.endsWith(QChar(13)))
        return text.left(text.size() - 1) + QStringLiteral("[cr]");
    return text;
}

} // namespace dualdac
