#pragma once
// The 9767 junction-temperature board on the far end of a pseudo-terminal.
// "$0020nn"/"$0021nn" answer the forward current and voltage ("!0020"),
// "$0030nn"/"$0031nn" the open forward voltage ("!0030"), "$0040nn" and
// "$0041nn" `tests` test results ("!0040"); "$0010xx" switches the heater.
// Readings are counts of 65535 against full scales in millionths.

#include "support/boardsim.h"

class JunctionBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit JunctionBoard(PtyPair& pty) : BoardSimulator(pty) {}

    long currentScale = 1000000; // 1 A
    long voltageScale = 1000000; // 1 V
    int current = 0xFFFF;
    int voltage = 0x8000;
    int open = 0x8000;
    int tests = 1;
    // The heater byte of every "$0010" command.
    QStringList heater;

    QString reply0020() const;
    QString reply0030() const;
    QString reply0040() const;

protected:
    QStringList answer(const QString& line) override;
};
