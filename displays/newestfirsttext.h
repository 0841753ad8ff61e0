#pragma once
// A log kept in a multi-line text box with its newest line on top.

class QPlainTextEdit;
class QString;

// Puts the line above the box's text. Only the new line is inserted, so a
// long log costs no more per line than a short one.
void prependLine(QPlainTextEdit* box, const QString& line);
