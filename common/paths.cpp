#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// A file that every complete data folder holds.
const char* const kMarker = "voltaris.cdt";

QString installedData()
{
    const QString exe = QCoreApplication::applicationDirPath();
    const QStringList candidates = {QDir(exe).filePath(QStringLiteral("../share/voltaris")),
                                    QStringLiteral("/usr/local/share/voltaris"), QStringLiteral("/usr/share/voltaris")};
    for (const QString& c : candidates)
        if (QFileInfo::exists(QDir(c).filePath(QLatin1String(kMarker))))
            return QDir(c).absolutePath();
    return QString();
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
    if (!exe.isEmpty() && QFileInfo::exists(QDir(exe).filePath(QLatin1String(kMarker))) && QFileInfo(exe).isWritable())
        return QDir::toNativeSeparators(exe);
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + QStringLiteral("/.voltaris");
    QDir().mkpath(user);
    if (!QFileInfo::exists(QDir(user).filePath(QLatin1String(kMarker)))) {
        const QString src = installedData();
        if (!src.isEmpty()) {
            const QDir from(src);
            for (const QFileInfo& fi : from.entryInfoList(QDir::Files))
                QFile::copy(fi.absoluteFilePath(), QDir(user).filePath(fi.fileName()));
        }
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
