#pragma once
// The Lumatile display socket on the far end of a pseudo-terminal. Every
// command ("$B7" + letter + payload) is recorded with the time it arrived,
// cut at CR only: payloads may hold LF and bytes above 127. The socket
// acknowledges the commands named in `acknowledged` with "!" + letter + CR,
// which the window must swallow; the line conditions of BoardSimulator
// (silent, garbage, split, merge, vanish) apply to those replies.

#include "support/boardsim.h"

#include <QElapsedTimer>
#include <QList>

class LumatileBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit LumatileBoard(PtyPair& pty);

    struct Arrival {
        QString command;
        qint64 ms; // since the board was made
    };
    QList<Arrival> arrivals;
    // Command letters answered with a reply ("M" by default).
    QString acknowledged = QStringLiteral("M");

    // The command letters of what arrived ("F", "W", "M", ...).
    QString letters() const;

protected:
    QStringList answer(const QString& line) override;

private:
    QElapsedTimer m_clock;
};
