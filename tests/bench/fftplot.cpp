// Times the FFT test bench's "Plot" at 65536 samples with the bin table on,
// in integer and in double mode, through the window's own button. Each plot
// must list every bin of the lower half and find the peak at the bin of the
// signal's frequency.
//
//   bench_fftplot [--smoke]   (1024 samples)

#include "app/a_main.h"
#include "bench/benchkit.h"
#include "common/toolwindow.h"
#include "math/math_ffttester.h"
#include "support/tempfolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TempFolders folders;
    mainWindow().show();

    popup(QStringLiteral("Math_ffttester"));
    Math_ffttester& w = FormSlots::get<Math_ffttester>();
    QWidget* form = w.form();
    const bool smoke = bench::smokeRun(argc, argv);
    const int root = smoke ? 10 : 16;
    form->findChild<QLineEdit*>(QStringLiteral("sampleroot"))->setText(QString::number(root));
    form->findChild<QCheckBox*>(QStringLiteral("datatable"))->setChecked(true);
    auto* plot = form->findChild<QPushButton*>(QStringLiteral("Command1"));

    const int runs = smoke ? 3 : 7;
    for (const bool integer : {true, false}) {
        form->findChild<QCheckBox*>(QStringLiteral("floatnint"))->setChecked(integer);
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            plot->click();
            ms.push_back(t.nsecsElapsed() / 1e6);
            QCoreApplication::processEvents();
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%d-sample plot with table, %s: median %.1f ms (min %.1f, max %.1f, %d runs)\n", 1 << root,
                    integer ? "integer" : "double", ms[runs / 2], ms.front(), ms.back(), runs);
        // A heading and one line per bin of the lower half; the largest
        // magnitude in it is the one shown, at the bin of the signal's
        // frequency: n samples over a period of p samples, n / p bins.
        const QStringList lines = form->findChild<QPlainTextEdit*>(QStringLiteral("resa"))->toPlainText().split(u'\n');
        const double peak = form->findChild<QLineEdit*>(QStringLiteral("fftmax"))->text().toDouble();
        const double period = form->findChild<QLineEdit*>(QStringLiteral("period"))->text().toDouble();
        const int expectedBin = qRound((1 << root) / period);
        int peakBin = -1;
        double largest = -1;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringList f = lines[i].trimmed().split(u'\t');
            if (f.size() < 3)
                continue;
            if (const double m = f[2].toDouble(); m > largest) {
                largest = m;
                peakBin = f[0].toInt();
            }
        }
        bench::verdict().check(lines.size() == (1 << root) / 2 + 1 && peak > 0 && largest == peak
                                   && peakBin == expectedBin,
                               "%s plot: %lld table lines, peak %g at bin %d (largest listed %g, expected bin %d)",
                               integer ? "integer" : "double", qint64(lines.size()), peak, peakBin, largest,
                               expectedBin);
    }
    w.unload();
    destroyMainWindow();
    return bench::verdict().exitCode();
}
