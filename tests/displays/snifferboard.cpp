#include "snifferboard.h"

#include <QTimer>

SnifferBoard::SnifferBoard(PtyPair& pty) : BoardSimulator(pty), m_echo(new QTimer(this))
{
    // The window's writes end with no line end, so the echo watches every
    // byte received rather than waiting for lines.
    m_echo->setInterval(2);
    connect(m_echo, &QTimer::timeout, this, &SnifferBoard::echo);
    m_echo->start();
}

QByteArray SnifferBoard::stream(int n, int from)
{
    QByteArray out;
    out.reserve(qsizetype(n) * 3);
    for (int i = from; i < from + n; ++i)
        out += record(i & 0xFF, 0xFF - (i & 0xFF));
    return out;
}

void SnifferBoard::echo()
{
    const QByteArray got = received();
    if (got.size() == m_echoed)
        return;
    const QByteArray fresh = got.mid(m_echoed);
    m_echoed = got.size();
    if (m_loopback && !vanished())
        sendRaw(fresh);
}
