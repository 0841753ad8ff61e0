#pragma once
// Baud-rate generator (SPBRG) of a PIC hardware UART in asynchronous mode.

#include <QString>

#include <cstdint>
#include <optional>

// The frequency in hertz of a crystal list entry, rounded to a whole
// number (halves to even): a text ending in "k" is kilohertz, any other
// megahertz. Computed on the decimal digits, so "120.8475k" is 120848.
int64_t picClockHz(const QString& entry);

// The oscillator frequency in hertz from the typed megahertz (its leading
// number), times 4 when asked, rounded halves to even; nothing when it
// does not fit a signed 32-bit integer (nor when it is not a number).
std::optional<int32_t> picOscillatorHz(const QString& megahertz, bool times4);

// One speed mode (divisor 64 low speed, 16 high speed).
struct PicBaudMode {
    bool valid = false; // false: the register would be below 0
    int spbrg = 0;      // 0-255; a saturated register stays at 255
    double baud = 0;    // what the register really gives
    double errorPercent = 0;
};
PicBaudMode picBaudMode(int32_t hz, int baud, int divisor);
