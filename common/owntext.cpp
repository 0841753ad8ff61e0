#include "owntext.h"

#include "alert.h"

#include <QStringDecoder>

#include <optional>

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

bool hasNonAscii(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// The UTF-8 text of bytes, or nothing when they are not valid UTF-8.
std::optional<QString> utf8(QByteArrayView bytes)
{
    // The byte-order mark is dropped by withoutBom, once; a second one is
    // the text's own character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArrayView withoutBom(const QByteArray& bytes)
{
    QByteArrayView v(bytes);
    return bytes.startsWith(kBom) ? v.sliced(kBom.size()) : v;
}

QByteArray encoded(const QString& text)
{
    if (firstUnfitChar(text) >= 0)
        return text.toUtf8();
    QByteArray latin = text.toLatin1();
    // Latin-1 bytes that happen to form UTF-8 ("Ã©") would read back as
    // other characters; those files are written as UTF-8 instead.
    if (hasNonAscii(latin) && utf8(latin))
        return text.toUtf8();
    return latin;
}

} // namespace

QByteArray encodeOwnText(const QString& text)
{
    QByteArray bytes = encoded(text);
    // Bytes that begin like a byte-order mark would lose it on reading: a
    // mark of our own in front keeps them whole.
    if (bytes.startsWith(kBom))
        return kBom + text.toUtf8();
    return bytes;
}

QString decodeOwnText(const QByteArray& bytes, bool* readAsUtf8)
{
    const QByteArrayView body = withoutBom(bytes);
    const bool wide = hasNonAscii(body);
    if (readAsUtf8)
        *readAsUtf8 = false;
    if (!wide)
        return QString::fromLatin1(body);
    if (std::optional<QString> text = utf8(body)) {
        if (readAsUtf8)
            *readAsUtf8 = true;
        return *text;
    }
    return QString::fromLatin1(body);
}

void OwnTextForm::add(QByteArrayView piece)
{
    if (m_invalid || piece.isEmpty())
        return;
    m_wide = m_wide || hasNonAscii(piece);
    m_carry += piece;
    // Checked up to the start of the last character, which may go on in
    // the next piece: UTF-8 is valid when every such run of whole
    // characters is.
    const qsizetype n = m_carry.size();
    qsizetype cut = n;
    for (qsizetype i = n - 1; i >= 0 && i >= n - 4; --i) {
        if ((static_cast<unsigned char>(m_carry[i]) & 0xC0) != 0x80) {
            cut = i;
            break;
        }
    }
    if (cut > 0) {
        m_invalid = !::utf8(QByteArrayView(m_carry).first(cut));
        m_carry.remove(0, cut);
    }
    if (m_invalid)
        m_carry.clear();
}

bool OwnTextForm::utf8() const
{
    return m_wide && !m_invalid && ::utf8(m_carry);
}

qsizetype ownTextBomSize(QByteArrayView head)
{
    return head.startsWith(kBom) ? kBom.size() : 0;
}

QString decodeOwnTextPiece(QByteArrayView bytes, bool utf8)
{
    if (!utf8)
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

qsizetype firstUnfitChar(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].unicode() > 0xFF)
            return i;
    return -1;
}

namespace {

// The character at position pos named for a message: "Ω" (U+03A9). A
// character outside the Basic Multilingual Plane is named whole.
QString charname(const QString& text, qsizetype pos)
{
    if (pos < 0 || pos >= text.size())
        return QString();
    char32_t code = text[pos].unicode();
    QString shown(text[pos]);
    if (text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate()) {
        code = QChar::surrogateToUcs4(text[pos], text[pos + 1]);
        shown += text[pos + 1];
    } else if (text[pos].isSurrogate()) {
        shown.clear(); // half a pair shows as nothing useful
    }
    QString hex = QString::number(code, 16).toUpper();
    if (hex.size() < 4)
        hex = QString(4 - hex.size(), u'0') + hex;
    return (shown.isEmpty() ? QString() : u'"' + shown + QStringLiteral("\" ")) + QStringLiteral("(U+") + hex + u')';
}

void refuse(const QString& where, const QString& text, qsizetype pos, const QString& file)
{
    alertbox(QStringLiteral("Character not allowed"),
             where + QStringLiteral(" holds the character ") + charname(text, pos) + QStringLiteral(", which ") + file
                 + QStringLiteral(" cannot hold (one byte per character). Nothing was written."),
             0);
}

} // namespace

qsizetype charCount(const QString& text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return n;
}

QString leftChars(const QString& text, qsizetype n)
{
    qsizetype i = 0;
    for (qsizetype chars = 0; chars < n && i < text.size(); ++chars)
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    return text.left(i);
}

qsizetype firstLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return i;
    }
    return -1;
}

bool owntextfits(const QString& file, const QList<BoxText>& boxes)
{
    for (const BoxText& b : boxes) {
        const qsizetype pos = firstLoneSurrogate(b.text);
        if (pos >= 0) {
            alertbox(QStringLiteral("Character not allowed"),
                     QStringLiteral("The box \"") + b.box + QStringLiteral("\" holds half a character ")
                         + charname(b.text, pos) + QStringLiteral(", which ") + file
                         + QStringLiteral(" cannot hold. Nothing was written."),
                     0);
            return false;
        }
    }
    return true;
}

bool singlebytefits(const QString& file, const QList<BoxText>& boxes)
{
    for (const BoxText& b : boxes) {
        const qsizetype pos = firstUnfitChar(b.text);
        if (pos >= 0) {
            refuse(QStringLiteral("The box \"") + b.box + u'"', b.text, pos, file);
            return false;
        }
    }
    return true;
}

bool singlebytelines(const QString& file, const QStringList& lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype pos = firstUnfitChar(lines[i]);
        if (pos >= 0) {
            refuse(QStringLiteral("Line ") + QString::number(i + 1), lines[i], pos, file);
            return false;
        }
    }
    return true;
}
