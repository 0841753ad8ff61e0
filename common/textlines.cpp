#include "textlines.h"

#include "files.h"

#include <QFile>

QStringList splitTextLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines += QString::fromLatin1(bytes.constData() + start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines += QString::fromLatin1(bytes.constData() + start, n - start);
    return lines;
}

TextLines readTextLines(const QString& path, qint64 maxBytes)
{
    TextLines out;
    if (!isregularfile(path)) {
        out.status = TextLines::Missing;
        return out;
    }
    QFile f;
    if (!openregular(path, f)) {
        out.status = TextLines::Unreadable;
        return out;
    }
    const qint64 cap = qMax<qint64>(maxBytes, 0);
    // One byte past the cap tells an over-long file from one that just fits,
    // whatever size the file claims (it may grow while we read).
    // Asked for no more than the file holds, so a small file never costs a
    // buffer of the cap's size.
    QByteArray bytes = f.read(qMin(cap + 1, qMax<qint64>(f.size(), 0) + 1));
    if (f.error() != QFileDevice::NoError) {
        out.status = TextLines::Unreadable;
        return out;
    }
    out.status = TextLines::Ok;
    if (bytes.size() > cap) {
        bytes.truncate(cap);
        out.status = TextLines::TooLarge;
    }
    out.lines = splitTextLines(bytes);
    return out;
}
