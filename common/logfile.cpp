#include "logfile.h"

#include "files.h"
#include "owntext.h"

#include <QFile>
#include <QFileInfo>

bool appendLog(const QString& path, const QString& header, const QString& line)
{
    if (path.isEmpty())
        return false;
    // A log is one byte per character from its first line on; a line that
    // cannot be written so is refused whole rather than written with "?".
    if (firstUnfitChar(header) >= 0 || firstUnfitChar(line) >= 0)
        return false;
    const QFileInfo info(path);
    const bool fresh = !info.exists() && !info.isSymLink();
    // Opening a FIFO for writing would wait for a reader; a device is no log.
    if (!fresh && !isregularfile(path))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray out;
    if (fresh && !header.isEmpty())
        out += header.toLatin1() + "\r\n";
    out += line.toLatin1() + "\r\n";
    const bool ok = f.write(out) == out.size() && f.flush();
    f.close();
    return ok && f.error() == QFileDevice::NoError;
}

LogSequence::Result LogSequence::append(const QString& path, const QString& header, const QString& line)
{
    if (appendLog(path, header, line)) {
        m_failing = false;
        return Written;
    }
    const bool again = m_failing && m_failedPath == path;
    m_failing = true;
    m_failedPath = path;
    return again ? FailedAgain : Failed;
}
