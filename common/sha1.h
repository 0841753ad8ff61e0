#pragma once
// SHA-1 (FIPS 180-1) of byte text, with replaceable round constants.

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <cstdint>

// The digest of message, each character one byte (Latin-1; others as "?"),
// as five 8-digit upper-case hex words separated by blanks. constants ""
// means the standard round constants; otherwise its hex digits, padded
// with "0" on the left to 32 (the rightmost 32 kept), give the constants of
// rounds 60-79, 40-59, 20-39 and 0-19 in that order. The caller's message
// variable receives the padded message (a multiple of 64 characters).
QString sha1(const QString& constants, QString& message);
QString sha1(const QString& constants, const QString& message);

// The padding that follows a message of `length` characters: code 128,
// zeros, and the bit length as 64 bits, most significant byte first.
QString sha1padding(int64_t length);

// The standard digest of bytes taken a part at a time, for a file hashed
// while the event loop is served between parts:
//   Sha1Stream hash;  hash.add(part1);  hash.add(part2);  hash.digest();
// The digest reads as sha1's; more parts may follow it.
class Sha1Stream {
public:
    Sha1Stream();
    void add(const QByteArray& bytes);
    QString digest() const;

private:
    QCryptographicHash m_hash;
};
