#include "stageboard.h"

#include <algorithm>
#include <cstdlib>

namespace {
QString hex4(int v)
{
    return QString::number(v, 16).toUpper().rightJustified(4, u'0');
}
} // namespace

StageBoard::StageBoard(PtyPair& pty) : BoardSimulator(pty)
{
    m_tick.setInterval(5);
    connect(&m_tick, &QTimer::timeout, this, [this] { step(); });
}

void StageBoard::step()
{
    if (m_target < 0) {
        position = std::clamp(position + m_rate, 0, 65535);
        return;
    }
    const int left = m_target - position;
    if (std::abs(left) <= std::abs(m_rate)) {
        position = m_target;
        m_target = -1;
        m_tick.stop();
        ++arrivals;
        send(QByteArray("!0030") + hex4(position).toLatin1() + '\r');
        return;
    }
    position += left > 0 ? std::abs(m_rate) : -std::abs(m_rate);
}

QStringList StageBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4).toLower();
    if (code == QLatin1String("0010")) {
        const int right = line.mid(5, 2).toInt(nullptr, 16);
        const int left = line.mid(7, 2).toInt(nullptr, 16);
        m_target = -1;
        m_rate = int((right - left) * countsPerByte);
        m_tick.start();
    } else if (code == QLatin1String("0011")) {
        m_tick.stop();
        m_target = -1;
        m_rate = 0;
    } else if (code == QLatin1String("0020")) {
        return {QStringLiteral("!0020") + hex4(position) + u'\r'};
    } else if (code == QLatin1String("0030")) {
        m_target = line.mid(5, 4).toInt(nullptr, 16);
        m_rate = std::max(1, int(line.mid(9, 2).toInt(nullptr, 16) * countsPerByte));
        m_tick.start();
    }
    return {};
}
