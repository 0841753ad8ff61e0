#pragma once
// The 9249 accelerometer board on the far end of a pseudo-terminal, a
// register model. Commands end with CR LF. "$0010RRnn" reads register RR
// ("!0010RR" and the value: the identity 0F as "00" and two digits, the
// axes 28, 2A, 2C as four digits), "$0011RRVV" writes one, "$0000" gives
// the firmware id, "$0060"/"$0061"/"$0062" the positions, offsets and
// scaled positions (three groups of four digits); the other commands are
// acknowledged with their code.

#include "support/boardsim.h"

#include <QMap>

class Lis33Board : public BoardSimulator {
    Q_OBJECT
public:
    explicit Lis33Board(PtyPair& pty);

    QMap<int, int> registers; // 8-bit registers; axes are 16 bits at 28, 2A, 2C
    QString firmware = QStringLiteral("01020304");
    int positions[3] = {0x8000, 0x0000, 0xFFFF};
    int offsets[3] = {0x0001, 0x7FFF, 0xFFFF};
    int scaled[3] = {0x8010, 0x7FF0, 0x8000};

protected:
    QStringList answer(const QString& line) override;
};
