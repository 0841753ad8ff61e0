#pragma once
// The rules of the dual serial terminal, apart from its widgets: how a byte
// is shown, what a typed key shows and sends, how a command line is cut
// into pieces, and the text a terminal displays for its buffer.
//
// Texts hold one character per byte (codes 0-255). A terminal buffer holds
// printable characters, CR LF line breaks, DEL and, in hexadecimal mode,
// "XX " pairs.

#include <QList>
#include <QString>
#include <QStringView>

namespace termrules {

// What one action shows in the terminal and writes to the port.
struct Piece {
    QString shown;
    QString sent;
    bool operator==(const Piece& o) const { return shown == o.shown && sent == o.sent; }
};

// Two upper-case hex digits and a blank: "0D ".
QString hexShown(uchar byte);
// The bracketed form of a byte: "[1B]".
QString bracketed(uchar byte);

// Appends received text to a buffer: in hex mode every byte as "XX "; in
// text mode printable bytes (32-127) as themselves, CR as CR, an LF right
// after the buffer's final CR as LF, anything else bracketed, and a CR that
// ends the buffer is followed by an LF before anything but an LF. Characters
// above 255 (never produced by a port) are left out.
void appendReceived(QString& buffer, QStringView data, bool hex);

// A typed key. Text mode: printable as itself, Enter shows and sends CR LF,
// other codes show bracketed and send the key. Hex mode: shows "XX ", sends
// the key. A character with no byte value gives nothing at all.
Piece typedKey(QChar key, bool hex);

// A command line, one piece per write. Text mode: "^m" (any case) is CR LF,
// every other character (with a byte value) itself. Hex mode: the hex
// digits of either case, an odd count padded with a leading "0", one byte
// per pair, shown "XX ". Empty when there is nothing to send.
QList<Piece> commandPieces(QStringView line, bool hex);

// The text shown for a buffer: the buffer and the cursor character DEL; a
// buffer ending in CR shows an LF before the cursor.
QString displayTail(QStringView buffer);
inline QString displayText(const QString& buffer)
{
    return buffer + displayTail(buffer);
}

} // namespace termrules
