#pragma once
// Logs: text files a window appends to one line at a time. Each line is
// written and flushed before the call returns, so a crash or a pulled plug
// loses no line that was reported written.

#include <QString>

// Appends one line (CR LF) to a log, with the header line first when the
// file does not exist yet. Latin-1. False when the file cannot be written:
// an empty path, a missing or read-only folder, or something other than a
// regular file (a FIFO or a device) in the file's place; false too, with
// nothing written, when the header or line holds a character above U+00FF
// (a window with typed text checks it first with singlebytefits, which
// names the box). Never throws.
// An empty header writes no header line.
bool appendLog(const QString& path, const QString& header, const QString& line);

// A window's log across writes, so a run of failed writes raises one alert:
//
//     if (m_log.append(path, header, line) == LogSequence::Failed)
//         alertbox("Log file error", "Cannot write " + path, 0);
//
// A write that succeeds, or a change of path, starts a new run.
class LogSequence {
public:
    enum Result {
        Written,
        Failed,      // the first failure of a run: tell the user
        FailedAgain, // the same log failed before: stay quiet
    };
    Result append(const QString& path, const QString& header, const QString& line);

private:
    bool m_failing = false;
    QString m_failedPath;
};
