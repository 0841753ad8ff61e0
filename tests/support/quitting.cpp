#include "quitting.h"

#include "app/a_main.h"
#include "common/pacing.h"

#include <QCoreApplication>
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
