#include "settingline.h"
#include "owntext.h"
#include "savefile.h"
#include "files.h"

QString readSettingLine(const QString& path)
{
    // A damaged giant file gives no more than its first few kilobytes. Only
    // the first line is decoded, so a cut-off tail cannot change how it reads.
    const QByteArray bytes = readfilehead(path, 64 * 1024).value_or(QByteArray());
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    const QString first = decodeOwnText(bytes.left(end));
    // No path holds a NUL byte: the line ends there.
    return first.left(first.indexOf(QChar(0)));
}

bool writeSettingLine(const QString& path, const QString& text)
{
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return savebytes(path, encodeOwnText(line + QStringLiteral("\r\n")));
}
