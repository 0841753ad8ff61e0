#pragma once
// The 9619 diode leakage controller: switches the heated fixture's heater
// and sampling mode, sets its target temperature with a slider, plots the
// junction temperature and the diode's reverse current on a 51-point trend
// and logs each report to one or two CSV files.

#include "trendbuffer.h"

#include "common/logfile.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <array>

class Ctrl_9619_diodeir : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9619_diodeir();

    // Indices of the cmmd array.
    enum Button { Pulsed = 0, Continuous = 1, HeaterOn = 2, HeaterOff = 3 };

    SerialController serial;
    // Rows: temperature, current (trend units).
    TrendBuffer plotdata{2, 51};

    void process(int what, const QString& text = QString());
    void cmmd_Click(int index);
    void refreshplot();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;
    void onActivate() override;

private:
    struct Ui;
    Ui* ui() const;
    void sliderChange();
    void sliderScroll(int value);
    void scalefactorClick();
    void clearTrend();
    void report(const QString& frame);

    std::array<LogSequence, 2> m_logs;
    // The slider's value when last settled, and whether the user (not the
    // program) is moving it without the thumb held.
    int m_settled = 25;
    bool m_userMove = false;
};
