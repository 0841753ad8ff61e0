#pragma once
// Walking every window of the table through the frame, as a user opens
// them from the menu: each is popped up, shown, handed to the check and
// closed again before the next.

#include "app/a_main.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QTest>

// The frame shown and active, so that keys and clicks reach its windows.
inline bool frameActive()
{
    mainWindow().show();
    // A window of another test may have taken the activation: ask for it
    // back as the platform does, not only as Qt's own record.
    mainWindow().activateWindow();
    QApplication::setActiveWindow(&mainWindow());
    return QTest::qWaitForWindowActive(&mainWindow());
}

// Unloads every window (the end of a test that opened some).
inline void unloadAllWindows()
{
    for (ToolWindow* w : FormSlots::all())
        w->unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// check(entry, window, form) for every window that opens and shows.
template <class Check>
void forEachShownWindow(Check check)
{
    for (const WindowEntry& e : windowTable()) {
        ToolWindow& w = e.instance();
        mainWindow().popup(e.name);
        if (!w.isLoaded() || !w.form()->isVisible())
            continue;
        check(e, w, w.form());
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
