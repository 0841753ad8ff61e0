#pragma once
#include "common/designtool.h"

class QRadioButton;

// PIC RC oscillator: solves the clock resistor, the clock capacitor or the
// frequency from the other two, and estimates the oscillator's current.
class Osc_picrcosc : public DesignTool {
    Q_OBJECT
public:
    Osc_picrcosc();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void recalc(int which) override;

private:
    struct Ui : Controls {
        QRadioButton* dvariable[3] = {};
    };
    void dvariable_Click(int index);
    // Brings a confirmed box within its limits and re-formats it.
    void limit(int index);
    int solved() const;
};
