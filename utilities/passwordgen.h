#pragma once
// Passwords of letters that cannot be mistaken for digits, optionally with
// digits and the one symbol the draw can reach, and the line each one gets
// in the password list.

#include <QString>

#include <functional>

// Lengths the generator accepts (a fractional length is rounded up by the
// draw).
bool passwordLengthOk(double length);

// The character of a draw r in [0, 1): one of the 75 codes "0" (48) to
// "z" (122), uniform.
QChar passwordDraw(double r);

// Whether a drawn character is kept: letters other than I, L, O, i and l
// always; digits with digits; "$", "&", "#" and "@" with symbols.
bool passwordCharTaken(QChar c, bool digits, bool symbols);

// A draw uniform in [0, 1) from the system's cryptographic source, whose
// every draw is fresh entropy: a password is never fixed by a seed.
double systemPasswordDraw();

// Draws characters from next() (uniform in [0, 1)), discarding those not
// taken, until the password is at least length characters long.
QString drawPassword(double length, bool digits, bool symbols, const std::function<double()>& next);

// TABs after a description of n characters, so the passwords line up at
// column 48 for descriptions up to 40 characters; none for longer ones.
int passwordTabs(int descriptionLength);

// The list line (without its line end): the description with its TAB, CR
// and LF turned into blanks ("No description" when empty), the TABs, the
// password.
QString passwordLine(const QString& description, const QString& password);

// Appends one line to the password list, creating the file readable by
// its owner only. False when it cannot be written.
bool appendPasswordLine(const QString& path, const QString& line);
