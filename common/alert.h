#pragma once
#include <QString>

// Shows the shared alert window and returns -1 for OK, 0 for Cancel or any
// other way of closing it. Mode 0: beep, centred text; 1: no beep, left-
// aligned text; 2: beep, the error being handled (number and description);
// any other mode, or an alert already on screen: nothing, answer 0.
int alertbox(const QString& title, const QString& text, int mode);

// The program's one beep.
void beep();
// How many beeps so far (the platform beep cannot be heard in tests).
int beepCount();
