#pragma once
// The PCF8563 real-time clock as the 8990 tester reaches it, apart from any
// window: the I2C bridge scripts, the read-time reply, the clock-offset
// measurement against the PC clock, the crystal counter's reply, the error
// in ppm and the trim capacitance, and the offset log line.

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace rtcclock {

// I2C bridge script steps.
enum Step : quint8 { Start = 0x00, Write = 0x01, Read = 0x02, ReadLast = 0x03, Stop = 0x04 };

// "$0010", the length byte (script bytes + 1), the bytes as upper-case
// hexadecimal pairs, CR.
QString script(const QList<quint8>& bytes);

QString timeCheckScript();        // reads registers 02 to 08
QString clockOutScript(bool on);  // register 0D: 83 on at 1 Hz, 03 off
// Writes registers 02 to 08 with the given date and time, each as two
// decimal digits sent as one BCD byte; the year within its century.
QString timeSetScript(const QDateTime& when);

// The time a set-time script writes for the PC time now: now with its
// milliseconds dropped, plus 2 s, carried into the date like any clock.
// Computed on absolute time, so the result is always 1 to 2 s after now,
// in the repeated hour of a summer-time change too.
QDateTime timeToWrite(const QDateTime& now);

// The "Delay" box: a signed decimal number of seconds (digits with at most
// one ".", an optional leading "-"). Nothing for any other text.
std::optional<double> parseDelay(const QString& text);

// The moment the set-time script is sent: the written time plus delay
// seconds plus 0.3 s. Nothing when the sum leaves the range of a date-time.
std::optional<QDateTime> sendMoment(const QDateTime& written, double delaySeconds);

// A read-time reply ("!" and CR removed) of exactly 48 characters.
struct ChipTime {
    // The box texts: 0 "Years", 1 "Months", 2 "Days", 3 "Weekday",
    // 4 "Hours", 5 "Minutes", 6 "Seconds".
    std::array<QString, 7> boxes;
    // The chip's time of day in seconds, from the decimal values of the
    // hours, minutes and seconds texts.
    double timeOfDay = 0;
    int seconds = 0;
    // The seven register bytes are all hexadecimal digits: a reading of the
    // chip, not noise of the right length, and so fit to measure with.
    bool registersHex = false;
};
std::optional<ChipTime> decodeReply(const QString& frame);

// The offset between the chip's clock and the PC clock, measured at each
// change of the chip's seconds. Times are seconds since midnight; every
// difference is taken within +-12 h, so a measurement across midnight
// completes. Positive offsets: the chip leads.
class OffsetMeter {
public:
    // Forget everything: "Auto" off, or the chip just set. The next reading
    // only sets the start.
    void reset();
    // A decoded reading of the chip and the PC time of day when it arrived.
    // The second of two successive readings whose seconds differ captures a
    // change, unless one is already waiting for the timer.
    void reading(const ChipTime& chip, double pcTime);
    // A tick of the measurement timer: a captured change completes, giving
    // the offset in whole milliseconds (rounded down), the chip's time minus
    // the PC time at the change.
    std::optional<qint64> tick();
    bool pending() const { return m_pending; }

private:
    bool m_haveLast = false;
    int m_lastSeconds = 0;
    bool m_pending = false;
    double m_diff = 0;     // chip time minus PC time at the change, wrapped
};

// Wraps a difference of times of day into [-12 h, +12 h).
double wrapDay(double seconds);

// The counter board's reply ("!" and CR removed): code "0010", the count in
// its last eight characters, all hexadecimal digits, as a signed 32-bit
// value. Nothing for another code, a short reply or non-hex digits.
std::optional<qint32> parseCount(const QString& frame);
// The count's error in ppm: (count - 100000000) / 100, as "0.00".
QString errorPpmText(qint32 count);
// The trim capacitance in pF, (100000000 - c0) / (c1 - c0) x 20 x scale,
// from the two count boxes' texts and the scale box; "---" when either box
// holds no whole number or the counts are equal. Plain decimal text, "0"
// for a zero result.
QString trimText(const QString& count0, const QString& count1, const QString& scale);
// The "Scale" box rewritten: its leading number as "0.000".
QString scaleText(const QString& text);

// One log line: the date and time in a fixed form, ",", the offset text.
QString logLine(const QDateTime& when, const QString& delta);

} // namespace rtcclock
