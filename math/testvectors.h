#pragma once
// The stored test values of the cipher and hash testers.

#include <QString>
#include <QStringList>

#include <vector>

// XTEA (32 cycles) vectors 1 to 7, each "key plaintext ciphertext" in upper-
// case hex, words in the order xtea() takes them (the right-hand eight
// digits are word 0). Element 0 is unused.
const QStringList& xteavectors();
// A vector's list entry: "k[0C0D...0203] p[4546...4344] c[7261...F3D0]".
QString xteaEntryText(const QString& vector);

struct Sha1Vector {
    QString entry;    // the list text
    QString message;  // the message (the placeholder text for entry 11)
    QString expected; // the published digest as sha1() writes it
};
// Entries 0 to 11 of the SHA-1 tester's list.
const std::vector<Sha1Vector>& sha1vectors();
// Entry 11 stands for a million "a" characters behind this text.
inline constexpr int sha1MillionEntry = 11;
QString sha1MillionPlaceholder();
