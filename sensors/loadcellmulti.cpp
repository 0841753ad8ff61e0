#include "loadcellmulti.h"

#include "common/fields.h"
#include "common/numtext.h"

namespace loadcellmulti {

QString command(int index)
{
    // "Read Scalers" goes out with a lower-case f, as the board expects it.
    static const char* codes[8] = {"0011", "0010", "0012", "0013", "0040", "0041", "0050", "003f"};
    if (index < 0 || index > 7)
        return QString();
    return u'$' + QString::fromLatin1(codes[index]) + QStringLiteral("\r\n");
}

Reply decodeReply(const QString& frame)
{
    Reply r;
    const QString code = frame.left(4).toLower();
    QStringList fields;
    for (int n = 2; n <= 5; ++n)
        fields << getfield(frame, n, QStringLiteral(","));
    if (code == QLatin1String("0020")) {
        r.column = 0;
        for (const QString& f : fields)
            r.values << fmt(numval(f), QStringLiteral("0.000"));
        r.dashes = 4;
        r.reading = true;
        r.logLine = QStringLiteral("Pounds,") + r.values.join(u',');
    } else if (code == QLatin1String("0021")) {
        r.column = 4;
        r.values = fields;
        r.dashes = 0;
        r.reading = true;
        r.logLine = QStringLiteral("Counts,") + r.values.join(u',');
    } else if (code == QLatin1String("003f")) {
        r.column = 16;
        r.values = fields;
    } else if (code == QLatin1String("0012")) {
        r.dashes = 4;
    } else if (code == QLatin1String("0013")) {
        r.dashes = 0;
    } else if (code != QLatin1String("0010") && code != QLatin1String("0011") && code != QLatin1String("0040") &&
               code != QLatin1String("0041") && code != QLatin1String("0050")) {
        return r;
    }
    r.known = true;
    return r;
}

} // namespace loadcellmulti
