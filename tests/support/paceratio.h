#pragma once
// The cost of some work on the GUI thread, judged so that a busy machine
// cannot decide it: a short log beside it, fed in turns with the work,
// gauges the machine's pace at each moment.
//
//   PaceGauge gauge(window.form(), log->font());
//   const double first = gauge.ratio([&](int n) { ... add n lines ... });
//   ... hours of lines ...
//   const double last = gauge.ratio([&](int n) { ... add n lines ... });
//   QVERIFY(last / first < 1.5);   // the cost per line stayed flat
//
// Each turn of the work is taken against a turn of the gauge's, right
// beside it, and the median of those ratios counts. A neighbour that
// slows the machine (memory, caches, a shared core) slows both alike,
// while work whose cost grows with what it holds still shows in full.

#include "common/newestfirstlog.h"

#include <functional>

class PaceGauge {
public:
    // The gauge's log is shown on parent (nullptr: a window of its own),
    // in font, so that it is painted as the measured log is.
    PaceGauge(QWidget* parent, const QFont& font);

    // span lines of work fed in turns of turn lines; work(n) does n lines'
    // worth and serves the event loop as the program would. The median of
    // the turns' cost against the gauge's.
    double ratio(const std::function<void(int n)>& work, int span = 1000, int turn = 100);

    // Processor time of the last ratio's work and of the gauge beside it,
    // in milliseconds, for reports.
    double workMs() const { return m_workMs; }
    double gaugeMs() const { return m_gaugeMs; }

private:
    double gaugeTurn(int n);

    NewestFirstLog m_log;
    double m_workMs = 0;
    double m_gaugeMs = 0;
};
