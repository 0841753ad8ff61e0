#pragma once
// A text box's length limit counted in characters: a character outside the
// Basic Multilingual Plane (two UTF-16 units) counts once and is never cut
// in half. Typed or pasted text that does not fit is cut as QLineEdit's
// own limit cuts it: only the part of the new text that fits is kept.
//
//   box->setValidator(new CharLimit(12, box));   // sets the box's maxLength too

#include <QValidator>

class QLineEdit;

class CharLimit : public QValidator {
public:
    CharLimit(int chars, QLineEdit* box);
    State validate(QString& input, int& pos) const override;

private:
    int m_chars;
};
