#pragma once
#include <Qt>

class QKeyEvent;

// Key code of a key-down/up event in the classic numbering (letters and
// digits as their upper-case codes, 13 Enter, 27 Escape, 37-40 arrows...).
int vbKeyCode(int qtKey);
// Shift state: 1 Shift, 2 Ctrl, 4 Alt.
int vbShiftState(Qt::KeyboardModifiers mods);
// Character code of a key press, or -1 when the key produces no character
// (arrows, Delete, Tab, function keys): those never reach key-press filters.
int keyPressCode(const QKeyEvent* e);
// The platform's editing shortcuts (select all, copy, cut, paste, undo,
// redo). They pass every key filter: filters judge typed characters, and
// what a paste brings is read like any other text of the box.
bool isEditingShortcut(const QKeyEvent* e);
