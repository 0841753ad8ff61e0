#include "ptypair.h"

#include "common/portcontroller.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QStringList>
#include <QThread>

#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace {
void setPortsList(const QStringList& list)
{
    if (list.isEmpty())
        qunsetenv("VOLTARIS_PORTS");
    else
        qputenv("VOLTARIS_PORTS", list.join(u':').toLocal8Bit());
}
} // namespace

PtyPair::PtyPair()
{
    char name[256] = {};
    struct termios raw {};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    int board = -1, window = -1;
    if (openpty(&board, &window, name, &raw, nullptr) != 0)
        return;
    fcntl(board, F_SETFL, fcntl(board, F_GETFL) | O_NONBLOCK);
    fcntl(board, F_SETFD, FD_CLOEXEC);
    fcntl(window, F_SETFD, FD_CLOEXEC);
    m_board = board;
    m_window = window;
    m_path = QString::fromLocal8Bit(name);
    // A pseudo-terminal's number is handed out again as soon as its last
    // user closes it, which can be a moment before that program removes its
    // serial lock file; the port list would count the new pair as held.
    QDeadlineTimer leftoverLock(10000);
    while (PortController::lockedByOtherProgram(m_path) && !leftoverLock.hasExpired())
        QThread::msleep(10);
    m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0)
        inotify_add_watch(m_watch, name, IN_OPEN);
    QStringList list = qEnvironmentVariable("VOLTARIS_PORTS").split(u':', Qt::SkipEmptyParts);
    list << m_path;
    setPortsList(list);
}

PtyPair::~PtyPair()
{
    QStringList list = qEnvironmentVariable("VOLTARIS_PORTS").split(u':', Qt::SkipEmptyParts);
    list.removeAll(m_path);
    setPortsList(list);
    closeBoard();
    if (m_window >= 0)
        ::close(m_window);
    if (m_watch >= 0)
        ::close(m_watch);
}

int PtyPair::opens()
{
    alignas(inotify_event) char buf[4096];
    ssize_t n;
    while (m_watch >= 0 && (n = ::read(m_watch, buf, sizeof buf)) > 0) {
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            if (e->mask & IN_OPEN)
                ++m_opens;
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
    return m_opens;
}

void PtyPair::closeBoard()
{
    if (m_board >= 0)
        ::close(m_board);
    m_board = -1;
}
