#include "diodeboard.h"

#include <QPointer>
#include <QTimer>

QString DiodeBoard::report() const
{
    return QStringLiteral("!0020,%1,%2,%3\r").arg(temperature).arg(counts).arg(mode);
}

QByteArray DiodeBoard::reports(int n)
{
    QByteArray out;
    for (int k = 0; k < n; ++k) {
        temperature += (setpoint - temperature) / 4;
        counts = 100 + temperature / 100;
        out += report().toLatin1();
    }
    return out;
}

void DiodeBoard::stream(int n, int pieceBytes, const QByteArray& garbage)
{
    QByteArray bytes;
    for (int k = 0; k < n; ++k)
        bytes += garbage + reports(1);
    if (pieceBytes <= 0) {
        send(bytes);
        return;
    }
    QPointer<DiodeBoard> self(this);
    for (qsizetype i = 0, k = 0; i < bytes.size(); i += pieceBytes, ++k)
        QTimer::singleShot(int(k) * 3, this, [self, piece = bytes.mid(i, pieceBytes)] {
            if (self)
                self->send(piece);
        });
}

QStringList DiodeBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0040") || code == QLatin1String("0041"))
        mode = code == QLatin1String("0041");
    else if (code == QLatin1String("0050") || code == QLatin1String("0051"))
        heater = code == QLatin1String("0051");
    else if (code == QLatin1String("0060")) {
        setpoint = line.mid(5).toInt(nullptr, 16);
        const int echoed = confirmWrong ? setpoint - 100 : setpoint;
        return {QStringLiteral("!0060%1\r").arg(echoed, 5, 10, QChar(u'0'))};
    }
    return {};
}
