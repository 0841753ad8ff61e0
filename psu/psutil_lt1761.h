#pragma once
#include "common/designtool.h"

// LT1761 feedback divider with the feedback pin's bias current: solves
// RBot from Vout and RTop, or Vout from both resistors. The resistor boxes
// take a standard value from the resistor picker on a double click.
class PSUtil_lt1761 : public DesignTool {
    Q_OBJECT
public:
    PSUtil_lt1761();

protected:
    void build(QWidget* form) override;
    void recalc(int which) override;

private:
    void pickResistor(int index);
};
