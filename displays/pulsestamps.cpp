#include "pulsestamps.h"

#include "common/numtext.h"

uint64_t pulseCount(const QString& record, qsizetype from)
{
    uint64_t v = 0;
    for (qsizetype i = from; i < from + pulseRecordBytes && i < record.size(); ++i)
        v = (v << 8) | (record.at(i).unicode() & 0xFF);
    return v;
}

uint64_t pulseSpan(uint64_t earlier, uint64_t later)
{
    return (later - earlier) & (pulseCountModulus - 1);
}

std::optional<PulseShown> PulseStamps::next(QString& buffer)
{
    if (buffer.size() < pulseRecordBytes)
        return std::nullopt;
    advance(pulseCount(buffer));
    buffer.remove(0, pulseRecordBytes);
    return shown();
}

void PulseStamps::advance(uint64_t count)
{
    m_previous = m_current;
    m_current = count;
    m_currentIsFirst = m_first;
    if (m_first) {
        m_first = false;
        m_firstCount = m_current;
        m_pulses = 1;
    } else {
        ++m_pulses;
    }
}

QString PulseStamps::interval() const
{
    if (m_currentIsFirst)
        return QStringLiteral("0.0000000");
    return fmt(double(pulseSpan(m_previous, m_current)) / pulseCountsPerSecond, QStringLiteral("0.0000000"));
}

QString PulseStamps::csvLine() const
{
    return pulseCsvLine(QString::number(m_pulses), interval(), pulseSpan(m_firstCount, m_current));
}

PulseShown PulseStamps::shown() const
{
    return {interval(), QString::number(m_pulses), csvLine()};
}

QString pulseCsvLine(const QString& count, const QString& interval, uint64_t sinceFirst)
{
    const double seconds = numval(interval);
    if (!(seconds > 0))
        return QStringLiteral("1,0,0,0");
    return count + u',' + interval + u',' + numstr(double(sinceFirst) / pulseCountsPerSecond) + u','
        + numstr(1.0 / seconds);
}
