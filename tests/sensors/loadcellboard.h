#pragma once
// The 9175 single load-cell board on the far end of a pseudo-terminal.
// Commands end with CR LF. "$0010"/"$0012" start a stream of raw or
// difference readings ("!0010"/"!0012" and eight hex digits) that runs
// until "$0011"/"$0013"; "$0020" zeroes ("!0020", status 01 and the zero),
// "$0021" reads the zero (status 02); "$0030xx", "$0032xx", "$0034xx" keep
// a parameter byte that "$0031", "$0033", "$0035" read back.

#include "support/boardsim.h"

#include <QMap>
#include <QTimer>

class LoadCellBoard : public BoardSimulator {
    Q_OBJECT
public:
    explicit LoadCellBoard(PtyPair& pty);

    long zero = 0x1A4;
    // Parameter bytes by their set command's code.
    QMap<QString, int> parameters{{"0030", 0x1E}, {"0032", 0x23}, {"0034", 0x14}};
    // Readings sent by the streams, and the replies queued per timer tick.
    long streamed = 0;
    int burst = 4;
    bool streaming() const { return m_timer.isActive(); }

protected:
    QStringList answer(const QString& line) override;

private:
    void tick();
    QTimer m_timer;
    QString m_stream;
};
