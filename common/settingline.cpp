#include "settingline.h"
#include "files.h"
#include "savefile.h"

QString readSettingLine(const QString& path)
{
    // A damaged giant file gives no more than its first few kilobytes.
    const QByteArray bytes = readfile(path, 64 * 1024).value_or(QByteArray());
    // The line ends at CR, LF or a NUL byte (no path holds one).
    qsizetype end = bytes.size();
    for (const char stop : {'\r', '\n', '\0'}) {
        const qsizetype at = bytes.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return QString::fromLatin1(bytes.left(end));
}

bool writeSettingLine(const QString& path, const QString& text)
{
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return savebytes(path, line.toLatin1() + "\r\n");
}
