#pragma once
// Writing a whole file at once.

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes, atomically: the old file stays
// whole until the new one is complete, and a failed write leaves nothing
// behind. A path held by something other than a regular file (a folder, a
// FIFO, a device) is not written. Returns false on any failure.
bool savebytes(const QString& path, const QByteArray& bytes);
