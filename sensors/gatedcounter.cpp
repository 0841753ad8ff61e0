#include "gatedcounter.h"

#include "common/fields.h"

namespace gatedcounter {

QString buttonCommand(int index)
{
    static const char* const codes[6] = {"0015", "0016", "0011", "0012", "0013", "0014"};
    if (index < 0 || index > 5)
        return QString();
    return u'$' + QString::fromLatin1(codes[index]) + QChar(13);
}

QString configCommand(int x, int y, int z)
{
    return QStringLiteral("$0020") + hexpad(x, 2) + hexpad(y, 2) + hexpad(z, 2) + QChar(13);
}

std::optional<std::array<QString, 3>> parseCounts(const QString& frame)
{
    if (frame.mid(2, 2).toLower() != QLatin1String("14"))
        return std::nullopt;
    return std::array<QString, 3>{frame.mid(5, 11), frame.mid(17, 11), frame.mid(29, 11)};
}

} // namespace gatedcounter
