#pragma once
#include <QMetaType>
#include <QString>

// Things that are not regular files, put where a settings or data file is
// expected: a FIFO (an open for reading would block), a folder, and a link
// to the null device.
enum class OddFile { Fifo, Folder, Device };

// Adds the column "odd" and one row per kind to a data-driven test.
void addOddFileRows();
// Replaces whatever is at path by the odd thing.
void makeOddFile(const QString& path, OddFile kind);
// True when path still holds that odd thing (nothing was created over it).
bool isOddFile(const QString& path, OddFile kind);
// The words an alert uses for it ("folder", "named pipe", "device").
QString oddFileWord(OddFile kind);

Q_DECLARE_METATYPE(OddFile)
