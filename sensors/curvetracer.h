#pragma once
// The 8065 curve tracer's reply frames and sweep files, apart from any
// window: what a frame says, the table of one sweep's points, the trimming
// of flat runs at both ends and the numbered CSV file.

#include <QByteArray>
#include <QString>

#include <array>

namespace curvetracer {

// A framed reply ("!" and CR removed). Characters 4-5 "10" mark the frames
// the window acts on; characters 6-9 "strt"/"stop" (any case) the sweep's
// ends; any other text there is a point: number (6-8), current-sense
// millivolts (9-13) and voltage millivolts (14-18), fields that hold no
// number reading as 0.
struct Frame {
    enum Kind { Other, Start, Stop, Point } kind = Other;
    int number = 0;
    double senseMillivolts = 0;
    double millivolts = 0;
};
Frame parseFrame(const QString& frame);

// The points of one sweep, numbered 0 to 255: "" for a point not received,
// else "current,voltage" as shown (12.345,0.650).
class SweepTable {
public:
    static constexpr int size = 256;

    void clear();
    // False, and nothing stored, for a number outside 0 .. 255.
    bool set(int number, const QString& text);
    const QString& at(int number) const { return m_points[std::size_t(number)]; }

    // The range written to the file: a leading run of equal currents is
    // kept from its last point, a trailing run from its first; everything
    // when all currents are equal.
    int first() const;
    int last() const;

    // The file's content: header and entries first .. last, CR LF each.
    QByteArray fileBytes() const;

private:
    double currentOf(int number) const;
    std::array<QString, size> m_points;
};

// The file of sweep number n: root, "_", the number with at least three
// digits, ".csv" (Zeners_007.csv, Zeners_1234.csv).
QString sweepFileName(const QString& root, qint64 number);

// Whether a file-count text is a whole number from 0 up (digits only).
bool isFileCount(const QString& text);

} // namespace curvetracer
