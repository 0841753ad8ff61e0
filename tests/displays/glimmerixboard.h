#pragma once
// The Glimmerix display-tube board on the far end of a pseudo-terminal.
// Commands end with CR LF, replies with CR.
//
// "$0010" runs the self-test: one result line per item (the version, the
// twelve drivers, the A2 pull-up, the digital and analog addresses, the
// master modes, the anode resistor's low and high readings), each PASS or
// FAIL as `pass` says, then the verdict "00" when all passed, else "ff".
// "$0011" sends a heading and the lines for addresses 00, 10, 20 and 30 of
// `eeprom`. "$00120B" and hex digits stores those bytes from address 0 and
// answers with `answerLetter` ("a", written).
//
// The base's line conditions apply: setMerge(true) sends the whole test in
// one write, setSplit(n) in pieces, setSilent, setGarbage, vanish.

#include "support/boardsim.h"

#include <QByteArray>
#include <array>

class GlimmerixBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit GlimmerixBoard(PtyPair& pty);

    // Pass of each grid box's item; box 33 stands for both anode readings
    // unless lowPass/highPass are set apart.
    std::array<bool, 34> pass;
    bool lowPass = true;
    bool highPass = true;
    QString version = QStringLiteral("V1.02.003");
    QString a2reading = QStringLiteral("187");
    QString lowReading = QStringLiteral("064");
    QString highReading = QStringLiteral("192");
    QByteArray eeprom; // 64 bytes
    QString answerLetter = QStringLiteral("a");

    // The test's frames, each "!" ... CR, in the board's order.
    QStringList selfTest() const;
    QStringList dump() const;

protected:
    QStringList answer(const QString& line) override;
};
