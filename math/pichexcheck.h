#pragma once
// Intel HEX records placed into the memory of a PIC device, and the two
// checksums a programmer reports for the part (unprotected and
// code-protected).

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Word addresses of a device's memory areas (see setupdevice).
using MemoryMap = std::array<int32_t, 12>;

class PicImage {
public:
    enum Counter { Program = 0, Eeprom = 1, Config = 2, UserId = 3 };
    static constexpr int32_t erased = 0xFFFF;

    PicImage();

    // Sets the memory map for a device ("12F510"); other names leave it.
    void setupdevice(const QString& device);
    // Every cell erased, counters 0, error flag clear, texts empty.
    void erase();

    // One line of a HEX file: a record (starts with ":") is checked and,
    // for type 0, placed; any other line is appended to comment.
    void processLine(const QString& line);

    MemoryMap map{};
    std::vector<int32_t> wordimage; // 65,536 program cells
    std::vector<int32_t> config;    // 33 cells from map[4]
    std::vector<int32_t> userid;    // 33 cells from map[6]
    std::vector<int32_t> eeprom;    // 8,192 cells from map[10]
    int32_t calibration = erased;
    int32_t backupCalibration = erased;
    std::array<int, 4> counter{};
    bool error = false;

    // Texts for the window's boxes, lines ended by CR LF.
    QString comment;
    QString errors;
    QString orphans;

private:
    void place(int32_t w, int32_t word);
    void recordError(const QString& head, const QString& line);
};

// The load summary (no errors, then the four counters).
QString hexSummary(const PicImage& image);

struct DeviceChecksums {
    bool valid = false;     // false for a device without a rule
    int unprotected = 0;    // shown as pcs(0)
    int codeProtected = 0;  // shown as pcs(1)
    bool notProtected = false; // bit 3 of the configuration word
    int config = 0;         // configuration word AND 0x3F
};
DeviceChecksums computechecksum(const PicImage& image, const QString& device);
