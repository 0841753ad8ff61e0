#pragma once
// The 8546 sniffer board on the far end of a pseudo-terminal. It sends
// three-byte records (a start byte 1000 nAaB and the low seven bits of each
// channel's byte) and, with loopback on, sends back every byte the window
// writes, as a board whose two capture inputs watch its own port would.

#include "support/boardsim.h"

#include <QByteArray>

class QTimer;

class SnifferBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit SnifferBoard(PtyPair& pty);

    // The record of one captured pair; -1 for a channel with no byte.
    static QByteArray record(int a, int b)
    {
        const int start = 0x80 | (a < 0 ? 0x08 : (a & 0x80) >> 5) | (b < 0 ? 0x02 : (b & 0x80) >> 7);
        QByteArray r;
        r += char(start);
        r += char(a < 0 ? 0 : a & 0x7F);
        r += char(b < 0 ? 0 : b & 0x7F);
        return r;
    }
    // n records of a running count on A and its complement on B, from `from`.
    static QByteArray stream(int n, int from = 0);

    void setLoopback(bool on) { m_loopback = on; }
    // Forgets what the window wrote (and what was echoed of it).
    void forget()
    {
        clearRecord();
        m_echoed = 0;
    }

private:
    void echo();

    QTimer* m_echo;
    bool m_loopback = false;
    qsizetype m_echoed = 0;
};
