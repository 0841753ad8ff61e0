#pragma once
// Resistor Divider: solves the two-resistor voltage divider for the
// quantity marked as dependent (R1, R2, Vin or Vout).

#include "common/designtool.h"

class QRadioButton;

class RLC_rdivider1 : public DesignTool {
    Q_OBJECT
public:
    RLC_rdivider1();

protected:
    void build(QWidget* form) override;
    void recalc(int which) override;
    void boxEnter(int index) override;
    void boxLeave(int index) override;

private:
    struct Ui : Controls {
        QRadioButton* lockedval[4] = {};
    };
    void lockedval_Click(int index);
    void pickResistor(int index);
    int dependent() const;
    // Enter in a box, or leaving it: repairs may be written into it.
    void settle(int index);
    bool m_settling = false;
};
