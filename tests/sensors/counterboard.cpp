#include "counterboard.h"

CounterBoard::CounterBoard(PtyPair& pty) : BoardSimulator(pty)
{
    m_ticker.setInterval(10);
    connect(&m_ticker, &QTimer::timeout, this, &CounterBoard::tick);
    m_ticker.start();
}

QString CounterBoard::countReply() const
{
    QStringList fields;
    for (qint64 c : counts)
        fields << QStringLiteral("%1").arg(c, 11, 10, QChar(u'0'));
    return boardReply(QStringLiteral("0014"), fields);
}

void CounterBoard::tick()
{
    if (running)
        for (int i = 0; i < 3; ++i)
            counts[std::size_t(i)] += rates[std::size_t(i)];
    if (autoUpdate && !vanished())
        send(countReply().toLatin1());
}

QStringList CounterBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0011"))
        counts = {};
    else if (code == QLatin1String("0012"))
        running = true;
    else if (code == QLatin1String("0013"))
        running = false;
    else if (code == QLatin1String("0014"))
        return {countReply()};
    else if (code == QLatin1String("0015"))
        autoUpdate = true;
    else if (code == QLatin1String("0016"))
        autoUpdate = false;
    else if (code == QLatin1String("0020"))
        for (int i = 0; i < 3; ++i)
            modes[std::size_t(i)] = line.mid(5 + 2 * i, 2).toInt(nullptr, 16);
    return {};
}
