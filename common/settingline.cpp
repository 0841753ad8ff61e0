#include "settingline.h"
#include "files.h"

#include <QFile>
#include <QSaveFile>

QString readSettingLine(const QString& path)
{
    if (!isregularfile(path))
        return QString();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    // A damaged giant file gives no more than its first few kilobytes.
    const QByteArray bytes = f.read(64 * 1024);
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
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = line.toLatin1() + "\r\n";
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
}
