#pragma once
// The 8842 four-channel load-cell board on the far end of a
// pseudo-terminal. Commands end with CR LF. "$0011" starts a stream of
// readings, "!0020,..." in pounds or "!0021,..." in counts, that runs until
// "$0010"; "$0012"/"$0013" switch to pounds/counts and answer "!0012" or
// "!0013"; "$003f" answers the scalers ("!003F,..."); "$0040", "$0041" and
// "$0050" are acknowledged with their code.

#include "support/boardsim.h"

#include <QTimer>

class LoadCellMultiBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit LoadCellMultiBoard(PtyPair& pty);

    bool counts = false;
    QStringList scalers{"10", "20", "30", "40"};
    // Readings sent so far, and readings queued per timer tick.
    long streamed = 0;
    int burst = 4;
    bool streaming() const { return m_timer.isActive(); }
    // Reading n of the stream as the board sends it.
    QString reading(long n) const;

protected:
    QStringList answer(const QString& line) override;

private:
    void tick();
    QTimer m_timer;
};
