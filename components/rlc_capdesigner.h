#pragma once
#include "passivedesign.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// Parallel-plate capacitor, flat, stacked or rolled: area, stack height,
// capacitance, breakdown voltage and stored energy.
class RLC_capdesigner : public PassiveDesign {
    Q_OBJECT
public:
    RLC_capdesigner();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void recalc(int which) override;
    void boxEnter(int index) override;
    void boxLeave(int index) override;

private:
    struct Ui : Controls {
        QLineEdit* area = nullptr;
        QCheckBox* rolled = nullptr;
        QLineEdit* stackup = nullptr;
        QComboBox* material = nullptr;
        QLineEdit* dconstant = nullptr;
        QLineEdit* dstrength = nullptr;
        QLineEdit* capacitance[4] = {};
        QLineEdit* bvolts = nullptr;
        QCheckBox* usemax = nullptr;
        QLineEdit* energy = nullptr;
    };
    void material_Click();
    void hookDielectricBox(QLineEdit* b);
    void Label1_DblClick();
    bool ownMaterial() const;
    // The user's own material ("Select"), kept while the window lives.
    double m_ownK = 1.0;
    double m_ownStrength = 1.0;
    bool m_computing = false;
};
