// With every window open and nothing to do (no port, no device, no mode
// running), the program sleeps: no timer ticks that would change nothing.

#include "support/cputime.h"
#include "support/modal.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

class TestIdle : public QObject {
    Q_OBJECT

    // The timers of the open windows that are running, by window.
    static QStringList runningTimers(const std::vector<ToolWindow*>& windows)
    {
        QStringList out;
        for (ToolWindow* w : windows)
            if (QWidget* form = w->formIfLoaded())
                for (QTimer* t : form->findChildren<QTimer*>())
                    if (t->isActive())
                        out << QStringLiteral("%1.%2 (%3 ms)").arg(w->className(), t->objectName()).arg(t->interval());
        return out;
    }

private Q_SLOTS:
    void everyWindowOpenAndIdle()
    {
        // Windows that greet with an alert (a missing file) are answered.
        auto answer = std::make_unique<ModalSweeper>();
        std::vector<ToolWindow*> windows;
        for (const WindowEntry& e : windowTable()) {
            ToolWindow& w = e.instance();
            A_main::popupWindow(w);
            windows.push_back(&w);
        }
        for (ToolWindow* w : windows)
            QVERIFY2(w->isLoaded(), qPrintable(w->className()));
        // What opening set off (first paints, one-off start-up ticks) ends.
        QTest::qWait(1500);
        answer.reset();

        // Ten seconds in the event loop itself, which sleeps unless
        // something wakes it.
        QEventLoop idle;
        QTimer::singleShot(10000, &idle, &QEventLoop::quit);
        QElapsedTimer wall;
        const double cpu = cpuSeconds();
        wall.start();
        idle.exec();
        const double share = (cpuSeconds() - cpu) / (double(wall.nsecsElapsed()) / 1e9);
        const QStringList running = runningTimers(windows);

        for (ToolWindow* w : windows)
            w->unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qInfo("idle: %.2f%% of a core over %.1f s with %d windows open", share * 100, wall.elapsed() / 1000.0,
              int(windows.size()));
        QVERIFY2(share < 0.01 * kSanitizerSlowdown, qPrintable(QStringLiteral("%1% of a core; running timers: %2")
                                              .arg(share * 100, 0, 'f', 2)
                                              .arg(running.join(QStringLiteral(", ")))));
    }
};

VOLTARIS_TEST(TestIdle);
#include "test_idle.moc"
