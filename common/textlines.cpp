#include "textlines.h"

#include "files.h"
#include "owntext.h"
#include "timeslice.h"

#include <QFile>

#include <utility>

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

TextLines readTextLines(const QString& path, qint64 maxBytes, TextLines::Oversized oversized)
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
    if (oversized == TextLines::NoLines && f.size() > cap) {
        out.status = TextLines::TooLarge;
        return out;
    }
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
        out.status = TextLines::TooLarge;
        if (oversized == TextLines::NoLines)
            return out; // grew past the cap since its size was taken
        // Back to the last line end: a line cut at the cap is no line of
        // the file, and a character cut in two would make the whole part
        // read as Latin-1.
        const char* data = bytes.constData();
        qsizetype keep = cap;
        while (keep > 0 && data[keep - 1] != '\n' && data[keep - 1] != '\r')
            --keep;
        bytes.truncate(keep);
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

TextLineReader::TextLineReader(const QString& path, qint64 maxBytes, qsizetype blockBytes)
    : m_cap(qMax<qint64>(maxBytes, 0)), m_blockBytes(qMax<qsizetype>(blockBytes, 1))
{
    if (!isregularfile(path))
        fail(TextLines::Missing);
    else if (!openregular(path, m_file))
        fail(TextLines::Unreadable);
    else if (m_file.size() > m_cap)
        fail(TextLines::TooLarge);
    else
        m_status = TextLines::Ok;
}

void TextLineReader::fail(TextLines::Status status)
{
    m_status = status;
    m_end = true;
}

bool TextLineReader::prepare(TimeSlicer& slicer, const std::function<void(const QByteArray&)>& eachBlock)
{
    return decide(&slicer, eachBlock);
}

bool TextLineReader::decide(TimeSlicer* slicer, const std::function<void(const QByteArray&)>& eachBlock)
{
    if (m_decided || m_status != TextLines::Ok)
        return true;
    m_decided = true;
    // A failure is no abort: status() tells it, and next() gives no line.
    const auto failed = [this](TextLines::Status status) {
        fail(status);
        return true;
    };
    // From the start again after an aborted pass.
    const QByteArray head = m_file.seek(0) ? m_file.read(3) : QByteArray();
    const qint64 skip = ownTextBomSize(head);
    if (m_file.error() != QFileDevice::NoError || !m_file.seek(skip))
        return failed(TextLines::Unreadable);
    // Every byte is looked at before the first line is given: one that is
    // no UTF-8 late in the file makes all of it Latin-1.
    OwnTextForm form;
    qint64 seen = skip;
    if (eachBlock && skip > 0)
        eachBlock(head.first(skip));
    while (eachBlock || !form.settled()) {
        const QByteArray more = m_file.read(qMin<qint64>(m_blockBytes, m_cap + 1 - seen));
        if (m_file.error() != QFileDevice::NoError)
            return failed(TextLines::Unreadable);
        if (more.isEmpty())
            break;
        if ((seen += more.size()) > m_cap)
            return failed(TextLines::TooLarge);
        if (eachBlock)
            eachBlock(more);
        if (!form.settled())
            form.add(more);
        if (slicer && !slicer->yield()) {
            m_decided = false;
            return false;
        }
    }
    if (!m_file.seek(skip))
        return failed(TextLines::Unreadable);
    m_read = skip;
    m_utf8 = form.utf8();
    m_mark = head.first(skip);
    return true;
}

bool TextLineReader::fill()
{
    // One byte past the cap tells a file that grew beyond it while read.
    const qint64 room = m_cap + 1 - m_read;
    QByteArray more = m_file.read(qMin<qint64>(m_blockBytes, room));
    if (m_file.error() != QFileDevice::NoError) {
        fail(TextLines::Unreadable);
        return false;
    }
    m_read += more.size();
    if (m_read > m_cap) {
        fail(TextLines::TooLarge);
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
    if (!m_decided)
        decide(nullptr);
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
            line = decodeOwnTextPiece(QByteArrayView(data + m_at, i - m_at), m_utf8);
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
        line = decodeOwnTextPiece(QByteArrayView(m_block).sliced(m_at), m_utf8);
        m_at = m_block.size();
        return true;
    }
}
