#pragma once
#include "common/designtool.h"

class QComboBox;

// Winding a toroidal core by hand: turn length, winding length and the turns
// to load onto a shuttle.
class PSUtil_shuttlecalc : public DesignTool {
    Q_OBJECT
public:
    PSUtil_shuttlecalc();

protected:
    // which >= 0 (Enter or leaving a box) tidies the inputs after computing.
    void recalc(int which) override;
    void build(QWidget* form) override;
    void onLoad() override;
    void keyTyped(int index, int key) override;

private:
    struct Ui : Controls {
        QComboBox* coreselector = nullptr;
    };
    void compute();
    void tidy();
};
