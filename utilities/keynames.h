#pragma once
// Short names of the non-printing keys, by key code (8 Backspace, 9 Tab,
// 13 Enter, 20 Caps Lock, 27 Escape, 33-40 the page and arrow keys, 45
// Insert, 46 Delete, 112-123 F1-F12); "" for every other code.

#include <QString>

QString keyName(int keycode);

// The shift state of a key-down as the key scanner shows it: a modifier
// key counts in the state it sets (Shift alone gives 1, Ctrl 2, Alt 4),
// whether or not the platform has added it yet.
int keyShiftState(int keycode, int shift);
