#pragma once
// Typing hexadecimal digits into the cipher and hash testers' boxes.

#include <QString>

// Key filter: "a" to "f" come back as "A" to "F"; "0" to "9", Backspace (8),
// Delete (127) and Enter (13) pass; every other key gives 0, upper-case "A"
// to "F" typed as such included.
int hexEntryKey(int key);
// True when every character of text is a hexadecimal digit ("" included).
bool allHexDigits(const QString& text);
// The text padded with "0" on the left to width characters; a longer text
// keeps its rightmost width characters.
QString zeroLeft(const QString& text, int width);
