#pragma once
// The 7510 platform's MAX5408 dual audio potentiometer front panel: two
// wipers and the mute, zero-crossing, analogue power and amplifier
// switches. It sends nothing.

#include "common/toolwindow.h"

class Ctrl_7510_dualpot : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_7510_dualpot();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
};
