#include "boardsim.h"
#include "ptypair.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <unistd.h>

BoardSimulator::BoardSimulator(PtyPair& pty, QObject* parent) : QObject(parent), m_fd(pty.boardFd()), m_pty(pty)
{
    if (m_fd < 0)
        return;
    m_readN = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_readN, &QSocketNotifier::activated, this, &BoardSimulator::onReadable);
    m_writeN = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_writeN->setEnabled(false);
    connect(m_writeN, &QSocketNotifier::activated, this, &BoardSimulator::onWritable);
}

BoardSimulator::~BoardSimulator() = default;

QString BoardSimulator::boardReply(const QString& code, const QStringList& fields)
{
    QString r = QStringLiteral("!") + code;
    for (const QString& f : fields)
        r += u',' + f;
    return r + QChar(13);
}

QByteArray BoardSimulator::replyFlood(const QByteArray& code, int from, int count)
{
    QByteArray bytes;
    for (int k = from; k < from + count; ++k)
        bytes += "\x01\xfe#!" + code + QByteArray::number(k).rightJustified(6, '0') + '\r';
    return bytes;
}

void BoardSimulator::script(const QString& key, const QStringList& replies)
{
    m_script[key.toLower()] = replies;
}

void BoardSimulator::clearRecord()
{
    m_commands.clear();
    m_received.clear();
}

QStringList BoardSimulator::answer(const QString& line)
{
    if (line.startsWith(u'$')) {
        auto it = m_script.constFind(line.mid(1, 4).toLower());
        if (it != m_script.constEnd())
            return *it;
    }
    return m_script.value(line.toLower());
}

void BoardSimulator::vanish()
{
    delete m_readN;
    delete m_writeN;
    m_readN = m_writeN = nullptr;
    m_out.clear();
    m_outPos = 0;
    m_pty.closeBoard();
    m_fd = -1;
}

void BoardSimulator::onReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            m_received.append(buf, n);
            m_in.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            m_readN->setEnabled(false); // nobody on the line: stop listening rather than spin
        break;
    }
    qsizetype end;
    while ((end = m_in.indexOf(m_lineEnd)) >= 0) {
        const QString line = QString::fromLatin1(m_in.left(end));
        m_in.remove(0, end + m_lineEnd.size());
        m_commands << line;
        emit commandReceived(line);
        if (m_fd < 0)
            return;
        if (!m_silent)
            deliver(answer(line));
    }
}

void BoardSimulator::deliver(const QStringList& replies)
{
    if (replies.isEmpty())
        return;
    QList<QByteArray> writes;
    if (m_merge) {
        QByteArray all;
        for (const QString& r : replies)
            all += m_garbage + r.toLatin1();
        writes << all;
    } else {
        for (const QString& r : replies)
            writes << m_garbage + r.toLatin1();
    }
    QList<QByteArray> pieces;
    for (const QByteArray& w : writes) {
        if (m_split <= 0) {
            pieces << w;
            continue;
        }
        for (qsizetype i = 0; i < w.size(); i += m_split)
            pieces << w.mid(i, m_split);
    }
    // Pieces go out a few milliseconds apart, so the window reads them
    // separately.
    const int gap = (m_split > 0 || !m_merge) ? 5 : 0;
    QPointer<BoardSimulator> self(this);
    for (int i = 0; i < pieces.size(); ++i) {
        const int at = m_delay + i * gap;
        if (at == 0) {
            send(pieces[i]);
            continue;
        }
        QTimer::singleShot(at, this, [self, piece = pieces[i]] {
            if (self)
                self->send(piece);
        });
    }
}

void BoardSimulator::send(const QByteArray& bytes)
{
    if (m_fd < 0)
        return;
    m_out += bytes;
    onWritable();
}

void BoardSimulator::onWritable()
{
    while (m_outPos < m_out.size() && m_fd >= 0) {
        const ssize_t n = ::write(m_fd, m_out.constData() + m_outPos, size_t(m_out.size() - m_outPos));
        if (n > 0) {
            m_outPos += n;
            m_sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // the line is full: go on when it can take more
    }
    // Sent bytes leave the queue in one go, not per write (a flood of
    // megabytes would otherwise be copied again after every few kilobytes).
    if (m_outPos == m_out.size() || m_outPos > m_out.size() / 2) {
        m_out.remove(0, m_outPos);
        m_outPos = 0;
    }
    if (m_writeN)
        m_writeN->setEnabled(!m_out.isEmpty());
}
