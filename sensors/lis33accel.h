#pragma once
// The protocol of the 9249 LIS33 accelerometer board, apart from any
// window: command texts, the hex boxes' normalising, the log lines and what
// each reply shows.

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace lis33accel {

// The texts button index sends (each ended by CR LF), in order; empty for
// the buttons that send nothing. eeaddress is the EEPROM address box's
// text, normalised as leaving the box does; nullopt when it is not
// hexadecimal (button 15 then sends nothing).
std::optional<QStringList> commands(int index, const QString& eeaddress);
// The boxes a button sets to "---" before it sends.
QStringList clears(int index);
// The poll's command for phase 0, 1, 2 ("$0060", "$0062", "$0061", CR LF).
QString pollCommand(int phase);

// A hex box's text after Enter: the last two characters, upper case.
QString hexEnter(const QString& text);
// After leaving the box: the last two characters of "00" + the text, upper
// case ("5" gives "05", "" gives "00").
QString hexLeave(const QString& text);

// The command log's line for a text sent: up to its first CR, then "[cr]".
QString commandLogLine(const QString& text);

// A raw axis register as a signed 16-bit value.
int rawAxis(int value);

// What a framed reply ("!" and CR removed) shows: texts by box name, and a
// background colour of one box.
struct Reply {
    QList<QPair<QString, QString>> texts;
    QString colorBox;
    QColor color;
};
Reply decodeReply(const QString& frame);

} // namespace lis33accel
