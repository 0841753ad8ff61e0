#pragma once
#include "common/toolwindow.h"

class QPainter;

// The basic flyback circuit the calculator's names refer to.
class PSUtil_flybacksch : public ToolWindow {
    Q_OBJECT
public:
    PSUtil_flybacksch();

protected:
    void build(QWidget* form) override;
};

// Draws the circuit on a 400 x 283 surface.
void drawFlybackSchematic(QPainter& p);
