#pragma once
// The protocol of the 8842 four-channel load-cell board, apart from any
// window: the command texts and what each reply does to the channel table
// and the log.

#include <QString>
#include <QStringList>

namespace loadcellmulti {

// "$" + code + CR LF of button index 0 to 7; "" for any other index.
QString command(int index);

// What a framed reply ("!" and CR removed) does. column: the first
// sensordata index the values fill (0 pounds, 4 counts, 16 scalers; -1
// none); values: the four texts for it; dashes: the first index of the
// column that becomes "---" (-1 none); reading: a reading that counts for
// the activity box; logLine: the log line ("" for none).
struct Reply {
    bool known = false;
    int column = -1;
    QStringList values;
    int dashes = -1;
    bool reading = false;
    QString logLine;
};
Reply decodeReply(const QString& frame);

} // namespace loadcellmulti
