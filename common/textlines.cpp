#include "textlines.h"

#include "files.h"
#include "owntext.h"

#include <QFile>

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines += text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines += text.mid(start);
    return lines;
}

QStringList splitTextLines(const QByteArray& bytes)
{
    return splitLines(decodeOwnText(bytes));
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
    out.lines = splitLines(decodeOwnText(bytes, &out.utf8));
    return out;
}

QString toolargetext(const QString& path, qint64 cap)
{
    QString size;
    if (cap >= (1 << 20) && cap % (1 << 20) == 0)
        size = QString::number(cap >> 20) + QStringLiteral(" MiB");
    else if (cap >= 1024 && cap % 1024 == 0)
        size = QString::number(cap >> 10) + QStringLiteral(" KiB");
    else
        size = QString::number(cap) + QStringLiteral(" bytes");
    return path + QStringLiteral(" is larger than ") + size
        + QStringLiteral(", the most this file may be. None of it was read.");
}
