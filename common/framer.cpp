#include "framer.h"
#include "alert.h"

namespace {

QString frameOne(const QString& startmark, const QString& endmark, QString& buffer)
{
    if (endmark.isEmpty()) {
        alertbox(QStringLiteral("Internal error"),
                 QStringLiteral("Response framer function called with null end character!"), 0);
        return QString();
    }
    if (buffer.isEmpty())
        return QString();

    if (startmark.isEmpty()) {
        const qsizetype p = buffer.indexOf(endmark);
        if (p < 0)
            return QString();
        QString frame = buffer.left(p);
        buffer.remove(0, p + endmark.size());
        return frame;
    }

    qsizetype p = buffer.indexOf(endmark);
    for (;;) {
        if (p < 0) {
            const qsizetype s = buffer.lastIndexOf(startmark);
            if (s > 0)
                buffer.remove(0, s);
            return QString();
        }
        // The last start mark lying wholly before the end mark.
        const qsizetype s = p >= startmark.size() ? buffer.lastIndexOf(startmark, p - startmark.size()) : -1;
        if (s >= 0) {
            const qsizetype from = s + startmark.size();
            QString frame = buffer.mid(from, p - from);
            buffer.remove(0, p + endmark.size());
            if (!buffer.isEmpty() && !buffer.contains(startmark))
                buffer.clear();
            return frame;
        }
        // A line without a start: garbage.
        buffer.remove(0, p + endmark.size());
        p = buffer.indexOf(endmark);
        if (p < 0)
            return QString();
    }
}

} // namespace

QString framer(const QString& startmark, const QString& endmark, QString& buffer)
{
    QString frame = frameOne(startmark, endmark, buffer);
    if (!endmark.isEmpty())
        capReceiveBuffer(endmark, buffer);
    return frame;
}

void capReceiveBuffer(const QString& endmark, QString& buffer)
{
    if (buffer.size() > receiveBufferLimit && !framerHasReply(endmark, buffer))
        buffer.remove(0, buffer.size() - receiveBufferLimit);
}

QString bitframer(const int& mask, const int& length, QString& buffer)
{
    qsizetype i = 0;
    const qsizetype n = buffer.size();
    while (i < n && (buffer.at(i).unicode() & mask) == 0)
        ++i;
    if (i == n || length < 0 || i + length >= n)
        return QString();
    QString record = buffer.mid(i, length + 1);
    buffer.remove(0, i + length + 1);
    return record;
}
