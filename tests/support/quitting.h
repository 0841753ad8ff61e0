#pragma once
// Quitting the program in the middle of a test, and standing it up again.
//
//   QTimer::singleShot(20, [] { mainWindow().close(); }); // the user quits
//   ... a handler waits and returns ...
//   recoverFromQuit();
//
//   closeOrQuit(w, quit);            // the user closes the window, or quits
//   QVERIFY(closedAndRecovered(w, quit));

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
