#include "textlines.h"
#include "files.h"

#include <QFile>

TextLines readTextLines(const QString& path, qint64 maxBytes)
{
    TextLines out;
    if (!isregularfile(path))
        return out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.status = TextLines::Unreadable;
        return out;
    }
    if (f.size() > maxBytes) {
        out.status = TextLines::TooLarge;
        return out;
    }
    const QByteArray bytes = f.read(maxBytes + 1);
    if (f.error() != QFileDevice::NoError) {
        out.status = TextLines::Unreadable;
        return out;
    }
    if (bytes.size() > maxBytes) {
        out.status = TextLines::TooLarge;
        return out;
    }
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        out.lines << QString::fromLatin1(bytes.constData() + start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        out.lines << QString::fromLatin1(bytes.constData() + start, n - start);
    out.status = TextLines::Ok;
    return out;
}
