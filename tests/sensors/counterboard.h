#pragma once
// The 8028 gated counter board on the far end of a pseudo-terminal: three
// counters X, Y, Z with a mode each ("$0020xxyyzz"), start "$0012", stop
// "$0013", clear "$0011", read "$0014" (answered "!0014," and the three
// counts of eleven digits joined by ","), and the automatic update
// "$0015"/"$0016", which sends the counts unasked every few ms.

#include "support/boardsim.h"

#include <QTimer>

#include <array>

class CounterBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit CounterBoard(PtyPair& pty);

    std::array<int, 3> modes{};
    std::array<qint64, 3> counts{};
    // What each counter gains per tick while running.
    std::array<qint64, 3> rates{20000, 3, 1};
    bool running = false;
    bool autoUpdate = false;

    QString countReply() const;

protected:
    QStringList answer(const QString& line) override;

private:
    void tick();
    QTimer m_ticker;
};
