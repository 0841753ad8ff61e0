#include "slicedtext.h"
#include "boxtext.h"
#include "owntext.h"
#include "timeslice.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTextCursor>

namespace {
// Small enough that the box takes a block in a few milliseconds.
constexpr qsizetype kBlock = 16 * 1024;

qsizetype indexOfLf(const QString& s, qsizetype from)
{
    return s.indexOf(u'\n', from);
}
// A file's bytes, in the form they were read in.
struct FileBytes {
    const QByteArray& bytes;
    bool utf8;
    qsizetype size() const { return bytes.size(); }
};

qsizetype indexOfLf(const FileBytes& s, qsizetype from)
{
    return s.bytes.indexOf('\n', from);
}
QString piece(const QString& s, qsizetype from, qsizetype n)
{
    return s.mid(from, n);
}
QString piece(const FileBytes& s, qsizetype from, qsizetype n)
{
    // Cut after a line end: a UTF-8 character is never cut in two.
    return decodeOwnTextPiece(QByteArrayView(s.bytes).sliced(from, n), s.utf8);
}

template <class Text>
bool fill(QPlainTextEdit* box, const Text& text, TimeSlicer& slicer, const std::function<bool()>& stop)
{
    // No undo record of the shown text (it would hold a second copy);
    // the box's own setting comes back after, with an empty history, as
    // after setPlainText.
    const bool undo = box->isUndoRedoEnabled();
    const QPointer<QPlainTextEdit> guard(box);
    const auto restore = qScopeGuard([&] {
        if (guard)
            guard->setUndoRedoEnabled(undo);
    });
    box->setUndoRedoEnabled(false);
    box->clear();
    for (qsizetype at = 0; at < text.size();) {
        if (stop && stop())
            return false;
        // Up to a line end, so that a CR LF is never cut in two.
        qsizetype end = indexOfLf(text, qMin(at + kBlock, text.size()) - 1);
        end = end < 0 ? text.size() : end + 1;
        QTextCursor cursor(box->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(boxtext(piece(text, at, end - at)));
        at = end;
        if (!slicer.yield())
            return false;
    }
    box->moveCursor(QTextCursor::Start);
    return true;
}
} // namespace

bool fillTextBox(QPlainTextEdit* box, const QString& text, TimeSlicer& slicer, const std::function<bool()>& stop)
{
    return fill(box, text, slicer, stop);
}

bool fillTextBox(QPlainTextEdit* box, const QByteArray& bytes, bool utf8, TimeSlicer& slicer,
                 const std::function<bool()>& stop)
{
    return fill(box, FileBytes{bytes, utf8}, slicer, stop);
}
