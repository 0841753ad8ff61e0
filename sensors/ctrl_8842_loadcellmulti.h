#pragma once
// The 8842 four-channel load-cell board: a stream of readings in pounds or
// counts, the input scalers, the DAC commands, and a CSV log of readings.

#include "common/logfile.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_8842_loadcellmulti : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8842_loadcellmulti();

    SerialController serial;
    // Readings since the activity box last changed.
    int activitycount = 0;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    LogSequence m_log;
};
