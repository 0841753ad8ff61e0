#pragma once
// Driving the boxes of a tool window the way a user does.

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
