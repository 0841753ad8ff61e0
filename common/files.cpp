#include "files.h"
#include "timeslice.h"
#include "numtext.h"
#include "owntext.h"
#include "textlines.h"
#include "verror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>

#include <cmath>
#include <map>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

bool openregular(const QString& path, QFile& f)
{
    if (!isregularfile(path))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

namespace {

[[noreturn]] void cannotSave(const QString& path, int number, const QString& why)
{
    throw VError(number, QStringLiteral("Cannot save ") + path + QStringLiteral(": ") + why + u'.');
}

QByteArray settingsBytes(const QStringList& lines)
{
    QString text;
    for (int k = 1; k <= kSettingsLines; ++k) {
        QString v = lines[k];
        // A line end inside a value would shift every later line.
        v.replace(u'\r', u' ').replace(u'\n', u' ');
        text += v;
        text += QStringLiteral("\r\n");
    }
    return encodeOwnText(text);
}

void loadLines(const QString& path, QStringList& lines)
{
    const QFileInfo fi(path);
    if (!isregularfile(path) || fi.size() == 0) {
        // Missing or empty: two empty lines, written when that can be done.
        // Anything else in the file's place is left alone.
        if (!fi.exists() || fi.isFile()) {
            try {
                writefile(path, QByteArrayLiteral("\r\n\r\n"));
            } catch (const VError&) {
                // A read-only folder: the defaults serve this run.
            }
        }
        lines[1].clear();
        lines[2].clear();
        return;
    }
    const TextLines file = readTextLines(path, kMaxSettingsBytes);
    if (file.status == TextLines::Missing || file.status == TextLines::Unreadable)
        throw VError(verr::PermissionDenied, QStringLiteral("Cannot read ") + path + QStringLiteral(": this user may not read it."));
    // A file past the size cap gives the lines of its first part.
    const QStringList got = file.lines.mid(0, kSettingsLines);
    for (qsizetype i = 0; i < got.size(); ++i)
        lines[i + 1] = got[i];
}

// The text begins with a number as the plain decimal conversion reads one.
bool beginsWithNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i < text.size() && text[i] == u'.')
        ++i;
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

} // namespace

bool isregularfile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

QString notafile(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("it is a named pipe (FIFO), not a file");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("it is a device, not a file");
    return QStringLiteral("it is not a regular file");
}

namespace {
// At most cap bytes of a regular file; more tells that it holds more. A
// caller that takes only whole files (wholeOnly) reads none of a larger one.
std::optional<QByteArray> readUpTo(const QString& path, qint64 cap, bool wholeOnly, bool& more)
{
    more = false;
    QFile f;
    if (!openregular(path, f))
        return std::nullopt;
    cap = std::max<qint64>(cap, 0);
    const qint64 size = std::max<qint64>(f.size(), 0);
    if (wholeOnly && size > cap) {
        more = true;
        return std::nullopt;
    }
    QByteArray bytes = f.read(std::min(cap, size));
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    // Asked after the read, so a file that grew meanwhile is not taken as
    // ending where the read stopped.
    more = f.size() > bytes.size();
    return bytes;
}
} // namespace

std::optional<QByteArray> readfilehead(const QString& path, qint64 cap, bool* more)
{
    bool past = false;
    std::optional<QByteArray> bytes = readUpTo(path, cap, false, past);
    if (more)
        *more = past;
    return bytes;
}

std::optional<QByteArray> readfile(const QString& path, qint64 cap, bool* tooLarge)
{
    bool past = false;
    std::optional<QByteArray> bytes = readUpTo(path, cap, true, past);
    if (tooLarge)
        *tooLarge = past;
    if (past)
        return std::nullopt;
    return bytes;
}

