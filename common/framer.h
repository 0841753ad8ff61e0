#pragma once
// Cutting replies out of a serial window's receive buffer.
//
//   QString frame = framer("!", cc.CR, ReceiveBuffer);   // board replies
//   QString line  = framer("", cc.CRLF, ReceiveBuffer);  // meter lines
//   QString rec   = bitframer(0x80, 2, ReceiveBuffer);   // 3-byte records
//
// Each call returns at most one frame, without its marks, and removes it
// (and any garbage before it) from the buffer; "" while none is complete.
// An empty frame also answers "": loop while the buffer holds an end mark
// (framerHasReply) rather than until "" when empty replies can occur.
// Removing from the front of the buffer costs nothing in Qt 6 when the
// buffer is not shared, so framing a long stream stays linear.

#include <QString>

// startmark may be empty; endmark must not be (an empty one shows the
// "Internal error" alert and leaves the buffer untouched).
QString framer(const QString& startmark, const QString& endmark, QString& buffer);

// The record is length + 1 characters, starting at the first character of
// the buffer whose code has a bit of mask set.
QString bitframer(const int& mask, const int& length, QString& buffer);

// The most a receive buffer holds while no end mark has come: a line that
// never ends (a babbling or misconfigured device) costs at most this much
// memory, its oldest bytes being dropped. framer applies it, and so does
// the data event for windows that call framer only once a reply is there.
constexpr qsizetype receiveBufferLimit = 64 * 1024;
// Drops the oldest characters of a buffer that holds no end mark and is
// longer than receiveBufferLimit.
void capReceiveBuffer(const QString& endmark, QString& buffer);

// True when the buffer holds a complete reply for framer (an end mark).
inline bool framerHasReply(const QString& endmark, const QString& buffer)
{
    return !endmark.isEmpty() && buffer.contains(endmark);
}
