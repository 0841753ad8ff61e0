#pragma once
// The magnetic-core data file "voltaris.cdt" in the program's folder, read
// once per run and answered from memory.
//
// File: text lines (CR LF, LF or CR ends); a line beginning with ";" is a
// comment; every other line, a blank one included, is one core of sixteen
// blank-separated fields: name, name, Mu, Al, Ae, Aw, path length, OD, ID,
// height, weight, B/NI, BSat, material, in stock, reference. A line short
// of fields reads "-" for the field after its last.
//
// coredata(request):
//   0            the list: " n", code 255, "Select", then code 255 and the
//                key text (name name material) of each core in sorted order
//                (n = cores + 2, the number of fields when split on 255)
//   1..count     the row: Mu ... BSat each followed by a blank, a blank,
//                the key text, a blank, in-stock and reference
//   -1..-count   "" after showing the core's data sheet (alertbox
//                mode 1, "Core specifications")
//   -32768       "" and nothing shown
//   else         "Error, request past end"

#include <QString>
#include <cstdint>
#include <vector>

// One core as the table holds it.
struct CoreRecord {
    QString key;     // name, name, material
    QString stock;   // in stock, reference
    QString numbers; // the eleven numbers, each followed by a blank
};

class CoreTable {
public:
    static constexpr int maxRows = 32767;

    explicit CoreTable(QString path);

    // Answers a request as coredata does; the first call reads the file.
    QString answer(int16_t request);

    // Reads and sorts the file unless already done. A missing, unreadable
    // or empty file gives an empty table.
    void ensureLoaded();
    bool loaded() const { return !m_list.isEmpty(); }
    int count() const { return int(m_rows.size()); }
    const CoreRecord& record(int row) const { return m_rows[size_t(row - 1)]; }
    QString rowText(int row) const;
    // The data sheet of a row: fifteen lines joined by CR LF.
    QString sheet(int row) const;
    // The sheet last shown.
    const QString& lastSheet() const { return m_sheet; }

    // The record of one file line (without its end).
    static CoreRecord parseLine(const QString& line);

private:
    QString m_path;
    std::vector<CoreRecord> m_rows;
    QString m_list;
    QString m_sheet;
};

// The program's core table (the program folder's "voltaris.cdt").
QString coredata(const int16_t& request);
