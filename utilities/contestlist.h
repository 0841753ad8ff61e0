#pragma once
// The contestant list of a drawing: one contestant per line, its first and
// second blank-separated words, and distinct winners drawn from it.

#include <QString>
#include <QStringList>

#include <vector>

class RandomSource;

struct Contestant {
    QString first;
    QString second;
};

// The contestants of a file's lines: leading blanks ignored, runs of blanks
// counted as one, words after the second dropped, lines without a word
// skipped.
std::vector<Contestant> readContestants(const QStringList& lines);

// The display line of a contestant: the first word padded with blanks or
// cut to 24 characters, two blanks, the second word, CR LF.
QString contestantLine(const Contestant& c);

// A winner's line: its position in the list (1-based) as at least four
// digits with leading zeros, a blank, the display line.
QString winnerLine(int position, const Contestant& c);

// Draws wanted distinct positions (1-based) out of 1..count in drawing
// order; wanted is limited to 0..count. Every position is equally likely
// at every step, and the work does not grow as the list is used up.
std::vector<int> drawWinners(int count, int wanted, RandomSource& random);
