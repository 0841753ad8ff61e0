#pragma once
// Line-per-record text files: settings, tables, value lists. Bytes are
// Latin-1 (one character per byte); CR LF, LF and CR each end a line; the
// end of the last line is optional and opens no empty line after it.

#include <QByteArray>
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
