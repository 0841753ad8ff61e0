#pragma once
#include "common/designtool.h"

class QComboBox;

// Inductor wound on a magnetic core: turns for an inductance (or the
// inductance of a number of turns), working flux, and what the core carries.
class PSUtil_inductorcore : public DesignTool {
    Q_OBJECT
public:
    PSUtil_inductorcore();

protected:
    void recalc(int which) override;
    void build(QWidget* form) override;
    void onLoad() override;
    int keyUpWhich(int index) const override;
    void keyTyped(int index, int key) override;

private:
    struct Ui : Controls {
        QComboBox* coreselector = nullptr;
    };
    void coreselector_Click(int index);
};
