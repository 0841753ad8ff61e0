#pragma once
// Formulas of the conductor, air-core inductor and capacitor designers,
// free of widgets.

#include <QString>
#include <QStringList>

#include <vector>

// The metal names of the conductor table, in its order.
QStringList metalNames();
// The wire sizes offered: "00000000" (8/0) down to "0" (1/0), then "1" to "80".
QStringList awgSizes();

// One rectangular bus-bar section: width, height, length.
struct BusSection {
    double width = 0;
    double height = 0;
    double length = 0;
};

// The sections of a bus-bar list, one per line as width,height,length.
// Only digits, "." and "," are kept (so "-2,1,1" reads 2,1,1 and blanks
// vanish); a line ends at CR. A line counts with its first three fields when
// their product is above 0; any other line is dropped. A last line without
// an end counts.
std::vector<BusSection> parseBusBars(const QString& text);

// Single-layer air-core solenoid, all lengths in inches.
struct Solenoid {
    double spacing = 0;      // gap between neighbouring turns
    double lengthActual = 0; // coil length
    double od = 0;           // outside diameter
    double inductance = 0;   // microhenries
    double wireLength = 0;   // inches of wire
};
// turns N, inside diameter, wanted length, wire diameter, layers. When the
// turns do not fit the wanted length the coil is close-wound and longer.
Solenoid solenoid(double turns, double id, double lengthWanted, double wire, double layers);

// Parallel-plate capacitor, dimensions in inches.
struct PlateCapacitor {
    double area = 0;      // square inches
    double height = 0;    // stack height, inches
    double farads = 0;
    double breakdown = 0; // volts
    double energy = 0;    // joules at the working voltage
};
// length, width, separation t, plate-use factor, layers (a whole number),
// conductor thickness, working voltage, relative permittivity, strength in
// volts per mil.
PlateCapacitor plateCapacitor(double length, double width, double separation, double factor, double layers,
                              double conductor, double volts, double k, double strength);
