#pragma once
// The FFT test bench: one or two sine tones transformed by the double or
// the integer radix-2 routine, the signal and the bin magnitudes drawn in
// one picture, and the bins listed as a table on request.

#include "common/toolwindow.h"

class Math_ffttester : public ToolWindow {
    Q_OBJECT
public:
    Math_ffttester();

    // "Plot".
    void Command1_Click();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void sampleroot_Change();
};
