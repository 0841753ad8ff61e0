#include "fields.h"
#include "verror.h"

#include <cmath>

namespace {

// Leading blanks dropped, each inner run of blanks shrunk to one, a trailing
// run left as exactly one blank. Only the blank itself counts (TAB does not).
QString collapseBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool lastNonBlank = false;
    for (const QChar c : text) {
        if (c != u' ') {
            out += c;
            lastNonBlank = true;
        } else if (lastNonBlank) {
            out += c;
            lastNonBlank = false;
        }
    }
    return out;
}

QString trimmed(const QString& text, const QString& delim, QString* textOut)
{
    if (text.isEmpty())
        return QString();
    // Only a one-character delimiter trims anything: each character is
    // compared with the whole delimiter.
    if (delim.size() != 1) {
        if (textOut)
            *textOut = text;
        return text;
    }
    const QChar d = delim[0];
    qsizetype first = 0;
    while (first < text.size() && text[first] == d)
        ++first;
    const QString rest = text.mid(first);
    if (textOut)
        *textOut = rest;
    qsizetype last = rest.size();
    while (last > 0 && rest[last - 1] == d)
        --last;
    return rest.left(last);
}

// No position table: the delimiters are found as the fields are walked, so a
// text with any number of delimiters is counted and split safely.
QString field(const QString& text, int n, const QString& delim, QString* textOut, QString* delimOut)
{
    if (n == -1)
        return trimmed(text, delim, textOut);

    QString work;
    QString d = delim;
    if (delim.isEmpty() || delim == QLatin1String(" ")) {
        if (delimOut)
            *delimOut = QStringLiteral(" ");
        d = QStringLiteral(" ");
        work = collapseBlanks(text);
    } else {
        work = text;
    }
    if (n > 8000)
        return QString();
    const qsizetype dl = d.size();

    if (n == 0 || n < -1) {
        if (work.isEmpty())
            return QStringLiteral("0");
        qsizetype hits = 0;
        for (qsizetype p = work.indexOf(d); p >= 0; p = work.indexOf(d, p + dl))
            ++hits;
        if (hits == 0)
            return QStringLiteral("1");
        qsizetype count = hits + 1;
        if (work.endsWith(d))
            --count;
        return QString::number(count);
    }

    // n is 1 to 8000: find the delimiters before and after field n.
    qsizetype start = 0;
    for (int k = 1; k < n; ++k) {
        const qsizetype p = work.indexOf(d, start);
        if (p < 0)
            return QString();
        start = p + dl;
    }
    const qsizetype end = work.indexOf(d, start);
    return end < 0 ? work.mid(start) : work.mid(start, end - start);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

QString getfield(QString& text, const int& n, QString& delim)
{
    QString newText, newDelim;
    const QString r = field(text, n, delim, &newText, &newDelim);
    if (n == -1 && !text.isEmpty())
        text = newText;
    else if (n != -1 && !newDelim.isNull())
        delim = newDelim;
    return r;
}

QString getfield(QString& text, const int& n, const QString& delim)
{
    QString newText;
    const QString r = field(text, n, delim, &newText, nullptr);
    if (n == -1 && !text.isEmpty())
        text = newText;
    return r;
}

QString getfield(const QString& text, const int& n, const QString& delim)
{
    return field(text, n, delim, nullptr, nullptr);
}

int splitcount(QStringList& result, const QString& text, const QString& delim)
{
    if (text.isEmpty())
        return 0;
    if (delim.isEmpty())
        result = QStringList{text};
    else
        result = text.split(delim, Qt::KeepEmptyParts, Qt::CaseSensitive);
    return int(result.size() - 1);
}

int32_t hextolong(const QString& text)
{
    // Only the last eight digits count; walking from the right stops there.
    uint32_t value = 0;
    int digits = 0;
    for (qsizetype i = text.size() - 1; i >= 0 && digits < 8; --i) {
        const int v = hexDigit(text[i]);
        if (v < 0)
            continue;
        value |= uint32_t(v) << (4 * digits);
        ++digits;
    }
    return int32_t(value);
}

QString hexpad(const double& value, const int& width)
{
    if (!std::isfinite(value) || value < -2147483648.5 || value >= 9223372036854775808.0)
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
    // Round half to even explicitly rather than trusting the FPU's mode.
    double whole = std::floor(value);
    const double frac = value - whole;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -2147483648.0)
        throw VError(verr::Overflow, QStringLiteral("Overflow"));
    QString digits;
    if (whole < 0)
        digits = QString::number(uint32_t(int32_t(whole)), 16).toUpper();
    else
        digits = QString::number(uint64_t(whole), 16).toUpper();
    if (width <= 0)
        return QString();
    const QString padded = QString(18, u'0') + digits;
    return padded.right(width);
}

QString hextobytes(const QString& text)
{
    QByteArray digits;
    for (const QChar c : text)
        if (hexDigit(c) >= 0)
            digits += char(c.unicode());
    if (digits.size() % 2)
        digits.prepend('0');
    QString out;
    out.reserve(digits.size() / 2);
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        const int hi = hexDigit(QChar(digits[i]));
        const int lo = hexDigit(QChar(digits[i + 1]));
        out += QChar(char16_t(hi * 16 + lo));
    }
    return out;
}
