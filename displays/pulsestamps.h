#pragma once
// The pulse timer board's time stamps and the capture lines made of them.
//
//   PulseStamps track;
//   track.restart();                       // the next pulse is the first
//   while (auto shown = track.next(buffer)) { ... shown->interval ... }
//
// The board counts a 10 MHz time base in 48 bits and sends each pulse's
// count as six bytes, most significant first.

#include <QString>
#include <cstdint>
#include <optional>

constexpr int pulseRecordBytes = 6;
constexpr uint64_t pulseCountModulus = uint64_t(1) << 48;
constexpr double pulseCountsPerSecond = 10000000.0;

// The count of a six-byte record (characters taken as bytes).
uint64_t pulseCount(const QString& record, qsizetype from = 0);

// Counts from `earlier` to `later` on the wrapping 48-bit counter.
uint64_t pulseSpan(uint64_t earlier, uint64_t later);

// What one decoded pulse shows and records.
struct PulseShown {
    QString interval; // seconds, seven decimals ("1.0000000")
    QString count;    // pulses since the first ("2")
    QString csv;      // the capture line, without its line end
};

class PulseStamps {
public:
    // The next pulse counts as the first.
    void restart() { m_first = true; }
    // Takes one record off the front of buffer and decodes it; nothing
    // while fewer than six bytes are there.
    std::optional<PulseShown> next(QString& buffer);
    // Takes in one pulse's count; shown() tells what it shows. A burst of
    // pulses is taken in without making the texts of those not shown.
    void advance(uint64_t count);
    PulseShown shown() const;
    QString csvLine() const;

    uint64_t first() const { return m_firstCount; }
    uint64_t current() const { return m_current; }

private:
    QString interval() const;

    bool m_first = true;
    bool m_currentIsFirst = false;
    uint64_t m_firstCount = 0;
    uint64_t m_previous = 0;
    uint64_t m_current = 0;
    long long m_pulses = 0;
};

// The capture line of a pulse: count, the interval as shown, the seconds
// since the first pulse and the frequency in number-to-text form; "1,0,0,0"
// when the shown interval is not above zero.
QString pulseCsvLine(const QString& count, const QString& interval, uint64_t sinceFirst);