namespace {
// Written this many bytes at a time when the event loop is served between.
constexpr qsizetype kWritePart = 1024 * 1024;

// The newest write begun on each file (by absolute path). A write that
// serves the event loop looks after each slice: once a newer write of the
// same file has begun, it gives way and the newer bytes stand.
std::map<QString, quint64>& newestWrite()
{
    static std::map<QString, quint64> newest;
    return newest;
}

// A read-only mark cleared so that the file can be replaced; put back
// unless the new file was committed (or another write has replaced the
// file meanwhile, whose file is then left as it is).
class ReadOnlyMark {
public:
    explicit ReadOnlyMark(const QString& path) : m_path(path) {}
    ReadOnlyMark(const ReadOnlyMark&) = delete;
    ReadOnlyMark& operator=(const ReadOnlyMark&) = delete;
    ~ReadOnlyMark()
    {
        struct stat now {};
        if (m_cleared && ::stat(QFile::encodeName(m_path).constData(), &now) == 0 && now.st_ino == m_was.st_ino
            && now.st_dev == m_was.st_dev)
            ::chmod(QFile::encodeName(m_path).constData(), m_was.st_mode & 07777);
    }
    void clear(const QFileInfo& fi)
    {
        if (!fi.isFile() || (fi.permissions() & QFileDevice::WriteOwner))
            return;
        if (::stat(QFile::encodeName(m_path).constData(), &m_was) != 0)
            return;
        m_cleared = QFile::setPermissions(m_path, fi.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    void committed() { m_cleared = false; }

private:
    QString m_path;
    struct stat m_was {};
    bool m_cleared = false;
};

bool writeWhole(const QString& path, const QByteArray& given, TimeSlicer* slicer)
{
    // The caller's bytes as they are now: a caller that changes its own
    // copy while the event loop is served does not change what is written.
    const QByteArray bytes = given;
    if (path.isEmpty())
        cannotSave(path, verr::PathNotFound, QStringLiteral("no file name was given"));
    const QString why = notafile(path);
    if (!why.isEmpty())
        cannotSave(path, verr::PathFileAccess, why);
    const QFileInfo fi(path);
    if (!fi.absoluteDir().exists())
        cannotSave(path, verr::PathNotFound, QStringLiteral("its folder does not exist"));
    static quint64 writes = 0;
    const QString key = fi.absoluteFilePath();
    const quint64 mine = ++writes;
    newestWrite()[key] = mine;
    // A newer write of this file has begun (and may have ended already).
    const auto superseded = [&] {
        const auto it = newestWrite().find(key);
        return it == newestWrite().end() || it->second != mine;
    };
    const auto forget = qScopeGuard([&] {
        auto it = newestWrite().find(key);
        if (it != newestWrite().end() && it->second == mine)
            newestWrite().erase(it);
    });
    // The read-only mark is cleared first, as the attributes are set to
    // normal before writing (QSaveFile refuses a file it may not write, and
    // the new file keeps the cleared permissions); a write that does not
    // get as far as replacing the file puts it back.
    ReadOnlyMark mark(path);
    mark.clear(fi);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (!QFileInfo(fi.absolutePath()).isWritable())
            cannotSave(path, verr::PermissionDenied, QStringLiteral("this user may not write in its folder"));
        cannotSave(path, verr::PermissionDenied, f.errorString());
    }
    // A full disk can take part of the data and report no error; only the
    // size of what reached it tells. The old file stays until all of it did.
    bool whole = true;
    for (qsizetype at = 0; at < bytes.size() && whole; at += kWritePart) {
        const qsizetype n = qMin(kWritePart, bytes.size() - at);
        whole = f.write(bytes.constData() + at, n) == n;
        if (whole && slicer && !slicer->yield()) {
            f.cancelWriting();
            return false;
        }
        if (whole && slicer && superseded()) {
            f.cancelWriting();
            // The window is still there and its user believes the file
            // saved: say so, and which contents the file holds instead.
            cannotSave(path, verr::PathFileAccess,
                       QStringLiteral("a newer save of the file began while this one was being written. The "
                                      "file holds that newer save's contents; this window's were not written"));
        }
    }
    if (!whole || !f.flush() || f.size() != bytes.size()) {
        const QString err = f.error() != QFileDevice::NoError ? f.errorString() : QStringLiteral("the disk took only part of it");
        f.cancelWriting();
        cannotSave(path, verr::DeviceIO, QStringLiteral("writing failed (") + err + u')');
    }
    if (!f.commit())
        cannotSave(path, verr::DeviceIO, QStringLiteral("writing failed (") + f.errorString() + u')');
    mark.committed();
    return true;
}
} // namespace

void writefile(const QString& path, const QByteArray& bytes)
{
    writeWhole(path, bytes, nullptr);
}

bool writefileServing(const QString& path, const QByteArray& bytes, TimeSlicer& slicer)
{
    return writeWhole(path, bytes, &slicer);
}

std::optional<double> settingvalue(const QString& line, double lo, double hi)
{
    if (!beginsWithNumber(line))
        return std::nullopt;
    const double v = numval(line);
    if (!std::isfinite(v) || v < lo || v > hi)
        return std::nullopt;
    return v;
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
        writefile(path, settingsBytes(lines));
    else
        loadLines(path, lines);
}
