#include "charlimit.h"

#include "common/owntext.h"

#include <QLineEdit>

CharLimit::CharLimit(int chars, QLineEdit* box) : QValidator(box), m_chars(chars)
{
    // Room for every character to be a pair; the characters are counted here.
    box->setMaxLength(2 * chars);
}

QValidator::State CharLimit::validate(QString& input, int& pos) const
{
    qsizetype over = charCount(input) - m_chars;
    if (over <= 0)
        return Acceptable;
    // New text ends at the cursor (typed, pasted, or set whole with the
    // cursor at its end): the characters of it that do not fit go.
    qsizetype from = qBound(qsizetype(0), qsizetype(pos), input.size());
    const qsizetype end = from;
    while (over > 0 && from > 0) {
        from -= from >= 2 && input[from - 1].isLowSurrogate() && input[from - 2].isHighSurrogate() ? 2 : 1;
        --over;
    }
    input.remove(from, end - from);
    pos = int(from);
    if (over > 0)
        input = leftChars(input, m_chars);
    pos = qMin(pos, int(input.size()));
    return Acceptable;
}
