#pragma once
// The 7547 dual DAC board on the far end of a pseudo-terminal. "$0011"
// with two four-hex-digit codes sets the outputs (recorded in writes());
// "$0010" and "$0011" are answered with "!0010" / "!0011" and the two
// outputs as read back by the board's 10-bit converter, each as five
// digits of volts x 10000. Other commands get no answer. The line
// conditions of BoardSimulator (silent, split, merge, garbage, vanish)
// apply to the answers.

#include "support/boardsim.h"

#include <QList>
#include <QPair>

class DacBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit DacBoard(PtyPair& pty);

    // The output codes, 12 bits with 5 V full scale.
    int codes[2] = {0, 0};
    QList<QPair<int, int>> writes;

    // What the board reads back for a code: five digits.
    static QString reading(int code);

protected:
    QStringList answer(const QString& line) override;
};
