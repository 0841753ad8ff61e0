#include "settingline.h"
#include "savefile.h"
#include "textlines.h"

QString readSettingLine(const QString& path)
{
    // A damaged giant file gives no more than its first few kilobytes.
    const QString first = readTextLines(path, 64 * 1024).lines.value(0);
    // No path holds a NUL byte: the line ends there.
    return first.left(first.indexOf(QChar(0)));
}

bool writeSettingLine(const QString& path, const QString& text)
{
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return savebytes(path, line.toLatin1() + "\r\n");
}
