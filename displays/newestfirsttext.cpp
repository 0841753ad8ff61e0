#include "newestfirsttext.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void prependLine(QPlainTextEdit* box, const QString& line)
{
    QTextCursor c(box->document());
    c.movePosition(QTextCursor::Start);
    c.insertText(line + QLatin1Char('\n'));
}
