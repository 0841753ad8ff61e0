#include "servoboard.h"

ServoBoard::ServoBoard(PtyPair& pty) : BoardSimulator(pty)
{
    setLineEnd("\r\n");
    connect(&m_stream, &QTimer::timeout, this, [this] {
        ++reports;
        adc[0] += 1;
        send(statusReply().toLatin1());
    });
}

void ServoBoard::reset()
{
    send("!0000\r");
}

QString ServoBoard::statusReply() const
{
    QStringList fields;
    for (int a : adc)
        fields << QString::number(a);
    fields << QString::number(bits) << QString::number(flags);
    return boardReply(QStringLiteral("0060"), fields);
}

QStringList ServoBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4).toLower();
    if (code == QLatin1String("0060"))
        return {statusReply()};
    if (code == QLatin1String("0020")) {
        if (line.mid(5) == QLatin1String("01")) {
            m_stream.start(streamMs);
        } else {
            m_stream.stop();
        }
        return {boardReply(QStringLiteral("0020"))};
    }
    if (code == QLatin1String("0030")) {
        const QString digits = line.mid(5);
        if (digits.size() != 28 || writeFails)
            return {boardReply(QStringLiteral("0030"), {QStringLiteral("f")})};
        for (int k = 0; k < 14; ++k)
            trim[std::size_t(k)] = digits.mid(k * 2, 2).toInt(nullptr, 16);
        return {boardReply(QStringLiteral("0030"), {QStringLiteral("a")})};
    }
    if (code == QLatin1String("0031")) {
        QStringList fields;
        for (int b : trim)
            fields << QString::number(b, 16).toUpper().rightJustified(2, u'0');
        return {boardReply(QStringLiteral("0031"), fields)};
    }
    for (const char* ack : {"0012", "0013", "0015", "0016"})
        if (code == QLatin1String(ack))
            return {boardReply(code)};
    return {};
}
