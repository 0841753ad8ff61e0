#pragma once
// Text files read whole as lines.

#include <QString>
#include <QStringList>

struct TextLines {
    enum Status { Ok, Missing, Unreadable, TooLarge } status = Missing;
    QStringList lines;
    bool ok() const { return status == Ok; }
};

// The lines of a regular file (Latin-1; CR LF, LF or CR end a line; a last
// line without its end counts). A file larger than maxBytes is not read.
TextLines readTextLines(const QString& path, qint64 maxBytes);
