#include "textlines.h"
#include "files.h"

#include <QFile>

namespace {
QStringList splitTextLines(const QByteArray& bytes)
{
    QStringList lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines << QString::fromLatin1(bytes.constData() + start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << QString::fromLatin1(bytes.constData() + start, n - start);
    return lines;
}
} // namespace

TextLines readTextLines(const QString& path, qint64 maxBytes)
{
    TextLines r;
    if (!isregularfile(path))
        return r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.status = TextLines::Unreadable;
        return r;
    }
    if (f.size() > maxBytes) {
        r.status = TextLines::TooLarge;
        return r;
    }
    // Read one byte past the cap so a file that grew meanwhile is noticed.
    const QByteArray bytes = f.read(maxBytes + 1);
    if (f.error() != QFileDevice::NoError) {
        r.status = TextLines::Unreadable;
        return r;
    }
    if (bytes.size() > maxBytes) {
        r.status = TextLines::TooLarge;
        return r;
    }
    r.lines = splitTextLines(bytes);
    r.status = TextLines::Ok;
    return r;
}
