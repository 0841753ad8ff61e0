#pragma once
#include "common/designtool.h"

class QSlider;

// LM555 astable: frequency and duty cycle from two potentiometers on
// sliders, their series limit resistors and the timing capacitor.
class Osc_lm555astable : public DesignTool {
    Q_OBJECT
public:
    Osc_lm555astable();

protected:
    void build(QWidget* form) override;
    void recalc(int which) override;
    // Enter or leaving any box re-formats every input box.
    void reformat(int index) override;

private:
    struct Ui : Controls {
        QSlider* Slider1[2] = {};
    };
};
