#pragma once
// The one reader of text files line by line: Latin-1, line ends CR LF, LF
// or CR, a last line without its end counted.

#include <QString>
#include <QStringList>

struct TextLines {
    enum Status { Ok, Missing, Unreadable, TooLarge };
    Status status = Missing;
    QStringList lines;
    bool ok() const { return status == Ok; }
};

// Reads a regular file of at most maxBytes bytes. A path that is not a
// regular file counts as Missing; a larger file gives TooLarge and no lines.
TextLines readTextLines(const QString& path, qint64 maxBytes);
