#include "gpsmodule.h"

#include <cmath>

GpsModule::GpsModule(PtyPair& pty) : BoardSimulator(pty)
{
    setLineEnd("\r\n");
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!vanished())
            burst();
    });
}

QByteArray GpsModule::sentence(const QString& body, bool checksum)
{
    QByteArray out = '$' + body.toLatin1();
    if (checksum) {
        quint8 sum = 0;
        for (char c : body.toLatin1())
            sum ^= quint8(c);
        out += '*' + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0');
    }
    return out + "\r\n";
}

namespace {
QString nmeaPosition(double degrees, int degreeDigits)
{
    const double whole = std::trunc(degrees);
    const double minutes = (degrees - whole) * 60;
    return QStringLiteral("%1%2")
        .arg(int(whole), degreeDigits, 10, QLatin1Char('0'))
        .arg(minutes, 8, 'f', 5, QLatin1Char('0'));
}
} // namespace

QString GpsModule::nmeaLat(double degrees)
{
    return nmeaPosition(degrees, 2);
}

QString GpsModule::nmeaLon(double degrees)
{
    return nmeaPosition(degrees, 3);
}

QList<QByteArray> GpsModule::burstSentences()
{
    const Fix f = track.isEmpty() ? Fix{} : (track.size() > 1 ? track.takeFirst() : track.first());
    const QString lat = f.valid ? nmeaLat(f.lat) : QString();
    const QString lon = f.valid ? nmeaLon(f.lon) : QString();
    const QString ns = f.valid ? QStringLiteral("N") : QString();
    const QString ew = f.valid ? QStringLiteral("E") : QString();
    const QString t = talker;
    const QString quality = f.valid ? QStringLiteral("1") : QStringLiteral("0");
    const QString sats = f.valid ? satellites : QStringLiteral("00");
    const QString status = f.valid ? QStringLiteral("A") : QStringLiteral("V");
    const QStringList bodies{
        t + QStringLiteral("GGA,%1,%2,%3,%4,%5,%6,%7,0.9,545.4,M,46.9,M,,")
                .arg(utc, lat, ns, lon, ew, quality, sats),
        t + QStringLiteral("GSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"),
        t + QStringLiteral("GSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45"),
        t + QStringLiteral("VTG,054.7,T,034.4,M,005.5,N,010.2,K"),
        t + QStringLiteral("GLL,%1,%2,%3,%4,%5,A").arg(lat, ns, lon, ew, utc),
        t + QStringLiteral("RMC,%1,%2,%3,%4,%5,%6,022.4,084.4,%7,003.1,W")
                .arg(utc, status, lat, ns, lon, ew, date),
    };
    QList<QByteArray> out;
    for (const QString& b : bodies)
        out << sentence(b, checksums);
    return out;
}

void GpsModule::burst()
{
    const QList<QByteArray> s = burstSentences();
    if (oneWrite)
        send(s.join());
    else
        for (const QByteArray& one : s)
            send(one);
    ++m_bursts;
}

void GpsModule::stream(int intervalMs)
{
    m_timer.start(intervalMs);
}

QStringList GpsModule::answer(const QString& line)
{
    if (!line.startsWith(QLatin1String("$PDME,")))
        return {};
    const QString args = line.mid(6);
    QString body;
    if (args == QLatin1String("7")) {
        body = QStringLiteral("PDME,7,%1").arg(mask);
    } else if (args.startsWith(QLatin1String("8,"))) {
        mask = args.mid(2).toInt();
        body = QStringLiteral("PDME,8,%1").arg(mask);
    } else if (args == QLatin1String("12,5")) {
        body = estError.isEmpty() ? QStringLiteral("PDME,12,5") : QStringLiteral("PDME,12,5,") + estError;
    } else if (args == QLatin1String("12,6")) {
        body = QStringLiteral("PDME,12,6,") + leapSeconds;
    } else if (args == QLatin1String("0") || args == QLatin1String("1") || args == QLatin1String("2")) {
        body = QStringLiteral("PDME,") + args;
    } else {
        return {};
    }
    return {QString::fromLatin1(sentence(body, checksums))};
}
