#include "sha1.h"
#include "fields.h"
#include "xtea.h"

namespace {

int32_t word(const QChar* p)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const char16_t c = p[i].unicode();
        v = (v << 8) | (c < 256 ? c : '?');
    }
    return int32_t(v);
}

} // namespace

QString sha1padding(int64_t length)
{
    const int64_t afterMark = length + 1;
    const int zeros = int((64 - ((afterMark + 8) % 64)) & 63);
    QString pad;
    pad.reserve(1 + zeros + 8);
    pad += QChar(128);
    pad += QString(zeros, QChar(0));
    // 64-bit length field: messages of 2^29 characters and more keep their
    // true bit length.
    const uint64_t bits = uint64_t(length) * 8u;
    for (int shift = 56; shift >= 0; shift -= 8)
        pad += QChar(char16_t((bits >> shift) & 0xFF));
    return pad;
}

QString sha1(const QString& constants, QString& message)
{
    int32_t k[4] = {0x5A827999, 0x6ED9EBA1, int32_t(0x8F1BBCDCu), int32_t(0xCA62C1D6u)};
    if (!constants.isEmpty()) {
        QString digits;
        for (const QChar c : constants)
            if ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))
                digits += c;
        digits = (QString(32, u'0') + digits).right(32);
        for (int i = 0; i < 4; ++i)
            k[3 - i] = hextolong(digits.mid(i * 8, 8));
    }
    int32_t h[5] = {0x67452301, int32_t(0xEFCDAB89u), int32_t(0x98BADCFEu), 0x10325476, int32_t(0xC3D2E1F0u)};

    message += sha1padding(message.size());
    const QChar* data = message.constData();
    const qsizetype blocks = message.size() / 64;
    int32_t wt[80];
    for (qsizetype b = 0; b < blocks; ++b) {
        const QChar* block = data + b * 64;
        for (int t = 0; t < 16; ++t)
            wt[t] = word(block + t * 4);
        for (int t = 16; t < 80; ++t)
            wt[t] = rotl(wt[t - 3] ^ wt[t - 8] ^ wt[t - 14] ^ wt[t - 16], 1);
        int32_t a = h[0], bb = h[1], c = h[2], d = h[3], e = h[4];
        for (int t = 0; t < 80; ++t) {
            int32_t f, kt;
            if (t < 20) {
                f = (bb & c) | (~bb & d);
                kt = k[0];
            } else if (t < 40) {
                f = bb ^ c ^ d;
                kt = k[1];
            } else if (t < 60) {
                f = (bb & c) | (bb & d) | (c & d);
                kt = k[2];
            } else {
                f = bb ^ c ^ d;
                kt = k[3];
            }
            const int32_t temp = uadd(uadd(uadd(uadd(rotl(a, 5), f), e), kt), wt[t]);
            e = d;
            d = c;
            c = rotl(bb, 30);
            bb = a;
            a = temp;
        }
        h[0] = uadd(h[0], a);
        h[1] = uadd(h[1], bb);
        h[2] = uadd(h[2], c);
        h[3] = uadd(h[3], d);
        h[4] = uadd(h[4], e);
    }
    QString out = hex8(h[0], 8);
    for (int i = 1; i < 5; ++i)
        out += u' ' + hex8(h[i], 8);
    return out;
}

QString sha1(const QString& constants, const QString& message)
{
    QString m = message;
    return sha1(constants, m);
}

Sha1Stream::Sha1Stream()
    : m_hash(QCryptographicHash::Sha1)
{
}

void Sha1Stream::add(const QByteArray& bytes)
{
    m_hash.addData(bytes);
}

QString Sha1Stream::digest() const
{
    // Qt finishes a copy of its state, so parts added later still count.
    const QByteArray hex = m_hash.result().toHex().toUpper();
    QString out;
    for (int i = 0; i < 40; i += 8)
        out += (i ? QStringLiteral(" ") : QString()) + QString::fromLatin1(hex.mid(i, 8));
    return out;
}
