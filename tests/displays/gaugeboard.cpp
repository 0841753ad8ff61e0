#include "gaugeboard.h"

GaugeBoard::GaugeBoard(PtyPair& pty) : BoardSimulator(pty)
{
    connect(&m_timer, &QTimer::timeout, this, &GaugeBoard::tick);
    m_pieces.setInterval(3);
    connect(&m_pieces, &QTimer::timeout, this, &GaugeBoard::nextPiece);
}

QByteArray GaugeBoard::report(int hundredths, char trend)
{
    return '!' + QByteArray::number(hundredths, 16).toUpper().rightJustified(4, '0') + trend + '\r';
}

void GaugeBoard::start(int intervalMs)
{
    m_timer.start(intervalMs);
}

void GaugeBoard::stop()
{
    m_timer.stop();
}

void GaugeBoard::tick()
{
    QByteArray out;
    for (int k = 0; k < burst; ++k) {
        if (value + step > high || value + step < low)
            step = -step;
        value += step;
        streamed << value;
        out += noise + report(value, step > 0 ? '0' : '1');
    }
    if (pieceBytes <= 0) {
        send(out);
        return;
    }
    for (qsizetype i = 0; i < out.size(); i += pieceBytes)
        m_queue << out.mid(i, pieceBytes);
    if (!m_pieces.isActive())
        m_pieces.start();
}

void GaugeBoard::nextPiece()
{
    if (m_queue.isEmpty()) {
        m_pieces.stop();
        return;
    }
    send(m_queue.takeFirst());
}
