#include "boardfile.h"

#include "common/alert.h"
#include "common/files.h"
#include "common/owntext.h"
#include "common/textlines.h"

#include <QFile>

bool readBoardFile(const QString& path, QStringList& lines)
{
    TextLines got = readTextLines(path, boardFileMaxBytes);
    if (got.ok()) {
        lines = std::move(got.lines);
        return true;
    }
    const QString title = QStringLiteral("File error");
    if (got.status == TextLines::TooLarge)
        alertbox(title, path + QStringLiteral(" is too large to read."), 0);
    else
        alertbox(title, QStringLiteral("Cannot read ") + path, 0);
    return false;
}

bool writeBoardFile(const QString& path, const QStringList& lines)
{
    // Placement machines read one byte per character: text they cannot
    // hold is refused before the old file is touched.
    if (!singlebytelines(path, lines))
        return false;
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    // A folder, device or pipe in the file's place is never opened.
    bool ok = !QFile::exists(path) || isregularfile(path);
    if (ok) {
        QFile f(path);
        ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
        ok = f.flush() && ok;
    }
    if (!ok)
        alertbox(QStringLiteral("File error"), QStringLiteral("Cannot write ") + path, 0);
    return ok;
}
