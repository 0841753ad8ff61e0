#pragma once
#include "common/designtool.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// ADC scale factor: the integer that turns a sum of ADC readings, shifted
// right by a power of two, into a result in chosen units.
class Math_adcscaler : public DesignTool {
    Q_OBJECT
public:
    Math_adcscaler();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void recalc(int which) override;
    void reformat(int index) override;

private:
    struct Ui : Controls {
        QComboBox* adcwidth = nullptr;
        QComboBox* postdivide = nullptr;
        QLineEdit* adcfs = nullptr;
        QLineEdit* pdfs = nullptr;
        QLineEdit* scaler = nullptr;
        QLineEdit* resultbits = nullptr;
        QPushButton* Command1 = nullptr;
    };
    void pickResistor(int index);
};
