#include "rtcboards.h"

namespace {

int bcd(int value)
{
    return (value / 10) * 16 + value % 10;
}

int fromBcd(int byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

QString hex2(int value)
{
    return QString::number(value & 0xFF, 16).toUpper().rightJustified(2, u'0');
}

} // namespace

RunningClock::RunningClock(const QDateTime& start) : m_start(start)
{
    m_run.start();
    m_tick.start();
}

void RunningClock::setNow(const QDateTime& when)
{
    m_start = when;
    m_run.restart();
}

QDateTime RunningClock::now() const
{
    return m_start.addMSecs(m_run.elapsed());
}

qint64 RunningClock::tickMs() const
{
    return m_tick.elapsed();
}

RtcBridge::RtcBridge(PtyPair& pty) : BoardSimulator(pty)
{
}

QDateTime RtcBridge::chipNow() const
{
    return currentClock().now().addMSecs(offsetMs);
}

QString RtcBridge::readReply(const QList<int>& bytes)
{
    QString text = QStringLiteral("!0010") + QStringLiteral("0000A2000200A300");
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text += hex2(bytes[i]) + (i + 1 == bytes.size() ? QStringLiteral("01") : QStringLiteral("00"));
    return text + u'\r';
}

QStringList RtcBridge::refuse(const QString& line, const QString& why)
{
    m_faults << why + QStringLiteral(": ") + line;
    return {};
}

QStringList RtcBridge::answer(const QString& line)
{
    const QDateTime arrived = currentClock().now();
    m_arrivals << arrived;
    if (!line.startsWith(QLatin1String("$0010")))
        return refuse(line, QStringLiteral("not a script"));
    const QString body = line.mid(5);
    if (body.size() < 2 || body.size() % 2 || body != body.toUpper())
        return refuse(line, QStringLiteral("not upper-case pairs"));
    QList<int> bytes;
    for (qsizetype i = 0; i < body.size(); i += 2) {
        bool ok = false;
        bytes << body.mid(i, 2).toInt(&ok, 16);
        if (!ok)
            return refuse(line, QStringLiteral("not hexadecimal"));
    }
    if (bytes[0] != bytes.size())
        return refuse(line, QStringLiteral("length byte"));

    // The time registers as the chip's clock stands now.
    const QDateTime chip = arrived.addMSecs(offsetMs);
    registers[2] = bcd(chip.time().second()) | (lowVoltage ? 0x80 : 0);
    registers[3] = bcd(chip.time().minute());
    registers[4] = bcd(chip.time().hour());
    registers[5] = bcd(chip.date().day());
    registers[6] = chip.date().dayOfWeek() % 7;
    registers[7] = bcd(chip.date().month()) | (century ? 0x80 : 0);
    registers[8] = bcd(chip.date().year() % 100);

    bool started = false, address = false, writing = false, reading = false, pointerSet = false;
    bool timeWritten = false;
    int pointer = 0;
    QList<int> read;
    for (qsizetype i = 1; i < bytes.size();) {
        const int step = bytes[i++];
        switch (step) {
        case 0x00:
            started = address = true;
            writing = reading = pointerSet = false;
            break;
        case 0x01: {
            if (i >= bytes.size())
                return refuse(line, QStringLiteral("WRITE without its byte"));
            const int v = bytes[i++];
            if (!started)
                return refuse(line, QStringLiteral("WRITE before START"));
            if (address) {
                address = false;
                writing = v == 0xA2;
                reading = v == 0xA3;
                if (!writing && !reading)
                    return refuse(line, QStringLiteral("address"));
            } else if (!writing) {
                return refuse(line, QStringLiteral("WRITE while reading"));
            } else if (!pointerSet) {
                pointer = v & 0x0F;
                pointerSet = true;
            } else {
                registers[std::size_t(pointer)] = v;
                timeWritten = timeWritten || (pointer >= 2 && pointer <= 8);
                pointer = (pointer + 1) & 0x0F;
            }
            break;
        }
        case 0x02:
        case 0x03:
            if (!reading)
                return refuse(line, QStringLiteral("READ without the read address"));
            read << raw.value(pointer, registers[std::size_t(pointer)]);
            pointer = (pointer + 1) & 0x0F;
            reading = step == 0x02;
            break;
        case 0x04:
            if (!started)
                return refuse(line, QStringLiteral("STOP before START"));
            started = address = writing = reading = false;
            break;
        default:
            return refuse(line, QStringLiteral("unknown step"));
        }
    }
    if (started)
        return refuse(line, QStringLiteral("no STOP"));
    if (timeWritten) {
        const QDateTime set(QDate(2000 + fromBcd(registers[8]), fromBcd(registers[7] & 0x1F), fromBcd(registers[5] & 0x3F)),
                            QTime(fromBcd(registers[4] & 0x3F), fromBcd(registers[3] & 0x7F), fromBcd(registers[2] & 0x7F)));
        m_written << set;
        if (set.isValid())
            offsetMs = arrived.msecsTo(set);
    }
    if (!read.isEmpty())
        return {readReply(read)};
    return {QStringLiteral("!001000\r")};
}

CrystalCounterBoard::CrystalCounterBoard(PtyPair& pty) : BoardSimulator(pty)
{
}

QStringList CrystalCounterBoard::answer(const QString& line)
{
    if (line != QLatin1String("$002082") && line != QLatin1String("$002001"))
        return {};
    const QString digits =
        countText.isNull() ? QString::number(count, 16).toUpper().rightJustified(8, u'0') : countText;
    return {QStringLiteral("!0010") + digits + u'\r'};
}
