#pragma once
// What the benchmarks share: waiting on the event loop without spinning (so
// a processor figure is the window's, not the wait's), the process's
// processor time, a log file read as it grows (each pass reads only what is
// new), and the verdict of their integrity checks.
//
// Every benchmark takes "--smoke" as its first argument: a small size, its
// counts and data checked, its exit status the verdict. Timings are printed
// but never judged.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QList>
#include <QString>
#include <QTimer>

#include "support/cputime.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace bench {

inline bool smokeRun(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
}

using ::cpuSeconds;

// Serves the event loop until done() holds or timeoutMs has passed, and
// returns done(). The thread sleeps until an event arrives: done() is looked
// at once per batch of events, since only an event can change it. (The
// processEvents overload with a time limit drops WaitForMoreEvents and
// spins a core.)
template <class Done>
bool waitUntil(Done done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // ends the last sleep at the deadline
    wake.setSingleShot(true);
    wake.start(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The primes up to top, in order, by a sieve: the reference the prime
// searches are checked against.
inline std::vector<qint32> primesUpTo(qint32 top)
{
    std::vector<qint32> primes;
    std::vector<bool> composite(size_t(std::max<qint32>(top, 1)) + 1, false);
    for (qint32 v = 2; v <= top; ++v) {
        if (composite[size_t(v)])
            continue;
        primes.push_back(v);
        for (qint64 m = qint64(v) * v; m <= top; m += v)
            composite[size_t(m)] = true;
    }
    return primes;
}

// Serves the event loop for ms, sleeping while nothing happens.
inline void serveFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A file that another part of the process appends CR LF lines to. Each
// newLines() reads only the bytes added since the last call and returns
// the lines completed by them, without their ends.
class GrowingFile {
public:
    explicit GrowingFile(const QString& path) : m_file(path) {}

    QList<QByteArray> newLines()
    {
        QList<QByteArray> lines;
        if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly))
            return lines;
        if (m_file.size() <= m_read)
            return lines;
        m_file.seek(m_read);
        const QByteArray fresh = m_file.read(m_file.size() - m_read);
        m_read += fresh.size();
        m_partial += fresh;
        qsizetype from = 0;
        for (qsizetype end; (end = m_partial.indexOf("\r\n", from)) >= 0; from = end + 2)
            lines << m_partial.mid(from, end - from);
        m_partial.remove(0, from);
        m_lines += lines.size();
        return lines;
    }
    qint64 lineCount() const { return m_lines; }

private:
    QFile m_file;
    qint64 m_read = 0;
    qint64 m_lines = 0;
    QByteArray m_partial;
};

// The verdict of one benchmark run: every failed check is printed, and the
// exit status says whether any failed.
class Verdict {
public:
    __attribute__((format(printf, 3, 4))) bool check(bool ok, const char* format, ...)
    {
        if (ok)
            return true;
        ++m_failed;
        std::va_list args;
        va_start(args, format);
        std::fputs("CHECK FAILED: ", stdout);
        std::vprintf(format, args);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        va_end(args);
        return false;
    }
    int failed() const { return m_failed; }
    int exitCode() const
    {
        if (m_failed == 0)
            std::printf("all checks passed\n");
        return m_failed == 0 ? 0 : 1;
    }

private:
    int m_failed = 0;
};

inline Verdict& verdict()
{
    static Verdict v;
    return v;
}

} // namespace bench
