#pragma once
// Line-per-record text files: settings, tables, value lists. The bytes are
// read as decodeOwnText reads them (UTF-8 when they are valid UTF-8, else
// Latin-1, a byte-order mark dropped); CR LF, LF and CR each end a line; the
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
    // The file was read as UTF-8 (a tool writing it back keeps that form).
    bool utf8 = false;
    bool ok() const { return status == Ok; }
};

// Reads the lines of a regular file of at most maxBytes bytes. Never
// blocks on a FIFO and never reads more than maxBytes (+1) bytes.
TextLines readTextLines(const QString& path, qint64 maxBytes);

// The lines of bytes already in memory, by the same rules.
QStringList splitTextLines(const QByteArray& bytes);

// The lines of a text, split at CR LF, LF and CR by the same rules.
QStringList splitLines(const QString& text);

// What to tell the user about a file past its reader's cap (TooLarge): the
// file, the cap ("16 MiB") and that none of it was taken. A reader refuses
// such a file whole rather than use the part it read.
QString toolargetext(const QString& path, qint64 cap);
