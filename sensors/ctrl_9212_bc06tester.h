#pragma once
// The 9212 BC06 latch-up tester: starts single or continuous test cycles
// with pads 5 to 7 of the module optionally grounded, judges each VDDPADS
// voltage against the threshold and counts passing and failing cycles.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_9212_bc06tester : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9212_bc06tester();

    // Indices of the Command1 array.
    enum Button { SingleCycle = 0, Continuous = 1, Stop = 2, ClearCounts = 3 };

    SerialController serial;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void reformatThreshold();
    int clampMask() const;
    void result(int millivolts);
};
