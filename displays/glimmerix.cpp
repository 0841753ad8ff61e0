#include "glimmerix.h"

#include "common/fields.h"

#include <QStringList>

namespace glimmerix {

QString chars(const QString& frame, int from, int to)
{
    if (from < 1 || to < from || from > frame.size())
        return QString();
    return frame.mid(from - 1, to - from + 1);
}

QString replyKind(const QString& frame)
{
    return chars(frame, 3, 4).toLower();
}

const std::array<StepKeys, 4>& stepKeys()
{
    static const std::array<StepKeys, 4> table{{
        {QStringLiteral("02"), 1, 8, 9, {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11"}, 12},
        {QStringLiteral("04"), 14, 10, 12, {"000", "001", "010", "011", "100", "101", "110", "111"}, 8},
        {QStringLiteral("05"), 22, 10, 12, {"000", "00v", "0v0", "0vv", "010", "01v", "011"}, 7},
        {QStringLiteral("06"), 29, 10, 12, {"100", "101", "110", "111"}, 4},
    }};
    return table;
}

void TestGrid::startTest()
{
    for (Cell& c : xtest)
        c = Cell{QStringLiteral(" "), Shade::White};
    for (Cell& c : mdata)
        c = Cell{};
    mdata[2].text = QStringLiteral("Wait");
}

void TestGrid::mark(int box, bool pass)
{
    xtest[std::size_t(box)] = Cell{QStringLiteral("X"), pass ? Shade::Green : Shade::Red};
}

bool TestGrid::apply(const QString& frame)
{
    const QString step = chars(frame, 5, 6).toLower();
    const bool pass = frame.contains(QLatin1String("PASS"));
    const Shade shade = pass ? Shade::Green : Shade::Red;
    // A line cut before the end of the reading it carries marks nothing.
    auto holds = [&](int to) { return frame.size() >= to; };
    if (step == QLatin1String("01")) {
        if (!holds(16))
            return false;
        mark(0, pass);
        mdata[0] = Cell{chars(frame, 8, 16), shade};
        return false;
    }
    if (step == QLatin1String("03")) {
        if (!holds(21))
            return false;
        mark(13, pass);
        mdata[1] = Cell{chars(frame, 19, 21), shade};
        return false;
    }
    if (step == QLatin1String("07")) {
        const QString tag = chars(frame, 9, 11);
        const int reading = tag == QLatin1String("Lo:") ? 3 : tag == QLatin1String("Hi:") ? 4 : -1;
        if (reading < 0 || !holds(24))
            return false;
        mdata[std::size_t(reading)] = Cell{chars(frame, 22, 24), shade};
        // The box is decided by the high reading, once the low one is in.
        if (reading == 4 && !mdata[3].text.isEmpty() && !mdata[4].text.isEmpty())
            mark(33, mdata[3].shade == Shade::Green && mdata[4].shade == Shade::Green);
        return false;
    }
    if (step == QLatin1String("00")) {
        mdata[2] = Cell{QStringLiteral("PASS"), Shade::Green};
        return true;
    }
    if (step == QLatin1String("ff")) {
        mdata[2] = Cell{QStringLiteral("FAIL"), Shade::Red};
        return false;
    }
    for (const StepKeys& s : stepKeys()) {
        if (step != s.step)
            continue;
        // Keys are compared as they stand: "0V0" is not "0v0".
        const QString key = chars(frame, s.from, s.to);
        for (int i = 0; i < s.count; ++i)
            if (key == QLatin1String(s.keys[std::size_t(i)]))
                mark(s.firstBox + i, pass);
    }
    return false;
}

namespace {
bool isHexPair(const QString& pair)
{
    for (QChar c : pair)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}
} // namespace

DumpLine decodeDump(const QString& frame)
{
    const QString crlf = QStringLiteral("\r\n");
    DumpLine out;
    if (frame.contains(u'[')) {
        out.listing = chars(frame, 6, 45) + crlf + crlf;
        return out;
    }
    const QString line = chars(frame, 5, 44);
    out.listing = line + crlf;
    const QString address = chars(line, 1, 2);
    if (address != QLatin1String("00") && address != QLatin1String("10") && address != QLatin1String("20"))
        return out;
    for (int half : {5, 23}) {
        for (int i = 0; i < 8; ++i) {
            const QString pair = chars(line, half + 2 * i, half + 2 * i + 1);
            // A cut line adds only the pairs it holds whole; a garbled pair
            // stands for no byte at all.
            if (pair.size() < 2)
                return out;
            if (!isHexPair(pair))
                continue;
            const QChar c(char16_t(hextolong(pair) & 0xFF));
            if (c == u'\n')
                out.block += QStringLiteral("[lf]");
            else if (c == u'\r')
                out.block += QStringLiteral("[cr]");
            else
                out.block += c;
        }
    }
    return out;
}

QString eightDigits(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (c >= u'0' && c <= u'9')
            digits += c;
    return (QStringLiteral("00000000") + digits).right(8);
}

namespace {
QString serialOf(qint64 value)
{
    return QString::number(value).rightJustified(8, u'0');
}
} // namespace

std::optional<QString> nextSerial(const QString& text)
{
    const qint64 value = eightDigits(text).toLongLong();
    if (value >= 99999999)
        return std::nullopt;
    return serialOf(value + 1);
}

std::optional<QString> previousSerial(const QString& text)
{
    const qint64 value = eightDigits(text).toLongLong();
    if (value <= 0)
        return std::nullopt;
    return serialOf(value - 1);
}

QString datestampFor(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QString blockText(const QString& datestamp, const QString& serial)
{
    return datestamp + u' ' + serial;
}

std::optional<QString> writeCommand(const QString& block)
{
    QString out = QStringLiteral("$00120B");
    for (QChar c : block) {
        if (c.unicode() > 255)
            return std::nullopt;
        out += hexpad(c.unicode(), 2);
    }
    return out + QStringLiteral("\r\n");
}

bool writeAccepted(const QString& frame)
{
    return chars(frame, 5, 5).toLower() == QLatin1String("a");
}

QString recordHeader()
{
    return QStringLiteral("Customer,Version,Model#,Date,SerialNumber");
}

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString recordLine(const QString& customer, const QString& version, const QString& model,
                   const QString& datestamp, const QString& serial)
{
    return QStringList{csvField(customer), csvField(version), csvField(model), csvField(datestamp),
                       csvField(serial)}
        .join(u',');
}

QString settingsSerial(const QStringList& lines)
{
    return eightDigits(lines.isEmpty() ? QString() : lines.first());
}

} // namespace glimmerix
