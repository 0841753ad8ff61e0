#include "ptypair.h"

#include <QByteArray>
#include <QStringList>

#include <fcntl.h>
#include <pty.h>
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
}

void PtyPair::closeBoard()
{
    if (m_board >= 0)
        ::close(m_board);
    m_board = -1;
}
