#include "savefile.h"
#include "files.h"

#include <QFileInfo>
#include <QSaveFile>

bool savebytes(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    if ((fi.exists() || fi.isSymLink()) && !isregularfile(path))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
