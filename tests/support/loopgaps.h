#pragma once
// Watches how often the event loop is served while long work runs.
//
//   LoopGaps gaps;                 // starts watching
//   ... run the work (it serves the event loop as it goes) ...
//   gaps.stop();
//   QVERIFY(gaps.longestSliceCpuMs() < LoopGaps::sliceLimitMs());
//   QVERIFY(gaps.busySignSeen());     // after gaps.watchBusySign(form)
//
// A 5 ms timer ticks whenever the event loop is served. Between two ticks
// lies one slice of work: its wall-clock length (the gap a user sees) and
// the CPU time the GUI thread spent in it. The CPU time is what the work
// itself controls, so it holds on a busy machine where the wall clock
// does not; the gap is for figures measured at full size.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QTimer>

class LoopGaps : public QObject {
public:
    LoopGaps();
    // Forgets what was seen so far and starts a new slice now.
    void restart();
    void stop();

    double longestGapMs() const { return m_longestGapMs; }
    double longestSliceCpuMs() const { return m_longestCpuMs; }
    // Times the event loop was served (ticks seen).
    int ticks() const { return m_ticks; }

    // Notes whether form shows the wait cursor whenever the loop is served.
    void watchBusySign(QWidget* form) { m_form = form; }
    bool busySignSeen() const { return m_busySeen; }

    // The most CPU time a slice of work may take: 50 ms. A sanitizer build
    // runs every step several times slower, so it allows as many times
    // more; work that is not sliced at all still shows there.
    static double sliceLimitMs();

    // CPU time of the calling thread, in milliseconds.
    static double threadCpuMs();

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_wall;
    double m_lastWallMs = 0;
    double m_lastCpuMs = 0;
    double m_longestGapMs = 0;
    double m_longestCpuMs = 0;
    int m_ticks = 0;
    QPointer<QWidget> m_form;
    bool m_busySeen = false;
};
