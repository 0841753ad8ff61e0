#include "oddfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

void addOddFileRows()
{
    QTest::addColumn<OddFile>("odd");
    QTest::newRow("FIFO") << OddFile::Fifo;
    QTest::newRow("folder") << OddFile::Folder;
    QTest::newRow("device") << OddFile::Device;
}

void makeOddFile(const QString& path, OddFile kind)
{
    QFile::remove(path);
    QDir(path).removeRecursively();
    const QByteArray p = QFile::encodeName(path);
    switch (kind) {
    case OddFile::Fifo:
        QVERIFY(::mkfifo(p.constData(), 0600) == 0);
        break;
    case OddFile::Folder:
        QVERIFY(QDir().mkpath(path));
        break;
    case OddFile::Device:
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
        break;
    }
}

bool isOddFile(const QString& path, OddFile kind)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    switch (kind) {
    case OddFile::Fifo:
        return S_ISFIFO(st.st_mode);
    case OddFile::Folder:
        return S_ISDIR(st.st_mode);
    case OddFile::Device:
        return S_ISCHR(st.st_mode) && QFileInfo(path).isSymLink();
    }
    return false;
}

QString oddFileWord(OddFile kind)
{
    switch (kind) {
    case OddFile::Fifo:
        return QStringLiteral("named pipe");
    case OddFile::Folder:
        return QStringLiteral("folder");
    case OddFile::Device:
        return QStringLiteral("device");
    }
    return QString();
}
