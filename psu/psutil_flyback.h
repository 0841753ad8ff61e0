#pragma once
#include "common/designtool.h"

// Voltages of a two-output flyback converter from its turns; the
// "Schematic" button shows the circuit the names refer to.
class PSUtil_flyback : public DesignTool {
    Q_OBJECT
public:
    PSUtil_flyback();

protected:
    void build(QWidget* form) override;
    void recalc(int which) override;

private:
    void schematic_Click();
};
