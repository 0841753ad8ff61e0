#pragma once
// The battery gauge board's reports: "!", the value in hundredths as four
// hex digits, a trend flag ("0" rising, "1" falling), CR.

#include <QString>

namespace batterygauge {

struct Report {
    QString value; // "0.000", or "---" when the report holds no value
    QString trend; // "UP", "DOWN" or "---"
    bool valid = false; // the value is a reading (and may be logged)
};

// A frame without "!" and CR. Its first four characters must be hex
// digits to count as a value: a garbled report is no reading.
Report decodeReport(const QString& frame);

// The log in the work folder.
QString logPath();

} // namespace batterygauge
