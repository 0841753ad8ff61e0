#pragma once
// The 9064 GPS/RTC module on the far end of a pseudo-terminal. Each second
// (burst(), or stream() on a timer) it sends GGA, GSA, GSV, VTG, GLL and RMC
// for the next position of a track, with or without "*hh" checksums, from
// the GP talker or another one; and it answers the "$PDME" commands (7, 8,
// 12,5, 12,6, 0, 1, 2) with replies ended by CR LF.

#include "support/boardsim.h"

#include <QList>
#include <QTimer>

class GpsModule : public BoardSimulator {
    Q_OBJECT
public:
    explicit GpsModule(PtyPair& pty);

    struct Fix {
        double lat = 48.1173; // degrees, magnitudes
        double lon = 11.516666666666667;
        bool valid = true;    // false: empty position, quality 0, status V
    };
    // Positions for the next bursts, in order; the last one repeats.
    QList<Fix> track{Fix{}};

    QString talker = QStringLiteral("GP");
    bool checksums = true;
    // The whole second in one write rather than one write per sentence.
    bool oneWrite = false;
    QString utc = QStringLiteral("123519.000");
    QString date = QStringLiteral("230394");
    QString satellites = QStringLiteral("08");

    // Module state behind the $PDME replies.
    int mask = 5;
    QString estError = QStringLiteral("4.5,7.0"); // "" answers "$PDME,12,5" alone
    QString leapSeconds = QStringLiteral("13");

    // "$" body ["*hh"] CR LF.
    static QByteArray sentence(const QString& body, bool checksum);
    static QString nmeaLat(double degrees);
    static QString nmeaLon(double degrees);

    // One second's sentences for the next track position.
    QList<QByteArray> burstSentences();
    void burst();
    void stream(int intervalMs);
    void stop() { m_timer.stop(); }
    int bursts() const { return m_bursts; }

protected:
    QStringList answer(const QString& line) override;

private:
    QTimer m_timer;
    int m_bursts = 0;
};
