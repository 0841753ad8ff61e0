#pragma once
#include "common/toolwindow.h"

#include <array>

class QLineEdit;

// Shows the key code, the shift state and a short name of each key
// pressed. The window takes every key before its controls do and keeps it:
// no key edits a box, moves the focus or reaches a shortcut.
class Util_keyscan : public ToolWindow {
    Q_OBJECT
public:
    Util_keyscan();
    // Fills the three boxes for a key.
    void keydisplay(int keycode, int shift);

protected:
    void build(QWidget* form) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ui : Controls {
        std::array<QLineEdit*, 2> ccode{};
        QLineEdit* Text1 = nullptr;
    };
    void keyDown(int keycode, int shift);
    void keyUp();
};
