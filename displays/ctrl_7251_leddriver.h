#pragma once
// The 7251B two-colour LED driver's front panel: period, prescaler and
// duty-cycle sliders with their counts, a duty cycle never exceeding its
// period. It sends nothing.

#include "common/toolwindow.h"

class Ctrl_7251_leddriver : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_7251_leddriver();

    // Writes the seven counts under the sliders.
    void upddisp();
    // Fits the duty sliders' ranges to their periods.
    void adjustdc();

    // The duty range for a period slider's value: 0..(period count + 1),
    // at most 0..255.
    static int dutyMax(int periodValue);

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
};
