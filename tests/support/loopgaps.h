#pragma once
// Watches how often the event loop is served while long work runs.
//
//   LoopGaps gaps;                 // starts watching
//   ... run the work (it serves the event loop as it goes) ...
//   gaps.stop();
//   QVERIFY(gaps.longestSliceCpuMs() < LoopGaps::sliceLimitMs());
//   QVERIFY(gaps.busySignSeen());     // after gaps.watchBusySign(form)
//
// or, where the work can be run again from its own setup:
//
//   const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
//       ... set up ...
//       gaps.restart();
//       ... run the work ...
//       gaps.stop();
//   });
//   QVERIFY(longest < LoopGaps::sliceLimitMs());
//
// A 5 ms timer ticks whenever the event loop is served. Between two ticks
// lies one slice of work: its wall-clock length (the gap a user sees) and
// the CPU time the GUI thread spent in it. The CPU time is what the work
// itself controls, so it holds far better on a busy machine than the wall
// clock does (bestOfTries covers the rest); the gap is for figures
// measured at full size.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QTimer>

#include <functional>

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
    // Passes of the event loop since restart(), each processEvents()
    // counting once however fast the work runs: a check that work serves
    // the loop between its steps at all.
    int turns() const { return m_turns; }

    // Notes whether form shows the wait cursor whenever the loop is served.
    void watchBusySign(QWidget* form) { m_form = form; }
    bool busySignSeen() const { return m_busySeen; }

    // The most CPU time a slice of work may take: 50 ms. A sanitizer build
    // runs every step several times slower, so it allows as many times
    // more; work that is not sliced at all still shows there.
    static double sliceLimitMs();

    // A machine busy with other work stretches a slice now and then (page
    // faults and memory copies slow down most); work that is not sliced
    // stretches it every time. So attempt (which sets up, restarts gaps
    // just before the work, runs it and stops gaps) runs again while its
    // longest slice is over the limit, three times at most. Gives the
    // shortest longest slice seen; none more once the test has failed.
    static double bestOfTries(const std::function<void(LoopGaps& gaps)>& attempt);

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
    int m_turns = 0;
    bool m_counting = false;
};
