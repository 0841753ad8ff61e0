#pragma once
// The pin table of the PIC pin definer: ten ports of eight pins, each with
// direction, initial data, name and comment, and one I/O mode per port; the
// C text generated from it, the device list that limits the pins, and the
// ".pin" file that keeps a table.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

struct PinEntry {
    QString direction = QStringLiteral("I"); // "I" input, "O" output
    QString data = QStringLiteral("0");      // initial output level "0"/"1"
    QString name;                            // at most 12 characters
    QString comment;
    bool enabled = true;
};

struct PinTable {
    enum Mode { Fast = 0, Fixed = 1, Standard = 2 };
    static constexpr int ports = 10;
    static constexpr int pins = 80;
    static constexpr int nameLength = 12;

    std::array<PinEntry, pins> entry;
    std::array<int, ports> mode; // Mode of each port

    PinTable() { mode.fill(Fast); }
    bool portEnabled(int port) const { return entry[size_t(8 * port)].enabled; }
};

// The C text of the table, every line ended by CR LF.
QString pinDefinitions(const PinTable& table);

// The device list: "All Pins", then the family headings and parts, sorted
// by character code and upper-cased ("PIC16F877").
QStringList pinDevices();
// Whether the device list entry has pin entry (8 x port + bit). Headings,
// "All Pins" and unknown entries have all 80.
bool devicePin(const QString& deviceEntry, int entry);

// The ".pin" file of a table saved with the given device entry selected:
// six CR LF lines, entries separated by DC1, encoded by encodeOwnText so any
// text reads back (old Latin-1 files still read). DC1, CR and LF inside
// a name or comment become blanks so the file reads back as saved.
QByteArray pinFile(const QString& deviceEntry, const PinTable& table);

struct PinFileData {
    QString device; // line 1 without surrounding blanks
    PinTable table; // "enabled" is not part of the file
    // False when a line or entry was missing or held a value its box does
    // not take; what was there is loaded, the rest has the defaults.
    bool complete = true;
};
// Reads the lines of a ".pin" file. A port whose mode entries are all "0"
// gets Fast; among several "1" entries of one port the last wins.
PinFileData readPinFile(const QStringList& lines);
