#pragma once
// The 9619 diode leakage board on the far end of a pseudo-terminal. It
// takes "$0040"/"$0041" (pulsed or continuous sampling), "$0051"/"$0050"
// (heater on, off) and "$0060tttt" (target in hundredths of a degree, hex),
// which it confirms with "!0060" and the target as five decimal digits (or
// a degree below with confirmWrong). It streams "!0020" reports, the
// temperature closing in on the target.

#include "support/boardsim.h"

class DiodeBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit DiodeBoard(PtyPair& pty) : BoardSimulator(pty) {}

    int setpoint = 2500;    // hundredths of a degree
    int temperature = 2500; // hundredths of a degree
    int counts = 100;       // reverse current, ADC counts
    int mode = 1;
    bool heater = false;
    bool confirmWrong = false;

    QString report() const;
    // n reports; before each the temperature moves a quarter of the way to
    // the target (and the current with it).
    QByteArray reports(int n);
    // Sends n reports unasked, in pieces of pieceBytes (0: at once) a few
    // ms apart, with garbage before each report.
    void stream(int n, int pieceBytes = 0, const QByteArray& garbage = QByteArray());

protected:
    QStringList answer(const QString& line) override;
};
