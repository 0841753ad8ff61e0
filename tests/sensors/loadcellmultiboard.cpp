#include "loadcellmultiboard.h"

LoadCellMultiBoard::LoadCellMultiBoard(PtyPair& pty) : BoardSimulator(pty)
{
    setLineEnd("\r\n");
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

QString LoadCellMultiBoard::reading(long n) const
{
    const QString v = QString::number(n % 100000);
    if (counts)
        return QStringLiteral("!0021,") + v + QStringLiteral(",200,-3,0\r");
    return QStringLiteral("!0020,") + v + QStringLiteral(".5,0,-0.125,12.5\r");
}

void LoadCellMultiBoard::tick()
{
    if (pending() > 4096)
        return;
    QByteArray out;
    for (int i = 0; i < burst; ++i)
        out += reading(streamed++).toLatin1();
    send(out);
}

QStringList LoadCellMultiBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0011")) {
        m_timer.start();
        return {};
    }
    if (code == QLatin1String("0010")) {
        m_timer.stop();
        return {};
    }
    if (code == QLatin1String("0012") || code == QLatin1String("0013"))
        counts = code == QLatin1String("0013");
    if (code == QLatin1String("003f"))
        return {QStringLiteral("!003F,") + scalers.join(u',') + u'\r'};
    if (code == QLatin1String("0012") || code == QLatin1String("0013") || code == QLatin1String("0040") ||
        code == QLatin1String("0041") || code == QLatin1String("0050"))
        return {u'!' + code + u'\r'};
    return {};
}
