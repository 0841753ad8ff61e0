#pragma once
// Fills a plain text box a block of lines at a time, serving the event
// loop between blocks, so that showing a long text never holds the window.
//
//   TimeSlicer slicer;   // the one the whole operation runs in
//   if (!fillTextBox(box, text, slicer, [this] { return stopPressed(); }))
//       return; // stopped, closed or quitting: the box is partly filled
//
// The box ends up holding the text with CR LF line ends taken as one, and
// an empty undo history, as after setPlainText.

#include <QByteArray>
#include <QString>
#include <functional>

class QPlainTextEdit;
class TimeSlicer;

// False when stop() said so, or the wait was aborted (the window was
// closed, or the program quits): nothing of the window may be touched then.
bool fillTextBox(QPlainTextEdit* box, const QString& text, TimeSlicer& slicer, const std::function<bool()>& stop = {});
// The same for a file's bytes: UTF-8 when utf8, else Latin-1.
bool fillTextBox(QPlainTextEdit* box, const QByteArray& bytes, bool utf8, TimeSlicer& slicer,
                 const std::function<bool()>& stop = {});
