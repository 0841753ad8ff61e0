#pragma once
// Replacing the TABs of text lines by blanks up to the next tab stop.

#include <QString>

namespace tabstrip {

// The widest tab stop offered: wider ones are no use in a text and would
// only blow a line up.
constexpr int kMaxTabSize = 64;
// Files above this size are refused rather than read.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
// A converted line longer than this is refused (a binary file, or a line of
// TABs, would otherwise grow without bound and hang the display).
constexpr qsizetype kMaxLineChars = 1000000;

// The tab size a box text gives: its number rounded to a whole one; 4 when
// that is 0 or less, kMaxTabSize when it is above.
int tabsize(const QString& text);

// The line with each TAB replaced by the blanks that take the text after it
// to the next multiple of tabSize (a full tabSize blanks when the text
// before it ends on a stop). tabs grows by the number of TABs replaced.
QString expandtabs(const QString& line, int tabSize, int& tabs);

} // namespace tabstrip
