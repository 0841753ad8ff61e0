#pragma once
// A length-limited box of a real window, driven at its limit with text that
// ends in a character outside the Basic Multilingual Plane.

#include <QString>

// Opens the window, pastes (as a whole text and with Ctrl+V at the end) and
// types such text at the box's limit of `chars` characters, and fails the
// running test when the box is ever left holding half a character or more
// than `chars` characters. Unloads the window again.
void checkLimitKeepsWholeCharacters(const QString& window, const QString& box, int chars);

// A data-driven test over boxes: its columns, its rows, and the check of
// the current row.
void addLimitedBoxColumns();
void addLimitedBoxRow(const char* window, const char* box, int chars);
void checkLimitedBoxRow();
