#pragma once
// The 6141 battery gauge board on the far end of a pseudo-terminal: it
// only talks. While started it sends, every interval, a burst of reports
// "!" + the value in hundredths as four hex digits + the trend ("0"
// rising, "1" falling) + CR, the value walking up and down between two
// bounds. A burst goes out in one write, or cut in pieces of a few bytes
// a few milliseconds apart; noise can go before every report. Stopping
// ends the reports (pieces already cut still go out); vanish()
// (BoardSimulator) takes the device away.

#include "support/boardsim.h"

#include <QList>
#include <QTimer>

class GaugeBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit GaugeBoard(PtyPair& pty);

    static QByteArray report(int hundredths, char trend);

    void start(int intervalMs);
    void stop();
    // Reports per tick, sent together.
    int burst = 1;
    // Cut every burst in pieces of this many bytes (0: one write).
    int pieceBytes = 0;
    // Bytes sent before each report.
    QByteArray noise;
    // The walk: from value, by step, between low and high.
    int value = 1234;
    int step = 7;
    int low = 1000;
    int high = 1500;

    // Every value streamed so far, in order.
    QList<int> streamed;

private:
    void tick();
    void nextPiece();

    QTimer m_timer;
    QTimer m_pieces;
    QList<QByteArray> m_queue;
};
