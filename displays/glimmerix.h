#pragma once
// The Glimmerix board's protocol and the bench's records, apart from any
// window: the self-test grid, the EEPROM dump, the configuration block and
// its serial number, the shipped-boards line and the settings file.
//
// Character positions count from 1 in a frame without its "!" and CR, as
// the board's documents count them; a position past the end reads as "".

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace glimmerix {

// Characters from..to of a frame (counted from 1), cut at its end.
QString chars(const QString& frame, int from, int to);
// The reply kind: characters 3-4, lower-cased ("10", "11", "12").
QString replyKind(const QString& frame);

// One box of the grid or one reading: its text and colour.
enum class Shade { White, Green, Red };
struct Cell {
    QString text;
    Shade shade = Shade::White;
    bool operator==(const Cell&) const = default;
};

// The test grid as the window shows it: 34 result boxes and 5 readings
// (0 firmware version, 1 A2 pull-up, 2 verdict, 3 anode low, 4 anode high).
struct TestGrid {
    static constexpr int boxCount = 34;
    static constexpr int readingCount = 5;
    std::array<Cell, boxCount> xtest;
    std::array<Cell, readingCount> mdata;

    // What "Full Module Test" shows before it sends: every box a blank on
    // white, every reading empty, the verdict "Wait".
    void startTest();
    // Applies one test result (kind "10"). True when the line is the
    // overall pass, after which the board's EEPROM is dumped.
    bool apply(const QString& frame);

private:
    void mark(int box, bool pass);
};

// The keys of steps "02", "04", "05" and "06", in box order, and the first
// box of each.
struct StepKeys {
    QString step;
    int firstBox;
    int from, to; // the key's character positions
    std::array<const char*, 12> keys;
    int count;
};
const std::array<StepKeys, 4>& stepKeys();

// One dump line (kind "11"): the text it adds to the listing (with its
// CR LF ends) and the characters it adds to the decoded block.
struct DumpLine {
    QString listing;
    QString block;
};
DumpLine decodeDump(const QString& frame);

// The serial number brought to eight digits: only its digits count, zeros
// in front, the last eight kept ("12ab" gives "00000012").
QString eightDigits(const QString& text);
// "+" and "-": the next or previous number, none at 99999999 or 0.
std::optional<QString> nextSerial(const QString& text);
std::optional<QString> previousSerial(const QString& text);

// The date stamp as the block carries it: yyyy/MM/dd.
QString datestampFor(const QDate& date);
// The factory block: the date, one blank, the serial number.
QString blockText(const QString& datestamp, const QString& serial);
// "$00120B", two upper-case hex digits per character of the block, CR LF.
// None when a character is above 255: it has no byte to go as.
std::optional<QString> writeCommand(const QString& block);
// A write answer (kind "12") that says the block was written.
bool writeAccepted(const QString& frame);

// The shipped-boards record: its header and one board's line, fields
// joined by ",". A field holding a comma, a double quote, CR or LF is
// quoted (RFC 4180) so the columns stay in place; others stand as they are.
QString recordHeader();
QString recordLine(const QString& customer, const QString& version, const QString& model,
                   const QString& datestamp, const QString& serial);
QString csvField(const QString& text);

// The serial number a settings file holds: its first line brought to eight
// digits; "00000000" for a file with no line.
QString settingsSerial(const QStringList& lines);

} // namespace glimmerix
