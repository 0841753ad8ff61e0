#pragma once
// Output power, input power and efficiency of a converter, and the
// window's settings file ("QuickEfficiency.cfg": one value per line).

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct EfficiencyPoint {
    double pout = 0, pin = 0;
    double eff = 0;          // percent
    bool effValid = false;   // false when Vin or Iin is not above 0
};
EfficiencyPoint efficiency(double vout, double iout, double vin, double iin);

// The display pattern of a decimals choice: "0" and, for 0..6 decimals,
// "." and that many zeros; "0" for no choice (-1).
QString decimalsPattern(int decimals);

// The leading number of each line of a settings file, at most `count`
// lines; a missing, empty or short file gives fewer values. Every finite
// value is taken, as the boxes can hold any (a pasted negative, a whole
// number past fifteen digits) and the file is written from them; a line
// that holds no number, or an infinite one, gives none: the caller keeps
// its default there. Lines end in CR LF, LF or CR. Only a regular file is
// read.
std::vector<std::optional<double>> readValueLines(const QString& path, int count);
// Writes one text per line, CR LF ended, replacing the file only when
// complete. Raises VError naming the file and saying why when it cannot.
void writeValueLines(const QString& path, const QStringList& lines);
