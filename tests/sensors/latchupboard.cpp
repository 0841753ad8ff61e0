#include "latchupboard.h"

LatchupBoard::LatchupBoard(PtyPair& pty) : BoardSimulator(pty)
{
    setLineEnd("\r\n");
    connect(&m_stream, &QTimer::timeout, this, [this] {
        if (vanished())
            m_stream.stop();
        else
            send(nextResult().toLatin1());
    });
}

QByteArray LatchupBoard::resultReply(int mv)
{
    return "!0010" + QByteArray::number(mv).rightJustified(4, '0') + "\r";
}

QString LatchupBoard::nextResult()
{
    ++results;
    return QString::fromLatin1(resultReply(queue.isEmpty() ? millivolts : queue.takeFirst()));
}

QStringList LatchupBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0010")) {
        masks << line.mid(5);
        return {nextResult()};
    }
    if (code == QLatin1String("0011")) {
        masks << line.mid(5);
        m_stream.start(streamMs);
        return {QStringLiteral("!0011\r")};
    }
    if (code == QLatin1String("0012")) {
        m_stream.stop();
        return {QStringLiteral("!0012\r")};
    }
    return {};
}
