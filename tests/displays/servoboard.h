#pragma once
// The servo retrofit board on the far end of a pseudo-terminal. Commands
// end with CR LF. "$0060" answers the status from the fields below;
// "$002001" starts a report stream (a status reply every streamMs, the
// first reading counting up) and "$002000" ends it; "$0030" followed by 28
// hex digits stores the tuning bytes and answers "a", or "f" while
// writeFails is set; "$0031" answers the stored bytes; 12, 13, 15, 16 and
// 20 are acknowledged with their code. reset() sends "!0000" unasked.

#include "support/boardsim.h"

#include <QTimer>

#include <array>

class ServoBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit ServoBoard(PtyPair& pty);

    std::array<int, 4> adc{1200, 0, 350, 0};
    int bits = 13;
    int flags = 5;
    bool writeFails = false;
    // The fourteen tuning bytes as the board keeps them (the defaults).
    std::array<int, 14> trim{0x10, 0x28, 0x03, 0xE8, 0x03, 0xE8, 0x00, 0xFA, 0x00, 0xC8, 0x01, 0xFF, 0x01, 0x64};
    int streamMs = 5;
    // Reports sent by the stream so far.
    int reports = 0;

    void reset();
    QString statusReply() const;

protected:
    QStringList answer(const QString& line) override;

private:
    QTimer m_stream;
};
