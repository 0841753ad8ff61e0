#pragma once
#include "common/designtool.h"

// Series L/C/R circuit: resonant frequency, reactance at resonance and Q.
class RLC_resonance : public DesignTool {
    Q_OBJECT
public:
    RLC_resonance();

protected:
    void build(QWidget* form) override;
    void recalc(int which) override;
    void boxEnter(int index) override;
    void boxLeave(int index) override;

private:
    struct Ui : Controls {
        QLineEdit* fr = nullptr;
        QLineEdit* reactance = nullptr;
        QLineEdit* q = nullptr;
    };
    // A confirmed value is never below the smallest the format shows.
    void confirm(int index);
};
