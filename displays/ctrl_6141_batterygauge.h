#pragma once
// The 6141 battery gauge board's diagnostic: every report it sends shown
// raw, as a value and as a trend, with an activity indicator and an
// optional log of the values.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_6141_batterygauge : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_6141_batterygauge();

    SerialController serial;

    void process(int what, const QString& text = QString());

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void logValue(const QString& value);
};
