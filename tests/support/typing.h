#pragma once
// Driving the boxes of a tool window the way a user does.

#include <QPoint>
#include <QStyle>
#include <QString>

class QLineEdit;
class QWidget;
class ToolWindow;

// The named box of a loaded window (fails the test when missing).
QLineEdit* boxNamed(ToolWindow& window, const QString& name);
// Shows the window the widget lives in, activates it and focuses the widget.
void giveFocus(QWidget* w);
// Focuses the box and types the keys (through the key filter).
void typeInto(QLineEdit* box, const QString& keys);
// Focuses the box, selects its text and types the keys in its place.
void retype(QLineEdit* box, const QString& keys);
void pressEnter(QLineEdit* box);
// Takes the focus away from the box (its leave handling runs).
void leaveBox(QLineEdit* box);
// Replaces the whole text as a paste does: no key filter on the way.
void paste(QLineEdit* box, const QString& text);

// Whether the widget takes an input method's text. The platform keeps dead
// keys and compose sequences for a widget that does, and hands it only the
// text they make; one that does not gets every key as a key.
bool takesInputMethodText(QWidget* w);
// Focuses the widget and hands it text as an input method does after a
// dead key or a compose sequence: the sequence being composed, then the
// committed text in its place.
void commitInputText(QWidget* w, const QString& composing, const QString& text);

class QAbstractSlider;
class QScrollBar;

// The centre of a part of a scroll bar or slider (its handle, an arrow, the
// groove) in the widget's coordinates, where a click on that part lands.
QPoint subControlCentre(QAbstractSlider* s, QStyle::ComplexControl cc, QStyle::SubControl sc);

// A mouse drag of a scroll bar's handle: the constructor
// presses on the middle of the handle, moveBy() moves the mouse along the
// bar with the button held, release() lets go where the mouse is.
class HandleDrag {
public:
    explicit HandleDrag(QScrollBar* bar);
    ~HandleDrag();
    HandleDrag(const HandleDrag&) = delete;
    HandleDrag& operator=(const HandleDrag&) = delete;
    void moveBy(int pixels);
    void release();

private:
    QScrollBar* m_bar;
    QPoint m_at;
    bool m_down = false;
};
