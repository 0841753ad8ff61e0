#pragma once
// The protocol and plot arithmetic of the 9619 diode leakage board, apart
// from any window: the set-point command, the "0020" report and the "0060"
// confirmation, trend units and the current scale labels.

#include <QString>
#include <QStringList>

namespace diodeir {

// Milliamperes per ADC count of the reverse-current reading.
constexpr double milliampsPerCount = 0.0495698329893187;

// "$0060" and the target in hundredths of a degree as four hex digits, CR.
QString setpointCommand(int degrees);

// A framed "0020" report ("!" and CR removed). Fields that hold no number
// read as 0; mode is "Pulsed", "Continuous" or "" (field 4 neither 0 nor 1).
struct Report {
    double temperature = 0; // degC
    double current = 0;     // mA
    QString mode;
};
Report parseReport(const QString& frame);

// The reply code: the frame's first four characters, lower case.
QString replyCode(const QString& frame);

// Whether a "0060" frame confirms the target shown in the set-point box:
// the box's value x 100 equals characters 5-9 of the frame.
bool confirms(const QString& tempsetText, const QString& frame);

// A value in trend units: floored and held within -4 .. 154 (the plot's
// y runs 155 - value). Clamped before it is narrowed, so no reading, however
// large against a small scale, wraps round.
qint16 trendValue(double value);

// The current trend value of a reading against a full scale in mA: the
// full scale lands on the 150 line.
qint16 currentTrendValue(double milliamps, double fullScale);

// The five labels of the current axis for a full-scale entry ("50" gives
// 0, 10, 20, 30, 40; "3.0" gives 0.0, 0.6, 1.2, 1.8, 2.4).
QStringList scaleLabels(const QString& fullScale);

} // namespace diodeir
