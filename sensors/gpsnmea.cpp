#include "gpsnmea.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <QRegularExpression>

#include <cmath>

namespace gps {

Sentence classify(const QString& frame)
{
    static const struct {
        const char* name;
        Sentence kind;
    } names[] = {
        {"gpgga", Sentence::Gga}, {"gpgsa", Sentence::Gsa}, {"gpgsv", Sentence::Gsv},
        {"gpvtg", Sentence::Vtg}, {"gpgll", Sentence::Gll}, {"gprmc", Sentence::Rmc},
    };
    const QString kind = frame.left(5).toLower();
    for (const auto& n : names)
        if (kind == QLatin1String(n.name))
            return n.kind;
    if (getfield(frame, 1, QStringLiteral(",")).toLower() == QLatin1String("pdme"))
        return Sentence::Pdme;
    return Sentence::Other;
}

int indicatorIndex(Sentence kind)
{
    switch (kind) {
    case Sentence::Gga:
        return 0;
    case Sentence::Gsa:
        return 1;
    case Sentence::Gsv:
        return 2;
    case Sentence::Vtg:
        return 3;
    case Sentence::Gll:
        return 4;
    case Sentence::Rmc:
        return 5;
    default:
        return -1;
    }
}

QString withoutChecksum(const QString& frame)
{
    const qsizetype star = frame.indexOf(u'*');
    return star < 0 ? frame : frame.left(star);
}

QStringList sentenceFields(const QString& frame)
{
    return withoutChecksum(frame).split(u',');
}

QString utcForm(const QString& time)
{
    if (time.isEmpty())
        return QString();
    return time.left(2) + u':' + time.mid(2, 2) + u':' + time.mid(4);
}

QString dateForm(const QString& date)
{
    if (date.isEmpty())
        return QString();
    return date.mid(2, 2) + u'/' + date.left(2) + u'/' + date.right(2);
}

std::array<QString, 10> ggaBoxes(const QStringList& f)
{
    return {utcForm(f.value(1)), f.value(2), f.value(3), f.value(4), f.value(5),
            f.value(6),          f.value(7), f.value(8), f.value(9), f.value(11)};
}

std::array<QString, 9> rmcBoxes(const QStringList& f)
{
    return {dateForm(f.value(9)), utcForm(f.value(1)), f.value(3), f.value(4), f.value(5),
            f.value(6),           f.value(7),          f.value(8), f.value(2)};
}

std::optional<double> numberText(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const double v = numval(text);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> coordinate(const QString& field)
{
    const std::optional<double> v = numberText(field);
    if (!v)
        return std::nullopt;
    const double degrees = std::trunc(*v / 100);
    return degrees + (*v - 100 * degrees) / 60;
}

std::optional<Position> ggaFix(const QStringList& fields)
{
    if (fields.size() < 12 || fields.at(6).trimmed() == QLatin1String("0"))
        return std::nullopt;
    const std::optional<double> lat = coordinate(fields.at(2));
    const std::optional<double> lon = coordinate(fields.at(4));
    if (!lat || !lon)
        return std::nullopt;
    return Position{*lat, *lon};
}

std::optional<QString> commandText(int index, const QString& maskBox)
{
    switch (index) {
    case SetMask: {
        if (maskBox.isEmpty())
            return QStringLiteral("$PDME,8,");
        const std::optional<double> v = numberText(maskBox);
        if (!v)
            return std::nullopt;
        return QStringLiteral("$PDME,8,") + fmt(*v, QStringLiteral("0"));
    }
    case GetMask:
        return QStringLiteral("$PDME,7");
    case ColdStart:
        return QStringLiteral("$PDME,0");
    case WarmStart:
        return QStringLiteral("$PDME,1");
    case HotStart:
        return QStringLiteral("$PDME,2");
    case GetEstError:
        return QStringLiteral("$PDME,12,5");
    case GetLeapSecs:
        return QStringLiteral("$PDME,12,6");
    default:
        return std::nullopt;
    }
}

std::vector<BoxValue> replyValues(const QString& frame)
{
    // Fields numbered from 1 as the replies are described ("PDME" is 1).
    const QStringList fields = sentenceFields(frame);
    const auto field = [&](int n) { return fields.value(n - 1); };
    const auto present = [&](int n) { return !field(n).trimmed().isEmpty(); };
    const QString code = field(2);
    const QString sub = field(3);
    std::vector<BoxValue> set;
    if (code == QLatin1String("12") && sub == QLatin1String("5") && present(4)) {
        set.push_back({1, fmt(numval(field(4)) * 3.2808, QStringLiteral("0.00"))});
        set.push_back({2, fmt(numval(field(5)) * 3.2808, QStringLiteral("0.00"))});
    } else if (code == QLatin1String("12") && sub == QLatin1String("6") && present(4)) {
        set.push_back({3, fmt(numval(field(4)), QStringLiteral("0"))});
    } else if (code == QLatin1String("7") && present(3)) {
        set.push_back({0, fmt(numval(sub), QStringLiteral("0"))});
    }
    return set;
}

} // namespace gps
