#pragma once
#include "common/designtool.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// PIC baud-rate calculator: the SPBRG value, the baud rate it really
// gives and its error, in low and high speed mode.
class PIC_picbaud : public DesignTool {
    Q_OBJECT
public:
    PIC_picbaud();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void recalc(int which) override;

private:
    struct Ui : Controls {
        QComboBox* clock[3] = {};
        QLineEdit* manual = nullptr;
        QCheckBox* times4 = nullptr;
        QLineEdit* useclock = nullptr;
        QPushButton* Command1 = nullptr;
    };
    void clock_Click(int index);
    int manual_KeyPress(int key);
};
