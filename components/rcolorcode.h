#pragma once
// Resistor colour code: the colour table, the swatches of the decoder and
// the value text of three- and four-band resistors.

#include <QColor>
#include <QString>

// Colour codes 0 (black) to 9 (white), 10 gold, 11 silver, 12 no band.
QColor bandColor(int code);

// What one swatch does: the band (digit/ccode element) it sets, the colour
// it paints and the text it writes; band -1 for no swatch.
struct Swatch {
    int band = -1;
    int code = 0;
    QString text;
};
Swatch swatch(int element);

// The value a resistor's bands give: digits d0, d1, d2 (d2 unused with 3
// bands) and the multiplier, compared exactly with 0.01, 0.1 and 0 ... 9.
struct BandValue {
    double value = 0;
    QString unit; // "Ohms", "kOhms", "MOhms", "GOhms", or "" for an unknown multiplier
};
BandValue bandValue(bool fourBands, double d0, double d1, double d2, double multiplier);

// Three significant figures: "1.00", "10.0", "100", "0.47".
QString bandValueText(double value);
