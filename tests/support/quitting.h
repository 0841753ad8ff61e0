#pragma once
// Quitting the program in the middle of a test, and standing it up again.
//
//   QTimer::singleShot(20, [] { mainWindow().close(); }); // the user quits
//   ... a handler waits and returns ...
//   recoverFromQuit();
//
//   closeOrQuit(w, quit);            // the user closes the window, or quits
//   QVERIFY(closedAndRecovered(w, quit));

#include <QTimer>
#include <functional>

class ToolWindow;

// Clears the quitting state, lets the application's exit request settle
// and shows the main window again, so the test run goes on.
void recoverFromQuit();

// Closes the window by its close box (its sub-window's in the main window),
// or, with quit, closes the main window, which quits the program.
void closeOrQuit(ToolWindow& w, bool quit);
// Waits until the window has unloaded and what it left is deleted; after a
// quit, stands the program up again. False when the window stayed loaded.
bool closedAndRecovered(ToolWindow& w, bool quit, int timeoutMs = 5000);

// Closes a window, or quits the program, in the middle of its work: the
// first time the event loop is served while busy() holds.
//
//   EndMidway end(window, [] { return window.processing(); }, quit);
//   ... start the work; it returns early ...
//   QVERIFY(end.ended());        // also clears the quitting state
class EndMidway {
public:
    EndMidway(ToolWindow& window, std::function<bool()> busy, bool quit);
    // Whether the window was ended; the program no longer quits after it.
    bool ended();

private:
    QTimer m_timer;
    bool m_ended = false;
};
