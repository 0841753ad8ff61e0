#include "numtext.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

// The C library's number conversions follow the process locale, which the
// application sets from the user's environment: under a German locale
// strtod stops at "." and printf writes ",". Each conversion here runs
// under the "C" locale for its thread instead.
class CNumericScope {
public:
    CNumericScope()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        m_old = c ? uselocale(c) : locale_t(nullptr);
    }
    ~CNumericScope()
    {
        if (m_old)
            uselocale(m_old);
    }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t m_old;
};

} // namespace

double numval(const QString& text)
{
    const int n = int(text.size());
    int i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    std::string s;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        s += char(text[i++].unicode());
    bool digits = false, point = false;
    while (i < n) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            s += char(c.unicode());
            digits = true;
        } else if (c == u'.' && !point) {
            s += '.';
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits)
        return 0.0;
    // An exponent counts only when whole: "E", optional sign, at least one digit.
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        int j = i + 1;
        std::string e = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            e += char(text[j++].unicode());
        bool edigits = false;
        while (j < n && text[j] >= u'0' && text[j] <= u'9') {
            // Cap absurd exponents so strtod never sees thousands of digits.
            if (e.size() < 8)
                e += char(text[j].unicode());
            edigits = true;
            ++j;
        }
        if (edigits)
            s += e;
    }
    const CNumericScope cLocale;
    const double v = std::strtod(s.c_str(), nullptr);
    return v;
}

bool isnum(double value)
{
    return std::isfinite(value);
}

namespace {

// Digits and decimal exponent of |value| rounded to `sig` significant digits:
// value = 0.d1d2d3... x 10^exp10.
void sigDigits(double value, int sig, std::string& digits, int& exp10)
{
    char buf[64];
    {
        const CNumericScope cLocale;
        std::snprintf(buf, sizeof buf, "%.*e", sig - 1, std::fabs(value));
    }
    // buf: d.ddddde[+-]xx
    std::string s(buf);
    const auto epos = s.find('e');
    digits.clear();
    for (size_t k = 0; k < epos; ++k)
        if (s[k] != '.')
            digits += s[k];
    exp10 = std::atoi(s.c_str() + epos + 1) + 1;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

// Number-to-text at a given number of significant digits; exponent form
// once the value needs more whole digits than that, or below 0.001.
QString numberText(double value, int sig)
{
    if (!std::isfinite(value))
        return QStringLiteral(" ---");
    if (value == 0.0)
        return QStringLiteral(" 0");
    std::string digits;
    int e = 0;
    sigDigits(value, sig, digits, e);
    std::string out = value < 0 ? "-" : " ";
    const int nd = int(digits.size());
    if (e > sig || e < -3) {
        // Exponent form: d.ddddE+xx
        out += digits[0];
        if (nd > 1) {
            out += '.';
            out += digits.substr(1);
        }
        const int x = e - 1;
        char buf[16];
        std::snprintf(buf, sizeof buf, "E%c%02d", x < 0 ? '-' : '+', std::abs(x));
        out += buf;
    } else if (e <= 0) {
        out += '.';
        out += std::string(size_t(-e), '0');
        out += digits;
    } else if (nd <= e) {
        out += digits;
        out += std::string(size_t(e - nd), '0');
    } else {
        out += digits.substr(0, size_t(e));
        out += '.';
        out += digits.substr(size_t(e));
    }
    return QString::fromLatin1(out.c_str());
}

} // namespace

QString numstr(double value)
{
    return numberText(value, 15);
}

QString plaindec(double value)
{
    QString s = numstr(value);
    if (s.startsWith(u' '))
        s.remove(0, 1);
    if (s.startsWith(u'.'))
        s.prepend(u'0');
    else if (s.startsWith(QLatin1String("-.")))
        s.insert(1, u'0');
    return s;
}

namespace {

// Adds one unit in the last place to a string of decimal digits; returns
// true when it carried out of the leftmost digit.
bool incrementDigits(std::string& d)
{
    for (int k = int(d.size()) - 1; k >= 0; --k) {
        if (d[size_t(k)] == '9') {
            d[size_t(k)] = '0';
        } else {
            ++d[size_t(k)];
            return false;
        }
    }
    d.insert(d.begin(), '1');
    return true;
}

} // namespace

QString fmt(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return QStringLiteral("---");
    const int dot = int(pattern.indexOf(u'.'));
    const QString intPat = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPat = dot < 0 ? QString() : pattern.mid(dot + 1);
    int places = 0;
    int fracZeros = 0;
    for (QChar c : fracPat) {
        if (c == u'0' || c == u'#')
            ++places;
        if (c == u'0')
            fracZeros = places;
    }
    int intZeros = 0;
    bool grouping = false;
    bool seenZero = false;
    for (QChar c : intPat) {
        if (c == u'0')
            seenZero = true;
        if (c == u',')
            grouping = true;
        if (seenZero && (c == u'0' || c == u'#'))
            ++intZeros;
    }

    // Decimal digits of |value| at 15 significant digits, so 2.675 is
    // treated as the 2.675 the user typed rather than its binary neighbour.
    std::string intDigits, fracDigits;
    if (value != 0.0) {
        std::string digits;
        int e = 0;
        sigDigits(value, 15, digits, e);
        if (e <= 0) {
            intDigits = "";
            fracDigits = std::string(size_t(-e), '0') + digits;
        } else if (int(digits.size()) <= e) {
            intDigits = digits + std::string(size_t(e - int(digits.size())), '0');
        } else {
            intDigits = digits.substr(0, size_t(e));
            fracDigits = digits.substr(size_t(e));
        }
    }
    // Round half away from zero to `places`.
    if (int(fracDigits.size()) > places) {
        const bool up = fracDigits[size_t(places)] >= '5';
        fracDigits.resize(size_t(places));
        if (up) {
            std::string whole = intDigits + fracDigits;
            if (whole.empty())
                whole = "0";
            incrementDigits(whole);
            const size_t intLen = whole.size() - fracDigits.size();
            intDigits = whole.substr(0, intLen);
            fracDigits = whole.substr(intLen);
        }
    }
    while (int(fracDigits.size()) < places)
        fracDigits += '0';
    // Strip leading zeros of the whole part, then pad to the pattern's zeros.
    size_t nz = 0;
    while (nz < intDigits.size() && intDigits[nz] == '0')
        ++nz;
    intDigits = intDigits.substr(nz);
    // Optional fraction digits ("#") drop trailing zeros beyond the forced ones.
    while (int(fracDigits.size()) > fracZeros && !fracDigits.empty() && fracDigits.back() == '0')
        fracDigits.pop_back();
    while (int(intDigits.size()) < intZeros)
        intDigits.insert(intDigits.begin(), '0');
    bool isZero = true;
    for (char c : intDigits + fracDigits)
        if (c != '0')
            isZero = false;

    std::string intOut;
    if (grouping) {
        const int len = int(intDigits.size());
        for (int k = 0; k < len; ++k) {
            if (k > 0 && (len - k) % 3 == 0)
                intOut += ',';
            intOut += intDigits[size_t(k)];
        }
    } else {
        intOut = intDigits;
    }
    std::string out;
    if (value < 0 && !isZero)
        out += '-';
    out += intOut;
    if (dot >= 0 && (!fracDigits.empty() || fracPat.isEmpty()))
        out += '.' + fracDigits;
    return QString::fromLatin1(out.c_str());
}

QString hexstr(int64_t value)
{
    const uint32_t v = uint32_t(value);
    return QString::number(v, 16).toUpper();
}

QString singlestr(float value)
{
    return numberText(double(value), 7);
}
