#pragma once
// Reading the board files the converters are given.

#include <QString>
#include <QStringList>

// The largest board file read (exports of very large boards stay far below).
inline constexpr qint64 boardFileMaxBytes = 256LL * 1024 * 1024;

class TimeSlicer;

// The lines of the file at path, read while the event loop is served
// through slicer. A file that cannot be read (missing, not a regular file,
// unreadable, too large) shows one alert naming it and gives false, leaving
// lines as they were; so does a wait that was aborted (the window closed,
// the program quitting), without the alert.
bool readBoardFile(const QString& path, QStringList& lines, TimeSlicer& slicer);

// Writes lines, each ended by CR LF, one byte per character, replacing the
// file only once all of it is written, while the event loop is served; an
// alert names a file that cannot be written, or the line and the character
// it cannot hold (nothing is written then). True when written.
bool writeBoardFile(const QString& path, const QStringList& lines, TimeSlicer& slicer);
