#pragma once
// A text box's length limit counted in characters: a character outside the
// Basic Multilingual Plane (two UTF-16 units) counts once and is never cut
// in half. Typed or pasted text that does not fit is cut as QLineEdit's
// own limit cuts it: only the part of the new text that fits is kept, and
// a key that does not fit at all is refused without a change. Text set by
// code keeps its first characters.
//
//   box->setValidator(new CharLimit(12, box));
//
// QLineEdit cuts what is inserted to its maxLength in UTF-16 units before
// any validator sees it, so the box's maxLength is set to room for every
// character to be a pair (2 x chars): ask charLimit(), not maxLength(),
// how many characters a box takes.

#include <QString>
#include <QValidator>

class QLineEdit;

class CharLimit : public QValidator {
public:
    CharLimit(int chars, QLineEdit* box);
    State validate(QString& input, int& pos) const override;
    int chars() const { return m_chars; }

private:
    QLineEdit* m_box;
    int m_chars;
    QString m_shown; // the box's text before the change being validated
};

// How many characters the box takes: its CharLimit's count, else its
// maxLength.
int charLimit(const QLineEdit* box);
