// Figures for the two long-running text tools, run through their windows:
//
//   bench_textruns primes 1000000   the first N primes listed, "Primes.txt" written
//   bench_textruns strip 250000     a file of that many lines (about 40 bytes
//                                   each, TABs in every line) stripped and shown

#include "app/a_main.h"
#include "common/toolwindow.h"
#include "math/math_primeslist.h"
#include "support/filechoice.h"
#include "support/tempfolders.h"
#include "utilities/util_tabstripper.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdio>

namespace {
template <class W>
W* ctl(ToolWindow& w, const char* name)
{
    return w.form()->findChild<W*>(QString::fromLatin1(name));
}

void primes(int n)
{
    popup("Math_primeslist");
    auto& w = FormSlots::get<Math_primeslist>();
    ctl<QLineEdit>(w, "ulimit")->setText(QString::number(n));
    ctl<QLineEdit>(w, "dlimit")->setText(QStringLiteral("10000"));
    ctl<QCheckBox>(w, "wrfile")->setChecked(true);
    QElapsedTimer t;
    t.start();
    ctl<QPushButton>(w, "Command1")->click();
    const QString file = ctl<QLineEdit>(w, "opfile")->text();
    std::printf("primes %d: %8.1f ms in the window (%s), file %lld bytes\n", n, t.nsecsElapsed() / 1e6,
                qPrintable(ctl<QLineEdit>(w, "listcount")->text()), QFileInfo(file).size());
    w.unload();
}

void strip(int lines, const TempFolders& folders)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 42);
    for (int i = 0; i < lines; ++i) {
        bytes += "\tcase ";
        bytes += QByteArray::number(i % 1000);
        bytes += ":\tvalue = table[i];\t/* \xb5s */\r\n";
    }
    const QString path = writeFile(folders.workFile("big.c"), bytes);
    popup("Util_tabstripper");
    auto& w = FormSlots::get<Util_tabstripper>();
    FileChoiceAnswer pick(path);
    QElapsedTimer t;
    t.start();
    ctl<QPushButton>(w, "Command1_0")->click();
    std::printf("strip %d lines, %lld bytes: %8.1f ms in the window (%s; %s lines; %lld characters shown)\n", lines,
                qint64(bytes.size()), t.nsecsElapsed() / 1e6, qPrintable(ctl<QLineEdit>(w, "sysstatus")->text()),
                qPrintable(ctl<QLineEdit>(w, "rlines")->text()),
                qint64(ctl<QPlainTextEdit>(w, "processedfile")->document()->characterCount()));
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
    const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("primes");
    const int size = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 0;
    if (what == u"strip")
        strip(size > 0 ? size : 250000, folders);
    else
        primes(size > 0 ? size : 1000000);
    destroyMainWindow();
    return 0;
}
