#pragma once
// Files, paths and settings lines.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QFile;

// True when path names a regular file (after following links). Settings and
// data files are opened only then: a FIFO would block the open, and a
// folder or device in place of a file counts as missing.
bool isregularfile(const QString& path);

// Why path cannot be read or written as a file, in words ("it is a folder,
// not a file"); "" when it is a regular file or nothing is there.
QString notafile(const QString& path);

// Opens path for reading into f when it is a regular file. The path is
// checked before the open (opening a serial device would raise its modem
// lines) and the open file after it, non-blocking, so a FIFO put in its
// place meanwhile never blocks. False otherwise, f left closed.
bool openregular(const QString& path, QFile& f);

// The bytes of a regular file of at most cap bytes. None when path is not a
// regular file (a FIFO, folder or device reads as missing, and is never
// waited on), cannot be read, or holds more than cap bytes: a file is never
// taken in part. tooLarge, when given, tells that last case apart (worded by
// toolargetext, common/textlines.h).
std::optional<QByteArray> readfile(const QString& path, qint64 cap, bool* tooLarge = nullptr);

// The first bytes of a regular file, at most cap of them, for a reader that
// uses only a file's beginning (its first line, its first lines) and decides
// itself what a file that goes on past them means. more, when given, tells
// that the file holds more than cap bytes. None as for readfile.
std::optional<QByteArray> readfilehead(const QString& path, qint64 cap, bool* more = nullptr);

// Writes bytes to path atomically: the old file stays whole until the new
// one is complete. A read-only mark on the old file is cleared first. Raises
// VError naming the file and saying why when it cannot be written (a folder,
// FIFO or device in its place, a missing folder, no permission).
void writefile(const QString& path, const QByteArray& bytes);
// The same for a large file, serving the event loop between parts through
// the caller's slicer. The bytes are taken as they are at the call. False
// when the wait was aborted (the window closed, the program quitting): the
// old file is then left as it was, read-only mark included. A newer save of
// the same file begun meanwhile wins: its bytes stand, and this one raises
// VError naming the file and saying so.
class TimeSlicer;
bool writefileServing(const QString& path, const QByteArray& bytes, TimeSlicer& slicer);

// A number read from a settings or parameter line, taken as its box takes a
// typed one: the line must begin with a number (plain decimal conversion)
// that is finite and within lo..hi. None otherwise, so the caller keeps its
// default (or refuses the file).
std::optional<double> settingvalue(const QString& line, double lo, double hi);

// True when at least one ordinary file (not hidden, not a folder, device or
// other special file) matches path; "*" and "?" in the last component are
// wildcards. An empty path and every failure of the look-up give false.
bool fileexists(const QString& path);

// As fileexists, but folders match as well (an existing file also answers
// true).
bool direxists(const QString& path);

// A piece of a path. The caller's path loses its leading and trailing
// blanks. The cleaned path drops "*", "?", "<", ">" and "|"; only dots after
// the last separator count, the first of them starting the extension and a
// second one ending the name. part: 0 name with extension, 1 base name,
// 2 extension without the dot, 3 folder without a trailing separator,
// 4 folder, separator, name with extension, 5 the same without extension;
// any other part "".
QString pathpart(QString& path, const int& part);
QString pathpart(const QString& path, const int& part);

// Settings lines: lines[k] (k = 1 to 100) is line k of the file at path;
// lines[0] is never used. A list shorter than 101 entries is extended.
// mode (any case) "save" writes exactly 100 lines with CR LF, atomically
// (the old file stays whole until the new one is complete), clearing a
// read-only mark first; CR and LF inside a value become blanks so no later
// line shifts. "load" first creates a missing or empty file with two empty
// lines, then reads at most 100 lines (ends CR LF, LF or CR) into lines[1],
// lines[2], ...; entries past the file's last line keep their values. Other
// modes do nothing. Text is written by encodeOwnText and read by
// decodeOwnText (common/owntext.h), so every value reads back as saved. A
// path that is not a regular file loads as a missing one that cannot be
// created: nothing is read, nothing is created over it. A missing file that cannot be created (read-only
// folder) loads silently too. Failures to read a regular file and every
// failure to save raise VError naming the file.
void filelines(const QString& mode, const QString& path, QStringList& lines);
