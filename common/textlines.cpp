#include "textlines.h"

#include "files.h"

#include <QFile>

#include <utility>

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

TextLineReader::TextLineReader(const QString& path, qint64 maxBytes, qsizetype blockBytes)
    : m_cap(qMax<qint64>(maxBytes, 0)), m_blockBytes(qMax<qsizetype>(blockBytes, 1))
{
    if (!isregularfile(path)) {
        m_status = TextLines::Missing;
        m_end = true;
        return;
    }
    if (!openregular(path, m_file)) {
        m_status = TextLines::Unreadable;
        m_end = true;
        return;
    }
    m_status = m_file.size() > m_cap ? TextLines::TooLarge : TextLines::Ok;
    m_end = m_status != TextLines::Ok;
}

bool TextLineReader::fill()
{
    // One byte past the cap tells a file that grew beyond it while read.
    const qint64 room = m_cap + 1 - m_read;
    QByteArray more = m_file.read(qMin<qint64>(m_blockBytes, room));
    if (m_file.error() != QFileDevice::NoError) {
        m_status = TextLines::Unreadable;
        m_end = true;
        return false;
    }
    m_read += more.size();
    if (m_read > m_cap) {
        m_status = TextLines::TooLarge;
        m_end = true;
        return false;
    }
    if (more.isEmpty()) {
        m_end = true;
        return false;
    }
    m_block.remove(0, m_at);
    m_at = 0;
    if (std::exchange(m_afterCr, false) && m_block.isEmpty() && more.startsWith('\n'))
        more.remove(0, 1);
    m_block += more;
    return true;
}

bool TextLineReader::next(QString& line)
{
    if (m_status != TextLines::Ok)
        return false;
    // Where the search for the line end goes on: a long line spread over
    // many blocks is scanned once, not again with every block.
    qsizetype from = m_at;
    for (;;) {
        const char* data = m_block.constData();
        const qsizetype n = m_block.size();
        for (qsizetype i = from; i < n; ++i) {
            const char c = data[i];
            if (c != '\r' && c != '\n')
                continue;
            line = QString::fromLatin1(data + m_at, i - m_at);
            if (c == '\r') {
                if (i + 1 < n)
                    i += data[i + 1] == '\n';
                else
                    m_afterCr = true;
            }
            m_at = i + 1;
            return true;
        }
        const qsizetype kept = n - m_at;
        if (!m_end && fill()) {
            from = kept;
            continue;
        }
        if (m_status != TextLines::Ok || m_at >= m_block.size())
            return false;
        line = QString::fromLatin1(m_block.constData() + m_at, m_block.size() - m_at);
        m_at = m_block.size();
        return true;
    }
}
