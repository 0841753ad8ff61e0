#pragma once
#include "common/designtool.h"

class QComboBox;
class QRadioButton;

// Transformer of a push-pull or forward converter: one primary, up to four
// secondaries, regulated ("Reg") or saturating ("Sat") conversion.
class PSUtil_pushpullforward : public DesignTool {
    Q_OBJECT
public:
    PSUtil_pushpullforward();

    // First box of secondary block k (1-4).
    static int blockBase(int k) { return 8 + 5 * (k - 1); }

protected:
    void recalc(int which) override;
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        QComboBox* coreselector = nullptr;
        QRadioButton* convmode[2] = {nullptr, nullptr};
    };
    void coreselector_Click(int index);
    void convmode_Click();
    void Command1_Click(int index);
    void lockBox(int index, bool locked);
};
