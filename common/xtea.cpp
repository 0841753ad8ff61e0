#include "xtea.h"
#include "fields.h"

namespace {

constexpr uint32_t kDelta = 0x9E3779B9u;

uint32_t u(int32_t w)
{
    return uint32_t(w);
}

int32_t w(uint32_t v)
{
    return int32_t(v);
}

// A character's byte: Latin-1, anything beyond it as "?".
int byteOf(QChar c)
{
    return c.unicode() < 256 ? c.unicode() : '?';
}

QString hexOfBytes(const QString& text, qsizetype count)
{
    QString out;
    out.reserve(count * 2);
    for (qsizetype i = 0; i < count; ++i)
        out += QStringLiteral("%1").arg(byteOf(text[i]), 2, 16, QLatin1Char('0')).toUpper();
    return out;
}

int32_t mix(int32_t x)
{
    return uadd(shl(x, 4) ^ shr(x, 5), x);
}

} // namespace

int32_t uadd(const int32_t& a, const int32_t& b)
{
    return w(u(a) + u(b));
}

int32_t usub(const int32_t& a, const int32_t& b)
{
    return uadd(uadd(a, ~b), 1);
}

int32_t rotl(const int32_t& value, const int& n)
{
    if (n < 1 || n > 31)
        return value;
    return w((u(value) << n) | (u(value) >> (32 - n)));
}

int32_t shl(const int32_t& value, const int& n)
{
    if (n < 1)
        return value;
    if (n >= 32)
        return 0;
    return w(u(value) << n);
}

int32_t shr(const int32_t& value, const int& n)
{
    if (n < 1)
        return value;
    if (n >= 32)
        return 0;
    return w(u(value) >> n);
}

QString hex8(const int32_t& value, int& digits)
{
    if (digits > 8)
        digits = 8;
    if (digits <= 0)
        return QString();
    return QStringLiteral("%1").arg(u(value), 8, 16, QLatin1Char('0')).toUpper().right(digits);
}

QString hex8(const int32_t& value, const int& digits)
{
    int d = digits;
    return hex8(value, d);
}

QString xtea(const int& mode, const QString& data, QString& key)
{
    QString d, k;
    switch (mode) {
    case 0:
    case 1:
        d = data;
        k = key;
        break;
    case 2:
    case 3:
        d = hexOfBytes(data, data.size());
        key += QString(16, QChar(0));
        k = hexOfBytes(key, 16);
        break;
    default:
        return QString();
    }
    const QString zeros(32, u'0');
    d = (zeros + d).right(16);
    k = (zeros + k).right(32);
    int32_t kw[4];
    for (int i = 0; i < 4; ++i)
        kw[i] = hextolong(k.mid((3 - i) * 8, 8));
    int32_t left = hextolong(d.left(8));
    int32_t right = hextolong(d.mid(8, 8));

    // The published cipher with v[0] = right and v[1] = left.
    if (mode == 0 || mode == 2) {
        int32_t sum = 0;
        for (int i = 0; i < 32; ++i) {
            right = uadd(right, mix(left) ^ uadd(sum, kw[sum & 3]));
            sum = uadd(sum, w(kDelta));
            left = uadd(left, mix(right) ^ uadd(sum, kw[shr(sum, 11) & 3]));
        }
    } else {
        int32_t sum = w(kDelta * 32u);
        for (int i = 0; i < 32; ++i) {
            left = usub(left, mix(right) ^ uadd(sum, kw[shr(sum, 11) & 3]));
            sum = usub(sum, w(kDelta));
            right = usub(right, mix(left) ^ uadd(sum, kw[sum & 3]));
        }
    }
    const QString result = hex8(left, 8) + hex8(right, 8);
    if (mode == 0 || mode == 1)
        return result;
    QString bytes;
    for (int i = 0; i < 8; ++i)
        bytes += QChar(char16_t(hextolong(result.mid(i * 2, 2))));
    return bytes;
}

QString xtea(const int& mode, const QString& data, const QString& key)
{
    QString k = key;
    return xtea(mode, data, k);
}
