#pragma once
// The linear stage on the far end of a pseudo-terminal, a timed motion
// model. Commands end with CR. "$0010RRLL" jogs right at byte RR or left at
// byte LL (the other one 0), moving byte x countsPerByte counts (at least
// one) every 5 ms tick;
// "$0011" stops; "$0020" answers "!0020PPPP" with the position;
// "$0030PPPPSS" moves to PPPP at byte SS and answers "!0030PPPP" on
// arrival. The position stays within 0 .. 65535.

#include "support/boardsim.h"

#include <QTimer>

class StageBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit StageBoard(PtyPair& pty);

    int position = 0;
    // Counts moved per tick for each unit of the speed byte.
    double countsPerByte = 1;
    // Moves that ended at their target.
    int arrivals = 0;
    bool moving() const { return m_tick.isActive(); }

protected:
    QStringList answer(const QString& line) override;

private:
    void step();
    QTimer m_tick;
    int m_rate = 0;     // signed counts per tick
    int m_target = -1;  // -1 while jogging
};
