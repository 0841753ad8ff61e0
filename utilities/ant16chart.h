#pragma once
// The logic analyser's CSV capture and the timing chart printed from it.
//
// The capture file: lines 1 to 4 a header (line 1 starts with the field
// "AntProgramVersion"), line 5 the channel names in double quotes, then
// 2048 sample lines whose field ch+1 is the level (0 or 1) of channel ch.
// The chart is a list of lines and texts in printer pixels at 1200 dots per
// inch on a 17 x 11 inch page, so it can be painted on a printer or an
// image and checked without either.

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace ant16 {

constexpr int channels = 16;
constexpr int samples = 2048;
constexpr int headerLines = 5;
constexpr int dpi = 1200;
// The page in printer pixels: 17 inches along the time axis, 11 down.
constexpr int pageWidth = 17 * dpi;
constexpr int pageHeight = 11 * dpi;
constexpr int axisX = 3000;
constexpr int sampleWidth = 8;
constexpr int firstRowY = 1550;
constexpr int rowPitch = 350;
constexpr int levelHeight = 150;
constexpr int labelX = 1200;
constexpr int headingY = 625;
constexpr int annotationY = 850;
constexpr int tickTop = 1250;
constexpr int tickBottom = 1300;
constexpr int fontSize = 12;
constexpr int labelChars = 12;

// Replaces every "," and double quote of line by a blank (in the caller's
// text too) and returns its blank-separated words, each followed by one
// blank.
QString stripper(QString& line);

// The heading made of the four header lines: each stripped line followed
// by " / ", without the last two characters of the whole.
QString heading(const QStringList& headerLines);

// The header of a capture as Load reads it.
struct Header {
    enum Status {
        Ok,
        NotCapture, // line 1 does not start with "AntProgramVersion" (or no line 1)
        Short,      // a capture header that ends before line 5
    };
    Status status = NotCapture;
    QString heading;
    std::array<QString, channels> names; // the text between the first two quotes of each field
};
Header readHeader(const QStringList& lines);

// The levels of all channels, sample 0 to 2048 (the last a copy of 2047
// so that it never shows an edge).
using Levels = std::array<std::array<unsigned char, samples + 1>, channels>;

struct Capture {
    Levels levels{};
    // Empty when the capture can be printed; otherwise what is wrong with
    // it, naming its line.
    QString problem;
};
// Reads the sample lines of the capture; the channels in printed must
// hold 0 or 1 in every sample (the others are not looked at).
Capture readCapture(const QStringList& lines, const std::array<bool, channels>& printed);

struct Options {
    std::array<bool, channels> printed{};
    std::array<QString, channels> names;
    QString heading;
    bool ticks = false;
    QString tickfrequency; // the box texts, read by the plain decimal conversion
    QString resolution;
    int unitIndex = 0; // 0 ns, 1 us, 2 ms
};

// Samples between tick marks: tickfrequency rounded to a whole number.
double tickStep(const QString& tickfrequency);
// Why the options cannot be printed ("" when they can): tick marks asked
// for with a step that rounds to 0.
QString optionsProblem(const Options& options);
// "Tick frequency: 100 samples @ 10ns/sample = 1000ns".
QString tickAnnotation(const Options& options);

struct ChartLine {
    int x1, y1, x2, y2;
    int width;
    Qt::PenStyle style;
    QColor color;
    bool operator==(const ChartLine&) const = default;
};
// Text placed with its top at y.
struct ChartText {
    int x, y;
    int size; // points
    QString text;
    bool operator==(const ChartText&) const = default;
};
struct Chart {
    std::vector<ChartLine> lines;
    std::vector<ChartText> texts;
};

// The chart of a capture; the options must have passed optionsProblem.
Chart buildChart(const Levels& levels, const Options& options);

// Paints the chart on a device whose pixels are printer pixels (a printer
// at 1200 dpi, or an image with that resolution under a scaled painter).
void paintChart(QPainter& painter, const Chart& chart);

} // namespace ant16
