#pragma once
#include <Qt>
#include <QtGlobal>

#include <array>

class QKeyEvent;

// Key code of a key-down/up event in the classic virtual-key numbering:
// letters and top-row digits as their upper-case codes, 13 Enter, 27
// Escape, 37-40 arrows, 96-105 keypad digits, 106-111 keypad operators,
// 144 Num Lock, 145 Scroll Lock, 186-192, 219-223 and 226 the punctuation
// keys, 91/92 the Windows keys, 93 Apps. A key that numbering has no code
// for gets a code above 255 of its own, which no other key shows.
int vbKeyCode(const QKeyEvent* e);
// The same from the parts of the event. On X11 the native scan code is the
// X key code (the physical key), the native virtual key the X keysym (what
// the layout makes of it) and the native modifiers the X state, whose group
// bits tell which layout of the keymap is in use. A key shows the code of
// the symbol it gives without modifiers on the active layout, whatever
// Shift or AltGr make it type; the keypad follows Num Lock, and Ctrl+Pause
// gives 3. A key the active keymap does not hold as given is read from what
// it gave. With neither native code the Qt key alone decides, read as on a
// US keyboard.
int vbKeyCode(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey, Qt::KeyboardModifiers mods,
              quint32 nativeModifiers = 0);
// The codes of the keys of one layout, by X key code, from the keysym each
// key gives without modifiers (0 where there is no key): the classic code
// of that symbol, else the code of the key's place on a US keyboard while
// no other key of the layout has it, else a code above 255 of the key's
// own. Apart from the pairs the numbering itself gives one code (left and
// right Shift, Ctrl and Alt, the two Enter keys, Delete and the keypad's),
// no two keys get one code.
std::array<int, 256> layoutKeyCodes(const std::array<quint32, 256>& base);
// Forgets the keymap read so far: the next key event reads the active one.
// A keymap that no longer matches the keys is read again by itself, at most
// once a second.
void keyboardLayoutChanged();
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
