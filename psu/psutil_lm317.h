#pragma once
#include "common/designtool.h"

class QComboBox;

// LM317 feedback divider, solved both ways: from the resistors to the
// output range, and from the output range to R-Set and the pot.
class PSUtil_lm317 : public DesignTool {
    Q_OBJECT
public:
    PSUtil_lm317();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void recalc(int which) override;
    void keyTyped(int index, int key) override;

private:
    struct Ui : Controls {
        QComboBox* potlist = nullptr;
    };
    void potlist_Click();
    // The box in which a key was last pressed: it decides the direction.
    int m_which = 2;
};
