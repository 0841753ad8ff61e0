#pragma once
// Waiting while the event loop runs: the pacing delay and the wait for an
// awaited reply. Both use a monotonic clock, so midnight is not special,
// and both end early when the window whose handler waits is closed, or
// when the program quits.

#include <functional>

// Waits n hundredths of a second while serving the event loop. n = 0
// returns at once; a negative n serves the event loop once.
void delay(const int& n);

// Serves the event loop until done() is true (returns true), the time-out
// in milliseconds passes, or the wait is aborted (both return false).
bool waitfor(const std::function<bool()>& done, int timeoutMs);

// True when a wait should end early: the program is quitting, or the
// window whose handler runs now has been closed.
bool waitAborted();

// The program is quitting: every wait ends.
void setQuitting(bool on);
bool quitting();
