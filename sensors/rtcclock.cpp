#include "sensors/rtcclock.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace rtcclock {

namespace {

constexpr quint8 writeAddress = 0xA2;
constexpr quint8 readAddress = 0xA3;
constexpr quint8 secondsRegister = 0x02;
constexpr quint8 clockOutRegister = 0x0D;
constexpr double nominalCount = 100000000.0;

// Two decimal digits (the last two of the value) sent as hexadecimal digits.
quint8 bcd(int value)
{
    const int v = ((value % 100) + 100) % 100;
    return quint8((v / 10) * 16 + v % 10);
}

bool isHex(const QString& text)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]+$"));
    return hex.match(text).hasMatch();
}

bool isWholeNumber(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    return whole.match(text.trimmed()).hasMatch();
}

// The register byte at a 1-based character position of the reply.
int byteAt(const QString& frame, int position)
{
    return int(quint32(hextolong(frame.mid(position - 1, 2))) & 0xFF);
}

} // namespace

QString script(const QList<quint8>& bytes)
{
    QString text = QStringLiteral("$0010") + QStringLiteral("%1").arg(bytes.size() + 1, 2, 16, QLatin1Char('0')).toUpper();
    for (const quint8 b : bytes)
        text += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return text + QLatin1Char('\r');
}

QString timeCheckScript()
{
    return script({Start, Write, writeAddress, Write, secondsRegister, Stop,
                   Start, Write, readAddress, Read, Read, Read, Read, Read, Read, ReadLast, Stop});
}

QString clockOutScript(bool on)
{
    return script({Start, Write, writeAddress, Write, clockOutRegister, Write, quint8(on ? 0x83 : 0x03), Stop});
}

QString timeSetScript(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    const int weekday = d.dayOfWeek() % 7; // Sunday 0 .. Saturday 6
    QList<quint8> bytes{Start, Write, writeAddress, Write, secondsRegister};
    for (const int v : {t.second(), t.minute(), t.hour(), d.day(), weekday, d.month(), d.year() % 100}) {
        bytes << Write << bcd(v);
    }
    bytes << Stop;
    return script(bytes);
}

QDateTime timeToWrite(const QDateTime& now)
{
    // Dropped on absolute time: setting the local time of day again would,
    // in the hour repeated when summer time ends, pick either of its two
    // passes and so move the result an hour.
    const qint64 ms = now.toMSecsSinceEpoch();
    const qint64 fraction = ((ms % 1000) + 1000) % 1000;
    return now.addMSecs(2000 - fraction);
}

std::optional<double> parseDelay(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch())
        return std::nullopt;
    const double v = numval(t);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<QDateTime> sendMoment(const QDateTime& written, double delaySeconds)
{
    if (!std::isfinite(delaySeconds) || !written.isValid())
        return std::nullopt;
    const double ms = std::round(delaySeconds * 1000.0) + 300.0;
    // Well inside qint64 and any date-time's range (some ten thousand years).
    if (std::fabs(ms) > 3.0e14)
        return std::nullopt;
    const QDateTime at = written.addMSecs(qint64(ms));
    if (!at.isValid())
        return std::nullopt;
    return at;
}

std::optional<ChipTime> decodeReply(const QString& frame)
{
    if (frame.size() != 48)
        return std::nullopt;
    static const char* const weekdays[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT", "---"};
    ChipTime chip;
    chip.boxes[6] = hexstr(byteAt(frame, 21) & 0x7F);
    chip.boxes[5] = hexstr(byteAt(frame, 25) & 0x7F);
    chip.boxes[4] = hexstr(byteAt(frame, 29) & 0x3F);
    chip.boxes[2] = hexstr(byteAt(frame, 33) & 0x3F);
    chip.boxes[3] = QString::fromLatin1(weekdays[byteAt(frame, 37) & 0x07]);
    chip.boxes[1] = hexstr(byteAt(frame, 41) & 0x1F);
    chip.boxes[0] = QStringLiteral("20") + frame.mid(44, 2);
    chip.seconds = int(numval(chip.boxes[6]));
    chip.timeOfDay = numval(chip.boxes[4]) * 3600 + numval(chip.boxes[5]) * 60 + chip.seconds;
    chip.registersHex = true;
    for (int position = 21; position <= 45; position += 4)
        chip.registersHex = chip.registersHex && isHex(frame.mid(position - 1, 2));
    return chip;
}

double wrapDay(double seconds)
{
    constexpr double day = 86400.0;
    constexpr double half = 43200.0;
    double w = std::fmod(seconds + half, day);
    if (w < 0)
        w += day;
    return w - half;
}

void OffsetMeter::reset()
{
    m_haveLast = false;
    m_pending = false;
}

void OffsetMeter::reading(const ChipTime& chip, double pcTime)
{
    const bool changed = m_haveLast && chip.seconds != m_lastSeconds;
    m_haveLast = true;
    m_lastSeconds = chip.seconds;
    if (!changed || m_pending)
        return;
    m_diff = wrapDay(chip.timeOfDay - pcTime);
    m_pending = true;
}

std::optional<qint64> OffsetMeter::tick()
{
    if (!m_pending)
        return std::nullopt;
    // The difference at the change is the offset for either sign; waiting
    // for the PC clock to catch up with a leading chip would add up to a
    // tick to it and, for a chip set hours ahead, wait for hours.
    m_pending = false;
    // The small term keeps 0.3 s from reading as 299.999... ms.
    return qint64(std::floor(m_diff * 1000.0 + 1e-6));
}

std::optional<qint32> parseCount(const QString& frame)
{
    if (!frame.startsWith(QStringLiteral("0010")) || frame.size() < 4 + 8)
        return std::nullopt;
    const QString digits = frame.right(8);
    if (!isHex(digits))
        return std::nullopt;
    return hextolong(digits);
}

QString errorPpmText(qint32 count)
{
    return fmt((double(count) - nominalCount) / 100.0, QStringLiteral("0.00"));
}

QString trimText(const QString& count0, const QString& count1, const QString& scale)
{
    if (!isWholeNumber(count0) || !isWholeNumber(count1))
        return QStringLiteral("---");
    const double c0 = numval(count0);
    const double c1 = numval(count1);
    if (c0 == c1)
        return QStringLiteral("---");
    const double trim = (nominalCount - c0) / (c1 - c0) * 20.0 * numval(scale);
    if (!std::isfinite(trim))
        return QStringLiteral("---");
    if (trim == 0)
        return QStringLiteral("0");
    return plaindec(trim);
}

QString scaleText(const QString& text)
{
    return fmt(numval(text), QStringLiteral("0.000"));
}

QString logLine(const QDateTime& when, const QString& delta)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char(',') + delta;
}

} // namespace rtcclock
