#pragma once
// One-line settings files: a window's single remembered value (a folder,
// mostly) in a plain text file of its own.

#include <QString>

// The first line of the file, up to any NUL byte; "" when it is missing,
// not a regular file, unreadable or empty.
QString readSettingLine(const QString& path);

// Replaces the file with text and CR LF, atomically: the old file stays
// whole until the new one is complete. Any text reads back identical
// (encodeOwnText). False when it cannot be written.
bool writeSettingLine(const QString& path, const QString& text);
