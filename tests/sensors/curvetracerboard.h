#pragma once
// The 8065 curve tracer board on the far end of a pseudo-terminal. Each
// "#" starts a sweep: a "strt" frame, one frame per point of the curve the
// test sets (in the order it sets), and a "stop" frame. Frames read
// "!", three characters the window ignores, "10", then "strt", "stop" or
// the point: number (3 digits), current-sense mV and voltage mV (5 digits
// each), CR.

#include "support/boardsim.h"

#include <QList>

class CurveTracerBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit CurveTracerBoard(PtyPair& pty) : BoardSimulator(pty) { setLineEnd("#"); }

    struct Point {
        int number;
        int senseMillivolts;
        int millivolts;
    };
    // The points of the next sweeps, in the order they are sent.
    QList<Point> curve;
    bool sendStart = true;
    bool sendStop = true;

    static QString marker(const char* word);
    static QString pointFrame(int number, int senseMillivolts, int millivolts);
    QStringList sweepReplies() const;

protected:
    QStringList answer(const QString& line) override;
};
