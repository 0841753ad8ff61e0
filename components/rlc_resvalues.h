#pragma once
// Standard Values: every value of the 1 % or the 5 % resistor series.

#include "common/toolwindow.h"

class QComboBox;
class RtfView;

class RLC_resvalues : public ToolWindow {
    Q_OBJECT
public:
    RLC_resvalues();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        QComboBox* partselector = nullptr;
        RtfView* datalist = nullptr;
    };
    void partselector_Click();
};
