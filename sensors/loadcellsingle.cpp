#include "loadcellsingle.h"

#include "common/fields.h"
#include "common/formbuilder.h"
#include "common/numtext.h"

namespace loadcellsingle {

QString reformatParameter(const QString& text)
{
    const double v = numval(text);
    if (v > parameterMax)
        return QStringLiteral("25.5");
    // A pasted negative would go out as a byte of its two's complement
    // ("-0.5" as FB, 25.1): it reads as nothing set.
    if (!(v > 0))
        return QStringLiteral("0.0");
    return fmt(v, QStringLiteral("0.0"));
}

QString clampParameter(const QString& text)
{
    const double v = numval(text);
    if (v > parameterMax)
        return QStringLiteral("25.5");
    if (v < 0)
        return QStringLiteral("0.0");
    return text;
}

QString command(const QString& code)
{
    return u'$' + code + QStringLiteral("\r\n");
}

QString parameterCommand(const QString& code, const QString& text)
{
    return u'$' + code + hexpad(numval(clampParameter(text)) * 10, 2) + QStringLiteral("\r\n");
}

Reply decodeReply(const QString& frame)
{
    Reply r;
    const QString code = frame.left(4).toLower();
    auto tenths = [&] { return fmt(hextolong(frame.mid(4, 8)) / 10.0, QStringLiteral("0.0")); };
    if (code == QLatin1String("0010") || code == QLatin1String("0012")) {
        r.box = code == QLatin1String("0010") ? QStringLiteral("rawadc") : QStringLiteral("diffadc");
        r.text = frame.mid(4, 8);
    } else if (code == QLatin1String("0020")) {
        r.box = r.colorBox = QStringLiteral("zeroval");
        r.text = frame.mid(6, 8);
        const QString status = frame.mid(4, 2);
        if (status == QLatin1String("00"))
            r.color = colors::red;
        else if (status == QLatin1String("01"))
            r.color = colors::green;
        else if (status == QLatin1String("02"))
            r.color = QColor(0, 0, 255);
        else
            r.color = colors::grey;
    } else if (code == QLatin1String("0031")) {
        r.box = QStringLiteral("threshold");
        r.text = tenths();
    } else if (code == QLatin1String("0033")) {
        r.box = QStringLiteral("tdelay");
        r.text = tenths();
    } else if (code == QLatin1String("0035")) {
        r.box = QStringLiteral("fdelay");
        r.text = tenths();
    } else if (code == QLatin1String("0040")) {
        r.box = QStringLiteral("tripped");
        r.text = QString::number(hextolong(frame.mid(4, 2)));
    } else if (code == QLatin1String("0050") || code == QLatin1String("0051")) {
        r.colorBox = QStringLiteral("tripped");
        r.color = code == QLatin1String("0050") ? colors::red : colors::green;
    }
    return r;
}

} // namespace loadcellsingle
