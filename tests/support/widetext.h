#pragma once
#include <QString>

// Texts a single-byte file cannot hold, or that are easy to mangle: Greek,
// Polish, CJK, a character outside the Basic Multilingual Plane, combining
// marks, right-to-left text, and one long value.
enum class WideText { Omega, Lodz, Cjk, Astral, Combining, RightToLeft, Long };

// Adds the columns "wide" (QString) and one row per kind to a data-driven
// test; prefix and suffix surround each text. File and folder names leave
// out the long one (longToo false): no file system takes a 10,000-character
// name.
void addWideTextRows(const QString& prefix = QString(), const QString& suffix = QString(), bool longToo = true);
QString wideText(WideText kind);

// "München" in Latin-1 bytes, as files written before UTF-8 hold it.
inline QByteArray muenchenLatin1() { return QByteArray("M\xfc" "nchen"); }
