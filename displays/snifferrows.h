#pragma once
// The sniffer board's records and the six capture rows the window shows.
//
//   int a, b;
//   if (snifferChannels(bitframer(0x80, 2, buffer), a, b)) rows.append(a, b);
//   QString top = rows.page(SnifferRows::AHigh, position);   // 128 columns
//
// A record is three bytes: a start byte 1000 nAaB (n: channel A has no byte,
// A: bit 7 of A's byte; a, b likewise for channel B) and the low seven bits
// of each channel's byte. A channel's value is 0 to 255 for a captured byte
// and 256 when the record carries none for it.

#include <QString>
#include <array>
#include <vector>

// The channel values of one record; false (a, b untouched) when the record
// is not three bytes or its start byte is not 80 to 8F hex.
bool snifferChannels(const QString& record, int& a, int& b);

// The glyph shown in the text rows for a byte with no printable character
// (and in the digit rows of an empty column): one column wide, visible.
constexpr char16_t snifferPlaceholder = u'\u2591';

// Text, high digit and low digit of one channel's column; value 0 to 256.
std::array<QChar, 3> snifferColumn(int value);

// The last `depth` columns of both channels. Columns live in a ring sized
// for the deepest choice, so appending costs the same at any depth.
class SnifferRows {
public:
    enum Row { AText, BText, AHigh, ALow, BHigh, BLow };
    static constexpr int maxDepth = 32768;
    static constexpr int pageWidth = 128;

    // The number of columns kept; a smaller depth drops the oldest columns
    // at the next append.
    void setDepth(int depth);
    int depth() const { return m_depth; }
    // One column per channel; values outside 0 to 256 count as 256.
    void append(int a, int b);
    void clear();
    int count() const { return m_count; }
    // Up to pageWidth characters of a row from column `position` (1 is the
    // oldest column held); "" past the end.
    QString page(Row row, int position) const;
    // The whole row, oldest column first.
    QString row(Row row) const;

private:
    using Column = std::array<QChar, 6>; // in Row order
    const Column& at(int i) const;       // i: 0 is the oldest column held

    std::vector<Column> m_ring = std::vector<Column>(maxDepth);
    int m_next = 0;  // ring slot of the next column
    int m_count = 0; // columns held
    int m_depth = 1024;
};
