// Starts the main window and opens and closes every menu entry, reporting
// the time each window takes to open (load handler included) and to close.
// Every entry must open a window and close it again.
//
//   bench_windows [--smoke]   (one size: the run is short)

#include "app/a_main.h"
#include "app/menutree.h"
#include "app/windowtable.h"
#include "bench/benchkit.h"
#include "common/toolwindow.h"
#include "support/tempfolders.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TempFolders folders;
    QTimer closer; // answers any alert a window raises on load
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            m->close();
    });
    closer.start();

    QElapsedTimer t;
    t.start();
    mainWindow().show();
    QCoreApplication::processEvents();
    std::printf("main window: %.2f ms\n", t.nsecsElapsed() / 1e6);

    double total = 0;
    for (const MenuEntry& e : menuTree()) {
        t.restart();
        popup(e.name);
        QCoreApplication::processEvents();
        const double open = t.nsecsElapsed() / 1e6;
        ToolWindow& w = windowFor(e.name);
        const bool opened = w.isLoaded();
        t.restart();
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const double close = t.nsecsElapsed() / 1e6;
        bench::verdict().check(opened && !w.isLoaded(), "%s: %s", qPrintable(e.name),
                               opened ? "still loaded after unload" : "no window opened");
        total += open + close;
        std::printf("%-28s open %8.2f ms  close %8.2f ms\n", qPrintable(e.name), open, close);
    }
    std::printf("all %d entries: %.1f ms\n", int(menuTree().size()), total);
    destroyMainWindow();
    return bench::verdict().exitCode();
}
