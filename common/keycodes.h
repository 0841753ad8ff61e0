#pragma once
#include <Qt>
#include <QtGlobal>

class QKeyEvent;

// Key code of a key-down/up event in the classic virtual-key numbering:
// letters and top-row digits as their upper-case codes, 13 Enter, 27
// Escape, 37-40 arrows, 96-105 keypad digits, 106-111 keypad operators,
// 144 Num Lock, 145 Scroll Lock, 186-192, 219-223 and 226 the punctuation
// keys, 91/92 the Windows keys, 93 Apps. A key that numbering has no code
// for gets a code above 255 of its own, which no other key shows.
int vbKeyCode(const QKeyEvent* e);
// The same from the parts of the event. On X11 the native scan code is the
// X key code (the physical key) and the native virtual key the X keysym
// (what the layout makes of it); both 0 when the platform gives neither, and
// then the Qt key alone decides, read as on a US keyboard.
int vbKeyCode(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey, Qt::KeyboardModifiers mods);
// Shift state: 1 Shift, 2 Ctrl, 4 Alt.
int vbShiftState(Qt::KeyboardModifiers mods);
// Character code of a key press, or -1 when the key produces no character
// (arrows, Delete, Tab, function keys): those never reach key-press filters.
// Ctrl with a letter or one of [ \ ] ^ _ gives its control character
// (Ctrl+C 3), as the platform types it.
int keyPressCode(const QKeyEvent* e);
// The platform's editing shortcuts (select all, copy, cut, paste, undo,
// redo). They pass every key filter: filters judge typed characters, and
// what a paste brings is read like any other text of the box.
bool isEditingShortcut(const QKeyEvent* e);
// The copy gestures that type no control character: Ctrl+Insert, Ctrl+Shift+C
// and a Copy key.
bool isCopyGesture(const QKeyEvent* e);
