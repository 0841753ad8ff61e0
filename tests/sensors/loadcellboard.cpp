#include "loadcellboard.h"

namespace {
QString hex(long value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, u'0');
}
} // namespace

LoadCellBoard::LoadCellBoard(PtyPair& pty) : BoardSimulator(pty)
{
    setLineEnd("\r\n");
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

void LoadCellBoard::tick()
{
    // Keeps the line full without queuing more than it can take.
    if (pending() > 4096)
        return;
    QByteArray out;
    for (int i = 0; i < burst; ++i)
        out += ('!' + m_stream + hex(streamed++ & 0xFFFFFF, 8) + '\r').toLatin1();
    send(out);
}

QStringList LoadCellBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0010") || code == QLatin1String("0012")) {
        m_stream = code;
        m_timer.start();
    } else if (code == QLatin1String("0011") || code == QLatin1String("0013")) {
        m_timer.stop();
    } else if (code == QLatin1String("0020")) {
        return {QStringLiteral("!002001") + hex(zero, 8) + u'\r'};
    } else if (code == QLatin1String("0021")) {
        return {QStringLiteral("!002002") + hex(zero, 8) + u'\r'};
    } else if (parameters.contains(code)) {
        parameters[code] = line.mid(5, 2).toInt(nullptr, 16);
    } else {
        const QString set = code.left(3) + QChar(code[3].unicode() - 1);
        if (parameters.contains(set))
            return {u'!' + code + hex(parameters[set], 8) + u'\r'};
    }
    return {};
}
