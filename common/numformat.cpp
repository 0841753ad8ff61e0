#include "numformat.h"
#include "numtext.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

QString padded(const int& value, const int& width, QChar pad)
{
    if (width <= 0)
        return QString();
    // Widened first, so the most negative 32-bit value has its own digits.
    const int64_t magnitude = std::llabs(int64_t(value));
    const QString s = QString(100, pad) + QString::number(magnitude);
    return s.right(width);
}

} // namespace

QString binstr(const int& value, int& bits)
{
    if (bits <= 0)
        return QString();
    QString out;
    int top = bits - 1;
    if (bits >= 32) {
        out += value < 0 ? u'1' : u'0';
        bits = 31;
        top = 30;
    }
    for (int i = top; i >= 0; --i)
        out += (uint32_t(value) >> i) & 1u ? u'1' : u'0';
    return out;
}

QString binstr(const int& value, const int& bits)
{
    int b = bits;
    return binstr(value, b);
}

QString zeropad(const int& value, const int& width)
{
    return padded(value, width, u'0');
}

QString spacepad(const int& value, const int& width)
{
    return padded(value, width, u' ');
}

QString zerofill(const double& value, const int& width)
{
    if (width <= 0)
        return QString();
    const QString s = QString(width, u'0') + numstr(value).mid(1);
    return s.right(width);
}

QString engformat(const double& value, const QString& unit)
{
    if (!std::isfinite(value))
        return QStringLiteral("---");
    if (value < 0)
        return u'-' + engformat(-value, unit);
    struct Row {
        double below;
        const char* suffix;
        double scale;
    };
    static const Row rows[] = {
        {1e-8, " n", 1e9}, {1e-5, " u", 1e6}, {0.01, " m", 1000}, {10, " ", 1}, {10000, " k", 0.001},
    };
    const char* suffix = " M";
    double scale = 1e-6;
    for (const Row& r : rows) {
        if (value < r.below) {
            suffix = r.suffix;
            scale = r.scale;
            break;
        }
    }
    // Rounded down to thousandths of the mantissa, but on the decimal digits
    // of the product: 3.3e-8 x 1e9 is 32.999999... in binary and must give 33.
    const double product = value * 1000 * scale;
    QString digits;
    if (product < 1e15) {
        const double tidy = QString::number(product, 'g', 12).toDouble();
        digits = QString::number(int64_t(std::floor(tidy)));
    } else {
        // Beyond exact integers the whole digits are those of the value.
        digits = fmt(std::floor(product), QStringLiteral("0"));
    }
    if (digits.size() < 4)
        digits = QString(4 - digits.size(), u'0') + digits;
    const qsizetype whole = digits.size() - 3;
    return digits.left(whole) + u'.' + digits.mid(whole) + QLatin1String(suffix) + unit;
}

QString quesenable(const int& meterbits, const int& code)
{
    const int word = (meterbits & 0x1A03) | ((code & 127) * 4) | ((code & 128) ? 1024 : 0) | ((code & 256) ? 8192 : 0)
        | ((code & 512) ? 16384 : 0);
    return QStringLiteral("stat:ques:enab ") + numstr(word);
}
