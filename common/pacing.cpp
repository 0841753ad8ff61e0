#include "pacing.h"
#include "toolwindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {
bool g_quitting = false;
}

void setQuitting(bool on)
{
    g_quitting = on;
}

bool quitting()
{
    return g_quitting;
}

bool waitAborted()
{
    if (g_quitting)
        return true;
    ToolWindow* w = ToolWindow::current();
    return w && w->aborted();
}

bool waitfor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (;;) {
        if (done && done())
            return true;
        if (waitAborted())
            return false;
        const qint64 left = qint64(timeoutMs) - clock.elapsed();
        if (left <= 0)
            return false;
        // The timer only wakes the dispatcher at the deadline; any event
        // (data, clicks, the close that aborts us) wakes it sooner.
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(int(left > 60000 ? 60000 : left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void delay(const int& n)
{
    if (n == 0)
        return;
    if (n < 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    waitfor({}, n * 10);
}
