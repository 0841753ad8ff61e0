#include "savefile.h"
#include "files.h"
#include "verror.h"


bool savebytes(const QString& path, const QByteArray& bytes)
{
    try {
        writefile(path, bytes);
        return true;
    } catch (const VError&) {
        return false;
    }
}
