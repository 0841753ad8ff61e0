#include "boardfile.h"

#include "common/alert.h"
#include "common/files.h"
#include "common/owntext.h"
#include "common/textlines.h"
#include "common/timeslice.h"
#include "common/verror.h"

bool readBoardFile(const QString& path, QStringList& lines, TimeSlicer& slicer)
{
    TextLineReader in(path, boardFileMaxBytes);
    if (!in.prepare(slicer))
        return false;
    QStringList got;
    QString line;
    while (in.next(line)) {
        got << line;
        if (!slicer.yield())
            return false;
    }
    if (in.status() == TextLines::Ok) {
        lines = std::move(got);
        return true;
    }
    const QString title = QStringLiteral("File error");
    if (in.status() == TextLines::TooLarge)
        alertbox(title, toolargetext(path, boardFileMaxBytes), 0);
    else
        alertbox(title, QStringLiteral("Cannot read ") + path, 0);
    return false;
}

bool writeBoardFile(const QString& path, const QStringList& lines, TimeSlicer& slicer)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        // Placement machines read one byte per character: text they cannot
        // hold is refused before the old file is touched.
        if (firstUnfitChar(line) >= 0)
            return singlebytelines(path, lines); // names the line, false
        bytes += line.toLatin1();
        bytes += "\r\n";
        if (!slicer.yield())
            return false;
    }
    try {
        return writefileServing(path, bytes, slicer);
    } catch (const VError& e) {
        // Says why: a folder, device or pipe in the file's place (never
        // opened), or a newer save of the file that won.
        alertbox(QStringLiteral("File error"), e.description(), 0);
        return false;
    }
}
