#include "charlimit.h"

#include "common/owntext.h"

#include <QLineEdit>

CharLimit::CharLimit(int chars, QLineEdit* box) : QValidator(box), m_box(box), m_chars(chars), m_shown(box->text())
{
    box->setMaxLength(2 * chars);
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_shown = text; });
}

QValidator::State CharLimit::validate(QString& input, int& pos) const
{
    qsizetype over = charCount(input) - m_chars;
    if (over <= 0)
        return Acceptable;
    // New text ends at the cursor (typed, pasted, or set whole with the
    // cursor at its end): the characters of it that do not fit go, the
    // last first. A pair that QLineEdit's own cut left half of counts as
    // one character, so it goes whole.
    qsizetype from = qBound(qsizetype(0), qsizetype(pos), input.size());
    const qsizetype end = from;
    while (over > 0 && from > 0) {
        from -= from >= 2 && input[from - 1].isLowSurrogate() && input[from - 2].isHighSurrogate() ? 2 : 1;
        --over;
    }
    QString kept = input;
    kept.remove(from, end - from);
    if (over > 0)
        kept = leftChars(kept, m_chars);
    // An edit of the user's of which nothing fits is refused, so that
    // QLineEdit takes it back as its own limit would: no change signal, and
    // the undo history kept. (Text set by code has no undo history; it is
    // cut, never refused.)
    if (kept == m_shown && m_box->isUndoAvailable())
        return Invalid;
    input = kept;
    pos = int(qMin(from, input.size()));
    return Acceptable;
}

int charLimit(const QLineEdit* box)
{
    if (const auto* limit = dynamic_cast<const CharLimit*>(box->validator()))
        return limit->chars();
    return box->maxLength();
}
