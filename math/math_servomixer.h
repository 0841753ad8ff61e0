#pragma once
// Servo mixer tester: a press in the joystick area becomes the stick
// channels CH0 and CH1, mixed by sector into the two motor outputs PWM0
// and PWM1, each shown as a positive and a negative bar. The sector table
// can be shown as text for writing the mixer into firmware.

#include "common/toolwindow.h"

class Math_servomixer : public ToolWindow {
    Q_OBJECT
public:
    Math_servomixer();

    // A press at (x, y) twips in the joystick area.
    void Picture1_MouseDown(double x, double y);
    void showcode_Click();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ui;
    Ui* ui() const;
    void drawJoystick();
};
