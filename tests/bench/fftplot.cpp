// Times the FFT test bench's "Plot" at 65536 samples with the bin table on,
// in integer and in double mode, through the window's own button.

#include "app/a_main.h"
#include "common/toolwindow.h"
#include "math/math_ffttester.h"
#include "support/tempfolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
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
    form->findChild<QLineEdit*>(QStringLiteral("sampleroot"))->setText(QStringLiteral("16"));
    form->findChild<QCheckBox*>(QStringLiteral("datatable"))->setChecked(true);
    auto* plot = form->findChild<QPushButton*>(QStringLiteral("Command1"));

    const int runs = 7;
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
        std::printf("65536-sample plot with table, %s: median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                    integer ? "integer" : "double", ms[runs / 2], ms.front(), ms.back(), runs);
    }
    w.unload();
    destroyMainWindow();
    return 0;
}
