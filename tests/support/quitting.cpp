#include "quitting.h"

#include "app/a_main.h"
#include "common/pacing.h"
#include "common/toolwindow.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>

void recoverFromQuit()
{
    setQuitting(false);
    // The close asked the application to exit; let that request be taken
    // by a loop of our own rather than the test's next wait.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    mainWindow().show();
}

void closeOrQuit(ToolWindow& w, bool quit)
{
    if (quit)
        mainWindow().close();
    else if (w.subWindow())
        w.subWindow()->close();
    else if (QWidget* form = w.formIfLoaded())
        form->close();
}

bool closedAndRecovered(ToolWindow& w, bool quit, int timeoutMs)
{
    const bool closed = QTest::qWaitFor([&] { return !w.isLoaded(); }, timeoutMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (quit)
        recoverFromQuit();
    return closed;
}

EndMidway::EndMidway(ToolWindow& window, std::function<bool()> busy, bool quit)
{
    m_timer.setInterval(1);
    QObject::connect(&m_timer, &QTimer::timeout, [this, &window, busy, quit] {
        if (m_ended || !busy())
            return;
        m_ended = true;
        m_timer.stop();
        if (quit)
            setQuitting(true);
        window.unload();
    });
    m_timer.start();
}

bool EndMidway::ended()
{
    m_timer.stop();
    setQuitting(false);
    return m_ended;
}
