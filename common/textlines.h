#pragma once
// Line-per-record text files: settings, tables, value lists. The bytes are
// read as decodeOwnText reads them (UTF-8 when they are valid UTF-8, else
// Latin-1, a byte-order mark dropped); CR LF, LF and CR each end a line; the
// end of the last line is optional and opens no empty line after it.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

struct TextLines {
    enum Status {
        Ok,
        Missing,    // no such file, or not a regular file (folder, FIFO, device)
        Unreadable, // a regular file that cannot be opened or read
        TooLarge,   // larger than the caller's cap: see Oversized
    };
    // What readTextLines gives for a file larger than its cap.
    enum Oversized {
        FirstPart, // the whole lines within the first maxBytes bytes
        NoLines,   // none: the size is checked before any byte is read
    };
    Status status = Missing;
    QStringList lines;
    // The file was read as UTF-8 (a tool writing it back keeps that form).
    bool utf8 = false;
    bool ok() const { return status == Ok; }
};

// Reads the lines of a regular file of at most maxBytes bytes. Never
// blocks on a FIFO and never reads more than maxBytes (+1) bytes. A reader
// that refuses a larger file whole asks for NoLines, so that it is told so
// at once rather than after the cap's worth of bytes is read and split.
TextLines readTextLines(const QString& path, qint64 maxBytes,
                        TextLines::Oversized oversized = TextLines::FirstPart);

// The lines of bytes already in memory, by the same rules.
QStringList splitTextLines(const QByteArray& bytes);

// The lines of a text, split at CR LF, LF and CR by the same rules.
QStringList splitLines(const QString& text);

// What to tell the user about a file past its reader's cap (TooLarge): the
// file, the cap ("16 MiB") and that none of it was taken. A reader refuses
// such a file whole rather than use the part it read.
QString toolargetext(const QString& path, qint64 cap);

class TimeSlicer;

// The same lines read a block at a time, so that a large file is taken in
// while the event loop is served between lines; memory holds one block.
// The text reads as readTextLines reads it, decided for the whole file by a
// first pass over its bytes (prepare) before any line is given.
//
//   TextLineReader in(path, maxBytes);
//   if (!in.prepare(slicer)) return;       // closed or quitting
//   QString line;
//   while (in.next(line)) { ... }
//   if (in.status() != TextLines::Ok) ...  // Missing, Unreadable, TooLarge
//
// A file over maxBytes is TooLarge before its first line is read.
class TextLineReader {
public:
    TextLineReader(const QString& path, qint64 maxBytes, qsizetype blockBytes = 256 * 1024);
    // The pass that decides how the file's text reads, serving the event
    // loop through slicer. False when the wait was aborted (the window was
    // closed, the program quits): nothing of the window may be touched.
    // next() makes the same pass unserved when it was not made.
    // eachBlock, when given, sees every byte of the file in order, a
    // byte-order mark included, so that a caller needing them all (a
    // checksum) reads the file no second time; the pass then runs to the
    // end of the file even when its form is settled early. After an
    // aborted pass a new one starts from the first byte again.
    bool prepare(TimeSlicer& slicer, const std::function<void(const QByteArray&)>& eachBlock = {});
    // The next line; false at the end of the file or on an error.
    bool next(QString& line);
    TextLines::Status status() const { return m_status; }
    // Bytes taken from the file so far (for lines; the first pass aside).
    qint64 bytesRead() const { return m_read; }
    // The file reads as UTF-8 (a tool writing it back keeps that form).
    bool utf8() const { return m_utf8; }
    // The byte-order mark the file starts with, no line's part; empty when
    // it has none (or before the first pass). A tool writing the file back
    // puts it in front again.
    const QByteArray& mark() const { return m_mark; }

private:
    bool decide(TimeSlicer* slicer, const std::function<void(const QByteArray&)>& eachBlock = {});
    bool fill();
    void fail(TextLines::Status status);

    QFile m_file;
    QByteArray m_block;
    QByteArray m_mark;
    qsizetype m_at = 0;
    qint64 m_read = 0;
    qint64 m_cap = 0;
    qsizetype m_blockBytes;
    bool m_end = false;
    bool m_afterCr = false; // the last block ended in CR: an LF next ends no line
    bool m_decided = false;
    bool m_utf8 = false;
    TextLines::Status m_status = TextLines::Missing;
};
