#include "tempfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString sourceDataDir()
{
    const QByteArray env = qgetenv("VOLTARIS_DATA_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
#ifdef VOLTARIS_DATA_DIR
    return QStringLiteral(VOLTARIS_DATA_DIR);
#else
    return QString();
#endif
}

TempFolders::TempFolders(bool copyData)
    : m_oldApp(qgetenv("VOLTARIS_APPDIR")), m_oldWork(qgetenv("VOLTARIS_TEMP")),
      m_hadApp(qEnvironmentVariableIsSet("VOLTARIS_APPDIR")), m_hadWork(qEnvironmentVariableIsSet("VOLTARIS_TEMP"))
{
    if (copyData) {
        const QDir src(sourceDataDir());
        for (const QFileInfo& fi : src.entryInfoList(QDir::Files))
            QFile::copy(fi.absoluteFilePath(), QDir(m_app.path()).filePath(fi.fileName()));
        // Copies of read-only sources must stay writable in the test folder.
        for (const QFileInfo& fi : QDir(m_app.path()).entryInfoList(QDir::Files))
            QFile(fi.absoluteFilePath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    qputenv("VOLTARIS_APPDIR", m_app.path().toLocal8Bit());
    qputenv("VOLTARIS_TEMP", m_work.path().toLocal8Bit());
}

TempFolders::~TempFolders()
{
    if (m_hadApp)
        qputenv("VOLTARIS_APPDIR", m_oldApp);
    else
        qunsetenv("VOLTARIS_APPDIR");
    if (m_hadWork)
        qputenv("VOLTARIS_TEMP", m_oldWork);
    else
        qunsetenv("VOLTARIS_TEMP");
}

QString TempFolders::appFile(const QString& name) const
{
    return QDir(m_app.path()).filePath(name);
}

QString TempFolders::workFile(const QString& name) const
{
    return QDir(m_work.path()).filePath(name);
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
