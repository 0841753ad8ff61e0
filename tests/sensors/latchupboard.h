#pragma once
// The 9212 latch-up board on the far end of a pseudo-terminal. Commands end
// with CR LF. "$0010mm" runs one cycle and answers "!0010vvvv" (VDDPADS in
// millivolts, four decimal digits); "$0011mm" answers "!0011" and then
// streams one result every streamMs until "$0012", which answers "!0012".

#include "support/boardsim.h"

#include <QList>
#include <QTimer>

class LatchupBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit LatchupBoard(PtyPair& pty);

    // The voltages of the coming cycles, in turn; once used up every cycle
    // reads `millivolts`.
    QList<int> queue;
    int millivolts = 1600;
    int streamMs = 5;
    // The clamp mask of every cycle command, as received.
    QStringList masks;
    // Results sent so far.
    int results = 0;
    bool streaming() const { return m_stream.isActive(); }

    static QByteArray resultReply(int mv);

protected:
    QStringList answer(const QString& line) override;

private:
    QString nextResult();
    QTimer m_stream;
};
