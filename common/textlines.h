#pragma once
// Line-per-record text files: settings, tables, value lists. Bytes are
// Latin-1 (one character per byte); CR LF, LF and CR each end a line; the
// end of the last line is optional and opens no empty line after it.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

struct TextLines {
    enum Status {
        Ok,
        Missing,    // no such file, or not a regular file (folder, FIFO, device)
        Unreadable, // a regular file that cannot be opened or read
        TooLarge,   // larger than the caller's cap: lines holds those of the
                    // first maxBytes bytes, the last one possibly cut
    };
    Status status = Missing;
    QStringList lines;
    bool ok() const { return status == Ok; }
};

// Reads the lines of a regular file of at most maxBytes bytes. Never
// blocks on a FIFO and never reads more than maxBytes (+1) bytes.
TextLines readTextLines(const QString& path, qint64 maxBytes);

// The lines of bytes already in memory, by the same rules.
QStringList splitTextLines(const QByteArray& bytes);

// The same lines read a block at a time, so that a large file is taken in
// while the event loop is served between lines; memory holds one block.
//
//   TextLineReader in(path, maxBytes);
//   QString line;
//   while (in.next(line)) { ... }
//   if (in.status() != TextLines::Ok) ...  // Missing, Unreadable, TooLarge
//
// A file over maxBytes is TooLarge before its first line is read.
class TextLineReader {
public:
    TextLineReader(const QString& path, qint64 maxBytes, qsizetype blockBytes = 256 * 1024);
    // The next line; false at the end of the file or on an error.
    bool next(QString& line);
    TextLines::Status status() const { return m_status; }
    // Bytes taken from the file so far.
    qint64 bytesRead() const { return m_read; }

private:
    bool fill();

    QFile m_file;
    QByteArray m_block;
    qsizetype m_at = 0;
    qint64 m_read = 0;
    qint64 m_cap = 0;
    qsizetype m_blockBytes;
    bool m_end = false;
    bool m_afterCr = false; // the last block ended in CR: an LF next ends no line
    TextLines::Status m_status = TextLines::Missing;
};
