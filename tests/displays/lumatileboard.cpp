#include "lumatileboard.h"

LumatileBoard::LumatileBoard(PtyPair& pty) : BoardSimulator(pty)
{
    m_clock.start();
    // Recorded on arrival, also while the board stays silent.
    connect(this, &BoardSimulator::commandReceived, this,
            [this](const QString& line) { arrivals.append({line, m_clock.elapsed()}); });
}

QString LumatileBoard::letters() const
{
    QString out;
    for (const Arrival& a : arrivals)
        out += a.command.mid(3, 1);
    return out;
}

QStringList LumatileBoard::answer(const QString& line)
{
    const QString letter = line.mid(3, 1);
    if (line.startsWith(QLatin1String("$B7")) && !letter.isEmpty() && acknowledged.contains(letter))
        return {u'!' + letter + QStringLiteral("OK") + QChar(13)};
    return {};
}
