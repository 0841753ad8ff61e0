// Figures for the two long-running text tools, run through their windows:
//
//   bench_textruns primes 1000000   the first N primes listed, "Primes.txt" written
//   bench_textruns strip 250000     a file of that many lines (about 40 bytes
//                                   each, TABs in every line) stripped and shown
//   bench_textruns --smoke          both, at 20000 primes and 5000 lines
//
// The time runs from the button to the finished result, whether the window
// does the work in one go or in slices between events. The results are
// checked: every prime in the file in order, every line stripped and shown.

#include "app/a_main.h"
#include "bench/benchkit.h"
#include "common/toolwindow.h"
#include "math/math_primeslist.h"
#include "support/filechoice.h"
#include "support/tempfolders.h"
#include "utilities/util_tabstripper.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>

namespace {
template <class W>
W* ctl(ToolWindow& w, const char* name)
{
    return w.form()->findChild<W*>(QString::fromLatin1(name));
}

// The file's line k (from 1): a blank, k, a blank, the k-th prime.
QByteArray primeLine(int k, qint32 prime)
{
    return ' ' + QByteArray::number(k) + ' ' + QByteArray::number(prime);
}

// True when the file ends with `tail`; reads only the end.
bool endsWith(const QString& path, const QByteArray& tail)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < tail.size())
        return false;
    f.seek(f.size() - tail.size());
    return f.read(tail.size()) == tail;
}

void primes(int n)
{
    // Enough room for the n-th prime: n (ln n + ln ln n) from n = 6 on.
    const double ln = std::log(std::max(n, 6));
    const std::vector<qint32> reference = bench::primesUpTo(qint32(std::max(n, 6) * (ln + std::log(ln))) + 16);
    popup("Math_primeslist");
    auto& w = FormSlots::get<Math_primeslist>();
    ctl<QLineEdit>(w, "ulimit")->setText(QString::number(n));
    ctl<QLineEdit>(w, "dlimit")->setText(QStringLiteral("10000"));
    ctl<QCheckBox>(w, "wrfile")->setChecked(true);
    const QString file = ctl<QLineEdit>(w, "opfile")->text();
    QFile::remove(file);
    auto* count = ctl<QLineEdit>(w, "listcount");
    const QByteArray lastLine = primeLine(n, reference[size_t(n - 1)]) + "\r\n";
    QElapsedTimer t;
    t.start();
    ctl<QPushButton>(w, "Command1")->click();
    bench::waitUntil([&] { return count->text().startsWith(u"The first") && endsWith(file, lastLine); }, 600000);
    std::printf("primes %d: %8.1f ms in the window (%s), file %lld bytes\n", n, t.nsecsElapsed() / 1e6,
                qPrintable(count->text()), QFileInfo(file).size());
    // Line by line, so the check adds little to the run's peak memory.
    QFile in(file);
    int lines = 0, wrong = 0, firstWrong = 0;
    if (in.open(QIODevice::ReadOnly)) {
        for (QByteArray line; !(line = in.readLine()).isEmpty(); ++lines)
            if ((lines >= n || line != primeLine(lines + 1, reference[size_t(lines)]) + "\r\n") && wrong++ == 0)
                firstWrong = lines + 1;
    }
    bench::verdict().check(wrong == 0 && lines == n, "primes %d: %d file lines, %d wrong from line %d", n, lines,
                           wrong, firstWrong);
    w.unload();
}

QByteArray sourceLine(int i)
{
    return "\tcase " + QByteArray::number(i % 1000) + ":\tvalue = table[i];\t/* \xb5s */";
}

// A line with each TAB replaced by the blanks up to the next stop.
QString expanded(const QByteArray& line, int tabSize)
{
    QString out;
    for (char c : line) {
        if (c != '\t')
            out += QChar(uchar(c));
        else
            out += QString(tabSize - out.size() % tabSize, u' ');
    }
    return out;
}

void strip(int lines, const TempFolders& folders)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 42);
    for (int i = 0; i < lines; ++i)
        bytes += sourceLine(i) + "\r\n";
    const QString path = writeFile(folders.workFile("big.c"), bytes);
    popup("Util_tabstripper");
    auto& w = FormSlots::get<Util_tabstripper>();
    auto* load = ctl<QPushButton>(w, "Command1_0");
    auto* status = ctl<QLineEdit>(w, "sysstatus");
    FileChoiceAnswer pick(path);
    QElapsedTimer t;
    t.start();
    load->click();
    bench::waitUntil([&] { return load->isEnabled() && status->text().startsWith(u"OK"); }, 600000);
    auto* shown = ctl<QPlainTextEdit>(w, "processedfile");
    std::printf("strip %d lines, %lld bytes: %8.1f ms in the window (%s; %s lines; %lld characters shown)\n", lines,
                qint64(bytes.size()), t.nsecsElapsed() / 1e6, qPrintable(status->text()),
                qPrintable(ctl<QLineEdit>(w, "rlines")->text()), qint64(shown->document()->characterCount()));

    bench::Verdict& v = bench::verdict();
    v.check(status->text().simplified() == QStringLiteral("OK: %1 tabs stripped").arg(3 * lines),
            "strip: status \"%s\" for %d tabs", qPrintable(status->text()), 3 * lines);
    v.check(ctl<QLineEdit>(w, "rlines")->text() == QString::number(lines), "strip: %s lines counted of %d",
            qPrintable(ctl<QLineEdit>(w, "rlines")->text()), lines);
    const int tabSize = ctl<QLineEdit>(w, "tabsize")->text().toInt();
    const QStringList got = shown->toPlainText().split(u'\n');
    int wrong = 0, firstWrong = 0;
    for (int i = 0; i < lines; ++i)
        if ((i >= got.size() || got[i] != expanded(sourceLine(i), tabSize)) && wrong++ == 0)
            firstWrong = i + 1;
    // The last line's end leaves an empty line after it.
    v.check(wrong == 0 && got.size() == lines + 1, "strip: %lld lines shown of %d, %d wrong from line %d",
            qint64(got.size()) - 1, lines, wrong, firstWrong);
    w.unload();
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TempFolders folders;
    mainWindow().show();
    if (bench::smokeRun(argc, argv)) {
        primes(20000);
        strip(5000, folders);
    } else {
        const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("primes");
        const int size = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 0;
        if (what == u"strip")
            strip(size > 0 ? size : 250000, folders);
        else
            primes(size > 0 ? size : 1000000);
    }
    destroyMainWindow();
    return bench::verdict().exitCode();
}
