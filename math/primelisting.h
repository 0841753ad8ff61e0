#pragma once
// The texts of the prime number lister: the list of the last primes found,
// the 16-bit table in decimal, hexadecimal and binary, and the prime file.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace primetext {

// The table stops at the last prime that fits 16 bits.
constexpr int32_t kTableLimit = 65535;
// The list shows at most this many of the last primes.
constexpr int kMaxShown = 10000;

// Index of the first prime listed when the last d of n are shown: n - d + 1
// rounded, at least 1 (beyond n when d is 0 or less: nothing is listed).
int firstListed(int n, double d);

// Width of the prime column: the prime's number-to-text length (with its
// leading blank) plus one, so the columns stay a blank apart.
int primeWidth(int32_t lastPrime);

// One list line: the index right-justified in indexWidth characters, the
// prime in primeWidth.
QString listLine(int index, int32_t prime, int indexWidth, int primeWidth);

// Lines first..n of the list; primes[i] is the i-th prime.
QStringList listLines(const QList<int32_t>& primes, int n, int first, int indexWidth);

// The three heading lines of the table.
QStringList tableHeader();

// One table line: index (5), decimal (7), hexadecimal (4) and binary (16)
// columns, two blanks before the hexadecimal and binary ones.
QString tableLine(int index, int32_t prime);

// How many table lines the first n primes give: all of them up to the last
// one not above 65535.
int tableCount(const QList<int32_t>& primes, int n);

// The prime file: line i is " i p" for each of the first n primes, CR LF
// after every line.
QByteArray fileBytes(const QList<int32_t>& primes, int n);
// Lines from..to of the prime file, appended to bytes.
void appendFileLines(QByteArray& bytes, const QList<int32_t>& primes, int from, int to);

} // namespace primetext
