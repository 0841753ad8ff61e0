#pragma once
#include "common/designtool.h"

class QSlider;

// Set-up resistors of the UCC3808x push-pull PWM controller: oscillator
// timing, current limit and slope compensation. A slider sets Rtiming.
class PSUtil_ucc38084 : public DesignTool {
    Q_OBJECT
public:
    PSUtil_ucc38084();

protected:
    void build(QWidget* form) override;
    void recalc(int which) override;

private:
    struct Ui : Controls {
        QSlider* rtiming = nullptr;
    };
};
