#include "subbcd.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <cmath>

namespace {
// The box's value limited to the range; NaN (no number) counts as 0.
double limited(double v)
{
    if (!(v >= 0))
        return 0;
    return v > bcdMaximum ? bcdMaximum : v;
}

QString rightPad(const QString& text, int width)
{
    return (QString(width, u'0') + text).right(width);
}
} // namespace

QString bcddectohex(const QString& decimal)
{
    return rightPad(hexstr(int64_t(limited(std::nearbyint(numval(decimal))))), 8);
}

QString bcdpaddecimal(const QString& decimal)
{
    const double kept = limited(numval(decimal));
    const QString text = plaindec(kept);
    if (text.size() <= 9 && !text.contains(u'E'))
        return rightPad(text, 9);
    // Text longer than nine characters ("1234567.89", "123456E-9") or in
    // exponent form: cutting it on the left would make another number of
    // it, so the box keeps the whole number the hex box holds.
    return rightPad(plaindec(std::nearbyint(kept)), 9);
}

QString bcdpadhex(const QString& hex)
{
    return rightPad(hex.toUpper(), 8);
}

BcdHexValue bcdhextodec(const QString& hex)
{
    BcdHexValue r;
    qint64 v = hextolong(hex);
    if (v < 0 || v > bcdMaximum) {
        v = bcdMaximum;
        r.limited = true;
    }
    r.decimal = rightPad(QString::number(v), 9);
    return r;
}

QString bcdcodesample(bool decimalBox)
{
    const QStringList lines = decimalBox
        ? QStringList{QStringLiteral("'Convert 9 character strings to 32bit binary"), QString(),
                      QStringLiteral("Dim data_out as double"), QStringLiteral("Dim text_in as string"), QString(),
                      QStringLiteral("data_out=val(text_in)")}
        : QStringList{QStringLiteral("'Convert 32bit binary to 9 character strings"), QString(),
                      QStringLiteral("Dim data_in as double"), QStringLiteral("Dim text_out as string"), QString(),
                      QStringLiteral("text_out=Right(\"00000000\"+mid(str(data_in),2,9),9)")};
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}
