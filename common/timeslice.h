#pragma once
// Long loops in the GUI thread (searches, conversions) work in short slices
// and serve the event loop between them: repaints, clicks on Stop and the
// close box all get through, at no measurable cost to the loop itself.

#include <QElapsedTimer>

class TimeSlicer {
public:
    explicit TimeSlicer(qint64 sliceMs = defaultSliceMs());

    // The slice of the program's long work: 15 ms, responsive at no
    // measurable cost to the work. 0 serves the loop after every step, so a
    // test can act between any two steps, however fast the machine runs.
    static qint64 defaultSliceMs();
    static void setDefaultSliceMs(qint64 ms);

    // Call after each step of the loop. When a slice has passed it serves
    // the event loop. False when the loop must end now: the window whose
    // handler runs was closed, or the program is quitting. Nothing of the
    // window may be touched after false.
    bool yield();

    // Serves the event loop at once (after a status text was set, say),
    // with the same answer as yield().
    bool serve();

    // True when the next yield() will serve the event loop: the moment to
    // bring a progress display up to date.
    bool due() const { return m_clock.elapsed() >= m_sliceMs; }

private:
    QElapsedTimer m_clock;
    qint64 m_sliceMs;
};
