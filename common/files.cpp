#include "files.h"
#include "textlines.h"
#include "verror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

constexpr int kSettingsLines = 100;
// A settings file is a few hundred bytes; reading stops here so an oversized
// or binary file given by mistake cannot exhaust memory.
constexpr qint64 kMaxSettingsBytes = 16 * 1024 * 1024;

bool hasWildcard(const QString& name)
{
    return name.contains(u'*') || name.contains(u'?');
}

bool matches(const QFileInfo& fi, bool foldersToo)
{
    if (fi.isHidden())
        return false;
    if (fi.isFile())
        return true;
    return foldersToo && fi.isDir();
}

bool lookup(const QString& path, bool foldersToo)
{
    if (path.isEmpty())
        return false;
    const qsizetype s = path.lastIndexOf(QDir::separator());
    const QString name = s < 0 ? path : path.mid(s + 1);
    const QString folder = s < 0 ? QStringLiteral(".") : (s == 0 ? QString(QDir::separator()) : path.left(s));
    if (!hasWildcard(name)) {
        if (hasWildcard(folder))
            return false;
        return matches(QFileInfo(path), foldersToo);
    }
    if (hasWildcard(folder))
        return false;
    // "*" and "?" are the only wildcards; everything else matches itself.
    // A trailing ".*" also matches names without an extension, so "*.*"
    // means every file.
    const bool anyExtension = name.endsWith(QLatin1String(".*"));
    const QString stem = anyExtension ? name.left(name.size() - 2) : name;
    QString re;
    for (const QChar c : stem) {
        if (c == u'*')
            re += QStringLiteral(".*");
        else if (c == u'?')
            re += u'.';
        else
            re += QRegularExpression::escape(QString(c));
    }
    if (anyExtension)
        re += QStringLiteral("(\\..*)?");
    const QRegularExpression rx(QRegularExpression::anchoredPattern(re));
    QDir dir(folder);
    if (!dir.exists())
        return false;
    const QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot | (foldersToo ? QDir::Dirs : QDir::Filters());
    const QFileInfoList entries = dir.entryInfoList(filters);
    for (const QFileInfo& fi : entries)
        if (rx.match(fi.fileName()).hasMatch() && matches(fi, foldersToo))
            return true;
    return false;
}

QString cleanedPath(const QString& trimmed)
{
    const QChar sep = QDir::separator();
    QString out;
    out.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        if (c == u'*' || c == u'?' || c == u'<' || c == u'>' || c == u'|')
            continue;
        // "/" is dropped only where it is not the separator.
        if (c == u'/' && sep != u'/')
            continue;
        out += c;
    }
    return out;
}

QString part(const QString& trimmedPath, int which)
{
    if (trimmedPath.isEmpty())
        return QString();
    QString p = cleanedPath(trimmedPath);
    const QChar sep = QDir::separator();
    const qsizetype s = p.lastIndexOf(sep); // -1 when absent
    // Dots count only within the file name, so a dotted folder never cuts it.
    const qsizetype d1 = p.indexOf(u'.', s + 1);
    const qsizetype d2 = d1 < 0 ? -1 : p.indexOf(u'.', d1 + 1);
    if (d2 >= 0)
        p.truncate(d2);
    const QString folder = s < 0 ? QString() : p.left(s);
    QString base, ext, dot;
    if (d1 >= 0) {
        base = p.mid(s + 1, d1 - s - 1);
        ext = p.mid(d1 + 1);
        dot = QStringLiteral(".");
    } else {
        base = p.mid(s + 1);
    }
    switch (which) {
    case 0: return base + dot + ext;
    case 1: return base;
    case 2: return ext;
    case 3: return folder;
    case 4: return folder + sep + base + dot + ext;
    case 5: return folder + sep + base;
    default: return QString();
    }
}

QString trimBlanks(const QString& path)
{
    qsizetype a = 0, b = path.size();
    while (a < b && path[a] == u' ')
        ++a;
    while (b > a && path[b - 1] == u' ')
        --b;
    return path.mid(a, b - a);
}

[[noreturn]] void fileError(const QString& path, const QFileDevice& f)
{
    const QFileInfo fi(path);
    if (!fi.absoluteDir().exists())
        throw VError(verr::PathNotFound, QStringLiteral("Path not found: ") + path);
    if (f.error() == QFileDevice::OpenError || f.error() == QFileDevice::PermissionsError)
        throw VError(verr::PermissionDenied, QStringLiteral("Permission denied: ") + path);
    throw VError(verr::DeviceIO, QStringLiteral("Device I/O error: ") + path + QStringLiteral(" (") + f.errorString() + u')');
}

void saveLines(const QString& path, QStringList& lines)
{
    // The read-only mark is cleared first, as the attributes are set to
    // normal before writing; QSaveFile then keeps the cleared permissions.
    const QFileInfo fi(path);
    if (fi.exists() && fi.isFile() && !(fi.permissions() & QFileDevice::WriteOwner))
        QFile::setPermissions(path, fi.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    QByteArray bytes;
    for (int k = 1; k <= kSettingsLines; ++k) {
        QString v = lines[k];
        // A line end inside a value would shift every later line.
        v.replace(u'\r', u' ').replace(u'\n', u' ');
        bytes += v.toLatin1();
        bytes += "\r\n";
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        fileError(path, f);
    if (f.write(bytes) != bytes.size())
        fileError(path, f);
    if (!f.commit())
        fileError(path, f);
}

void loadLines(const QString& path, QStringList& lines)
{
    const QFileInfo fi(path);
    if (!fi.exists() || (fi.isFile() && fi.size() == 0)) {
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write("\r\n\r\n", 4) != 4 || !f.commit())
            fileError(path, f);
    }
    const TextLines read = readTextLines(path, kMaxSettingsBytes);
    // A folder, FIFO or device in the file's place: nothing to read (a FIFO
    // must not be opened: the open would wait for a writer).
    if (read.status == TextLines::Missing)
        throw VError(verr::FileNotFound, QStringLiteral("File not found: ") + path);
    if (read.status == TextLines::Unreadable) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        fileError(path, f);
    }
    // A file past the size cap gives the lines of its first part.
    const QStringList got = read.lines.mid(0, kSettingsLines);
    for (qsizetype i = 0; i < got.size(); ++i)
        lines[i + 1] = got[i];
}

} // namespace

bool isregularfile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

bool fileexists(const QString& path)
{
    return lookup(path, false);
}

bool direxists(const QString& path)
{
    return lookup(path, true);
}

QString pathpart(QString& path, const int& which)
{
    if (path.isEmpty())
        return QString();
    path = trimBlanks(path);
    return part(path, which);
}

QString pathpart(const QString& path, const int& which)
{
    return part(trimBlanks(path), which);
}

void filelines(const QString& mode, const QString& path, QStringList& lines)
{
    const QString m = mode.toLower();
    if (m != QLatin1String("load") && m != QLatin1String("save"))
        return;
    while (lines.size() <= kSettingsLines)
        lines.append(QString());
    if (m == QLatin1String("save"))
        saveLines(path, lines);
    else
        loadLines(path, lines);
}
