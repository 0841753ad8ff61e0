#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// A file that every complete data folder holds.
const char* const kMarker = "voltaris.cdt";

bool holdsData(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QLatin1String(kMarker))).isFile();
}

// The folders whose data files seed the per-user folder, most direct first:
// the executable's own folder (a read-only build tree) and the installed
// data folder beside it or in the system's share folders.
QStringList dataSources()
{
    QStringList out;
    const QString exe = QCoreApplication::applicationDirPath();
    if (holdsData(exe))
        out << exe;
    const QStringList installed = {QDir(exe).filePath(QStringLiteral("../share/voltaris")),
                                   QStringLiteral("/usr/local/share/voltaris"), QStringLiteral("/usr/share/voltaris")};
    for (const QString& c : installed)
        if (holdsData(c)) {
            out << QDir(c).absolutePath();
            break;
        }
    return out;
}

// Copies every data file that the per-user folder lacks; a file already
// there is the user's and stays as it is. A newer program's new pages thus
// reach users of an older one.
void seed(const QString& user)
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    for (const QString& src : dataSources()) {
        for (const QFileInfo& fi : QDir(src).entryInfoList(QDir::Files)) {
            // Programs beside the data (the executable itself) are not data.
            if (!fi.isFile() || fi.isExecutable() || fi.canonicalFilePath() == self)
                continue;
            const QString to = QDir(user).filePath(fi.fileName());
            if (QFileInfo(to).exists() || QFileInfo(to).isSymLink())
                continue;
            // QFile::copy writes a temporary file and renames it, so an
            // interrupted copy never leaves a half file that would count
            // as the user's.
            if (QFile::copy(fi.absoluteFilePath(), to))
                QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        }
    }
}
} // namespace

QString joinpath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QDir::separator()) || folder.endsWith(u'/'))
        return folder + name;
    return folder + QDir::separator() + name;
}

QString apppath()
{
    const QString env = qEnvironmentVariable("VOLTARIS_APPDIR");
    if (!env.isEmpty())
        return QDir::toNativeSeparators(QDir(env).absolutePath());
    const QString exe = QCoreApplication::applicationDirPath();
    if (holdsData(exe) && QFileInfo(exe).isWritable())
        return QDir::toNativeSeparators(exe);
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + QStringLiteral("/.voltaris");
    // Seeded once per run: the first call comes at start.
    static QString seeded;
    if (seeded != user) {
        QDir().mkpath(user);
        seed(user);
        seeded = user;
    }
    return QDir::toNativeSeparators(user);
}

QString worktemp()
{
    QString dir = qEnvironmentVariable("VOLTARIS_TEMP");
    if (dir.isEmpty()) {
        QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (docs.isEmpty())
            docs = QDir::homePath();
        dir = QDir(docs).filePath(QStringLiteral("voltaris"));
    }
    QDir().mkpath(dir);
    return QDir::toNativeSeparators(QDir(dir).absolutePath());
}
