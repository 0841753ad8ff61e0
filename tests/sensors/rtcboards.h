#pragma once
// The real-time-clock tester's two boards on the far ends of pseudo-
// terminals, and a clock for them.
//
// RtcBridge: the I2C bridge board with a PCF8563 behind it. A script
// "$0010" + length byte + steps is checked (the length byte counts itself
// and the steps; upper-case hexadecimal pairs; START, an address, then
// writes or reads, STOP) and run on the chip's register file: the first
// byte written after the write address sets the register pointer, later
// writes and every read move it on. The chip's clock is the program's clock
// plus offsetMs; writing the time registers sets offsetMs so the chip reads
// the written time from that moment. A script with reads is answered with
// "!" + "0010" + four groups + one group "BBff" per byte read (ff 00 for
// READ, 01 for READ LAST) + CR, which is 48 characters for seven reads; any
// other script with a short "!001000" CR. A script that breaks the rules
// is recorded in faults() and not answered.
//
// CrystalCounterBoard: the crystal counter. "$002082" and "$002001" are both
// answered with "!0010" and the count as eight hexadecimal digits (or
// countText in their place), CR.
//
// RunningClock: starts at a chosen date and time and runs at real speed.

#include "support/boardsim.h"

#include "common/clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMap>

#include <array>

class RunningClock : public Clock {
public:
    explicit RunningClock(const QDateTime& start);
    QDateTime now() const override;
    qint64 tickMs() const override;
    // Sets the date and time, running on from there (the tick runs on).
    void setNow(const QDateTime& when);

private:
    QDateTime m_start;
    QElapsedTimer m_run;
    QElapsedTimer m_tick;
};

class RtcBridge : public BoardSimulator {
public:
    explicit RtcBridge(PtyPair& pty);

    qint64 offsetMs = 0;    // the chip's clock against the program's
    bool lowVoltage = false; // VL, bit 7 of the seconds register
    bool century = false;    // C, bit 7 of the month register
    QMap<int, int> raw;      // registers read back as these bytes

    QDateTime chipNow() const;
    QStringList faults() const { return m_faults; }
    // The program's clock when each script arrived.
    QList<QDateTime> arrivals() const { return m_arrivals; }
    // The date-times written to the time registers.
    QList<QDateTime> written() const { return m_written; }
    std::array<int, 16> registers{};

    // The reply to a script that read these bytes.
    static QString readReply(const QList<int>& bytes);

protected:
    QStringList answer(const QString& line) override;

private:
    QStringList refuse(const QString& line, const QString& why);
    QStringList m_faults;
    QList<QDateTime> m_arrivals;
    QList<QDateTime> m_written;
};

class CrystalCounterBoard : public BoardSimulator {
public:
    explicit CrystalCounterBoard(PtyPair& pty);
    quint32 count = 100000000;
    QString countText; // sent in place of the count's digits when set

protected:
    QStringList answer(const QString& line) override;
};
