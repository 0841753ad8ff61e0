#pragma once
// Quitting the program in the middle of a test, and standing it up again.
//
//   QTimer::singleShot(20, [] { mainWindow().close(); }); // the user quits
//   ... a handler waits and returns ...
//   recoverFromQuit();

// Clears the quitting state, lets the application's exit request settle
// and shows the main window again, so the test run goes on.
void recoverFromQuit();
