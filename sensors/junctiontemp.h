#pragma once
// The protocol and thermal arithmetic of the 9767 junction-temperature
// board, apart from any window: command texts, the three reply layouts,
// the temperature coefficient, junction temperature, thermal resistance,
// plot units and the log line.

#include <QString>
#include <QStringList>

#include <optional>

namespace junctiontemp {

// A reading of the board as a physical value: reading / 65535 x full scale
// (millionths) / 1000000.
double scaled(long reading, long fullScale);

// The command texts, CR included. samples: the averaging box's value 0..7.
QString currentVoltageCommand(bool heater, double samples); // "$0020nn" / "$0021nn"
QString openVoltageCommand(bool heater, double samples);    // "$0030nn" / "$0031nn"
QString singleTestCommand(double samples);                  // "$0040nn"
QString startTestCommand(double samples);                   // "$0041nn"
QString heaterCommand(bool on);                          // "$001001" / "$001000"

// An averaging box's text after clamping to 0..7: "7" above 7, "0" at or
// below 0, else the text as it stands.
QString clampSamples(const QString& text);

// A framed reply ("!" and CR removed) of code "0020", "0030" or "0040"
// (any case). A reply shorter than its layout (24, 14 or 28 characters) or
// with a field that is not all hexadecimal digits is no reply.
struct Reply {
    QString code;          // lower case
    double current = 0;    // A   ("0020", "0040")
    double voltage = 0;    // V under heater load ("0020", "0040")
    double openVoltage = 0; // V at the 1 mA bias ("0030", "0040")
};
std::optional<Reply> parseReply(const QString& frame);

// Temperature coefficient in mV/degC from the calibration voltages at
// -40 degC and 125 degC.
double tcak(double vlow, double vhigh);
// Junction temperature from the open voltage; 200 when tc is 0.
double junctionTemperature(double vopen, double vlow, double tc);
// Thermal resistance junction to ambient; 9999.9 when the power is 0 or less.
double thetaJa(double tj, double ta, double power);

// A value in plot units: floor(value / fullScale x 2000), clamped to the
// signed 16-bit range.
qint16 plotValue(double value, double fullScale);

// The log's two header lines (joined by CR LF) and a line of values in
// signed-column form joined by ",".
QString logHeader();
QString logLine(const QList<double>& values);

} // namespace junctiontemp
