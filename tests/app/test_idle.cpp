// With every window open and nothing to do (no port, no device, no mode
// running), the program sleeps: nothing wakes the event loop but the timers
// a window needs while idle and the test runner's watchdog. What is judged
// is what wakes the loop, counted, not the share of a core it costs: a
// redraw timer that never rests costs little on a quiet machine and shows
// just the same.

#include "support/modal.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QMap>
#include <QScopeGuard>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A timer as the report names it: the window whose form (or instance)
// holds it, and its own name.
struct TimerName {
    QString window; // empty outside every window
    QString name;
    QString text() const { return window.isEmpty() ? name : window + QLatin1Char('.') + name; }
};

// Which window each object belongs to.
class Owners {
public:
    Owners()
    {
        for (ToolWindow* w : FormSlots::all()) {
            m_owner.insert(w, w->className());
            if (QWidget* form = w->formIfLoaded())
                m_owner.insert(form, w->className());
        }
    }
    TimerName name(QObject* o) const
    {
        QString window;
        for (QObject* p = o; p && window.isEmpty(); p = p->parent())
            window = m_owner.value(p);
        const QString own = o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
        return {window, own};
    }

private:
    QHash<QObject*, QString> m_owner;
};

int intervalOf(QObject* o, int timerId)
{
    for (const QAbstractEventDispatcher::TimerInfo& t : QAbstractEventDispatcher::instance()->registeredTimers(o))
        if (t.timerId == timerId)
            return t.interval;
    return -1;
}

// The timers allowed to run while the program idles.
const QString kWatchdog = QStringLiteral("testRunnerWatchdog");
bool isRtcClock(const TimerName& t)
{
    // The real-time-clock tester shows the PC's second as it changes.
    return t.window == QLatin1String("Ctrl_8990_pcf8563") && t.name == QLatin1String("Timer2");
}

void collect(QObject* o, QSet<QObject*>& seen)
{
    if (!o || seen.contains(o))
        return;
    seen.insert(o);
    for (QObject* c : o->children())
        collect(c, seen);
}
// The timers registered for every object reachable from the application,
// its top-level windows and the window instances, but the clock allowed.
QStringList registeredTimers()
{
    QSet<QObject*> all;
    collect(qApp, all);
    for (QWidget* w : QApplication::topLevelWidgets())
        collect(w, all);
    for (ToolWindow* w : FormSlots::all())
        collect(w, all);
    const Owners owners;
    QStringList out;
    for (QObject* o : all) {
        const TimerName n = owners.name(o);
        if (isRtcClock(n))
            continue;
        for (const QAbstractEventDispatcher::TimerInfo& t : QAbstractEventDispatcher::instance()->registeredTimers(o))
            out << QStringLiteral("%1 (%2 ms)").arg(n.text()).arg(t.interval);
    }
    out.sort();
    return out;
}

// Counts, while it lives, the timer events the GUI thread delivers (to
// QTimers, to objects' own startTimer timers, zero-interval ones alike) by
// the timer that sent them, and the times the event loop woke.
class WakeCounter : public QObject {
public:
    struct Ticks {
        int count = 0;
        QList<int> intervals;
    };

    WakeCounter()
    {
        qApp->installEventFilter(this);
        m_awake = connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this,
                          [this] { ++wakes; });
    }
    ~WakeCounter() override { stop(); }
    // Keeps the counts so far.
    void stop()
    {
        qApp->removeEventFilter(this);
        disconnect(m_awake);
    }

    void ignore(QObject* o) { m_ignored = o; }

    QMap<QString, Ticks> ticks;
    QMap<QString, TimerName> names;
    int timerEvents = 0;
    int wakes = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::Timer || o == m_ignored)
            return false;
        ++timerEvents;
        const TimerName n = m_owners.name(o);
        Ticks& t = ticks[n.text()];
        names.insert(n.text(), n);
        ++t.count;
        const int interval = intervalOf(o, static_cast<QTimerEvent*>(e)->timerId());
        if (!t.intervals.contains(interval))
            t.intervals << interval;
        return false;
    }

private:
    Owners m_owners;
    QObject* m_ignored = nullptr;
    QMetaObject::Connection m_awake;
};

} // namespace

class TestIdle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyWindowOpenAndIdle()
    {
        // Windows that greet with an alert (a missing file) are answered.
        auto answer = std::make_unique<ModalSweeper>();
        std::vector<ToolWindow*> windows;
        // Closed again however the test ends, so the tests after it start
        // with none open.
        const auto closeAll = qScopeGuard([&] {
            for (ToolWindow* w : windows)
                w->unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        for (const WindowEntry& e : windowTable()) {
            ToolWindow& w = e.instance();
            A_main::popupWindow(w);
            windows.push_back(&w);
        }
        for (ToolWindow* w : windows)
            QVERIFY2(w->isLoaded(), qPrintable(w->className()));
        answer.reset();

        // What opening set off (first paints, one-off start-up ticks) ends:
        // then no timer is left but those allowed.
        QStringList left;
        QTRY_VERIFY2_WITH_TIMEOUT((left = registeredTimers()).isEmpty(),
                                  qPrintable(QStringLiteral("timers still running after start-up: ")
                                             + left.join(QStringLiteral(", "))),
                                  20000);

        // Some seconds in the event loop itself, which sleeps unless
        // something wakes it.
        auto counter = std::make_unique<WakeCounter>();
        QEventLoop idle;
        QTimer end;
        end.setSingleShot(true);
        counter->ignore(&end);
        connect(&end, &QTimer::timeout, &idle, &QEventLoop::quit);
        QElapsedTimer wall;
        wall.start();
        end.start(5000);
        idle.exec();
        const double seconds = wall.elapsed() / 1000.0;
        counter->stop();
        const WakeCounter* c = counter.get();

        QStringList seen, wrong;
        int allowedTicks = 0;
        for (auto it = c->ticks.cbegin(); it != c->ticks.cend(); ++it) {
            QStringList ms;
            for (int i : it->intervals)
                ms << QString::number(i);
            const QString line = QStringLiteral("%1 x%2 (%3 ms)").arg(it.key()).arg(it->count).arg(ms.join('/'));
            seen << line;
            const TimerName n = c->names.value(it.key());
            // A clock that follows the second ticks once as each second
            // begins, late on a busy machine but never more often.
            const bool allowed = n.window.isEmpty() ? n.name == kWatchdog
                                                    : isRtcClock(n) && it->count <= int(std::ceil(seconds)) + 2;
            if (allowed)
                allowedTicks += it->count;
            else
                wrong << line;
        }
        qInfo("idle for %.1f s: %d wakes; timers: %s", seconds, c->wakes, qPrintable(seen.join(QStringLiteral(", "))));
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("timers that woke the idle program: ") + wrong.join(", ")));
        // Wakes without a timer event (posted work that keeps posting
        // itself): no more than a few beside the timers' own.
        QVERIFY2(c->wakes <= 2 * (allowedTicks + 1) + 5,
                 qPrintable(QStringLiteral("%1 wakes for %2 timer events").arg(c->wakes).arg(c->timerEvents)));
    }
};

VOLTARIS_TEST(TestIdle);
#include "test_idle.moc"
