#include "servoretrofit.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <QRegularExpression>

#include <cmath>

namespace servoretrofit {

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString field(const QString& frame, int n)
{
    return getfield(frame, n, QStringLiteral(","));
}

int fieldCount(const QString& frame)
{
    return getfield(frame, 0, QStringLiteral(",")).toInt();
}

// Bit k of a decimal status field. A field too large for the board's
// registers reads as no bits set rather than as a wrapped value.
QString bit(double value, int k)
{
    if (!std::isfinite(value) || std::fabs(value) > 2147483647.0)
        return QStringLiteral("0");
    const auto bits = static_cast<long long>(std::floor(value));
    return (bits >> k) & 1 ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

const std::array<TrimField, 9>& trimFields()
{
    static const std::array<TrimField, 9> fields{{
        {QStringLiteral("Command analog scaler"), 16, 1},
        {QStringLiteral("Tach analog scaler"), 40, 1},
        {QStringLiteral("Command gain"), 1000, 2},
        {QStringLiteral("Tach gain"), 1000, 2},
        {QStringLiteral("Tach stop threshold (mV)"), 250, 2},
        {QStringLiteral("Command deadband (mV)"), 200, 2},
        {QStringLiteral("PWM maximum value"), 511, 2},
        {QStringLiteral("PWM cycle-cycle increment"), 1, 1},
        {QStringLiteral("Accel / Decel update, mS"), 100, 1},
    }};
    return fields;
}

QStringList defaultTrim()
{
    QStringList out;
    for (const TrimField& f : trimFields())
        out << QString::number(f.defaultValue);
    return out;
}

int fieldMax(int index)
{
    return trimFields()[std::size_t(index)].bytes == 1 ? 255 : 65535;
}

bool isNumberText(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return number.match(text).hasMatch();
}

Command tuningWrite(const QStringList& boxes)
{
    Command out;
    QString hex;
    const auto& fields = trimFields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const QString text = qsizetype(k) < boxes.size() ? boxes[qsizetype(k)] : QString();
        const double value = numval(text);
        if (!isNumberText(text) || !std::isfinite(value) || value != std::floor(value) || value < 0 ||
            value > fieldMax(int(k))) {
            out.badField = int(k);
            return out;
        }
        hex += hexpad(value, fields[k].bytes * 2);
    }
    out.text = QStringLiteral("$0030") + hex + CRLF;
    return out;
}

QString replyKind(const QString& frame)
{
    return frame.mid(2, 2).toLower();
}

QString replyMessage(const QString& frame)
{
    const QString kind = replyKind(frame);
    if (kind == QLatin1String("12"))
        return QStringLiteral("GUI halt enabled");
    if (kind == QLatin1String("13"))
        return QStringLiteral("GUI halt cancelled");
    if (kind == QLatin1String("15"))
        return QStringLiteral("Control=GUI");
    if (kind == QLatin1String("16"))
        return QStringLiteral("Control=Internal");
    if (kind == QLatin1String("20"))
        return QStringLiteral("Auto report On/Off");
    if (kind == QLatin1String("30"))
        return frame.right(1).toLower() == QLatin1String("a") ? QStringLiteral("Trim variables updated")
                                                              : QStringLiteral("Trim variable update failed");
    return QString();
}

std::optional<QStringList> tuningReply(const QString& frame)
{
    if (fieldCount(frame) < 15)
        return std::nullopt;
    // Fields 2 .. 15 are the bytes; a two-byte value comes high byte first.
    QStringList out;
    int f = 2;
    for (const TrimField& t : trimFields()) {
        // Each field is one byte, however many digits the board padded it to.
        int value = 0;
        for (int b = 0; b < t.bytes; ++b)
            value = value * 256 + (hextolong(field(frame, f++)) & 0xFF);
        out << QString::number(value);
    }
    return out;
}

std::optional<Status> statusReply(const QString& frame)
{
    if (fieldCount(frame) < 7)
        return std::nullopt;
    Status s;
    for (int k = 0; k < 4; ++k)
        s.adc[std::size_t(k)] = fmt(numval(field(frame, k + 2)) / 1000.0, QStringLiteral("0.000"));
    const double bits = numval(field(frame, 6));
    static const char* words[5][2] = {
        {"CCW", "CW"}, {"CCW", "CW"}, {"Decel", "Accel"}, {"Stop", "Run"}, {"Int Control", "GUI Override"}};
    for (int k = 0; k < 5; ++k) {
        const QString b = bit(bits, k);
        s.xdir[std::size_t(k)] = b;
        s.xdirtxt[std::size_t(k)] = QString::fromLatin1(words[k][b == QLatin1String("1") ? 1 : 0]);
    }
    const double flags = numval(field(frame, 7));
    for (int k = 0; k < 8; ++k)
        s.inhibit[std::size_t(k)] = bit(flags, k);
    return s;
}

QString speedText(int scrollValue)
{
    return fmt(scrollValue / 10.0, QStringLiteral("0.0"));
}

QString speedCommand(const QString& speed)
{
    const double value = numval(speed);
    const QString direction = value < 0 ? QStringLiteral("00") : QStringLiteral("01");
    return QStringLiteral("$0015") + direction + hexpad(std::fabs(value) * 1000.0, 4) + CRLF;
}

Command trimFileLine(const QStringList& boxes)
{
    Command out;
    QStringList parts;
    const auto& fields = trimFields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const QString text = qsizetype(k) < boxes.size() ? boxes[qsizetype(k)] : QString();
        const double value = numval(text);
        if (!isNumberText(text) || !std::isfinite(value)) {
            out.badField = int(k);
            return out;
        }
        parts << numstr(value);
    }
    out.text = parts.join(u',');
    return out;
}

std::optional<QStringList> trimFromLine(const QString& line)
{
    QStringList out;
    for (int k = 1; k <= 9; ++k) {
        const QString f = field(line, k);
        const double value = numval(f);
        if (!isNumberText(f) || !std::isfinite(value))
            return std::nullopt;
        out << plaindec(value);
    }
    return out;
}

} // namespace servoretrofit
