#pragma once
// The 9767 junction-temperature test controller: measures the forward
// current, voltage and power of a junction under heater load and its open
// forward voltage at a 1 mA bias, computes the temperature coefficient, the
// junction temperature and the thermal resistance junction to ambient, logs
// each test result, plots the last 201 and keeps its calibration between
// runs.

#include "trendbuffer.h"

#include "common/logfile.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <QStringList>

class Ctrl_9767_junctiontemp : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9767_junctiontemp();

    // Indices of the cmmd array.
    enum Button { VfIf = 0, On = 1, Off = 2, Vf = 3, Single = 4, StartTest = 5, Connection = 6 };

    SerialController serial;
    // Rows: junction temperature, open forward voltage, power (plot units).
    TrendBuffer plotdata{3, 201};

    void process(int what, const QString& text = QString());
    void cmmd_Click(int index);
    void recalctc();
    void refreshplot();
    void scaleset();

    // The settings file in the program's folder.
    static QString settingsPath();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;
    void onActivate() override;

private:
    struct Ui;
    Ui* ui() const;
    void testResult();
    void logResult();

    QStringList m_settings;
    LogSequence m_log;
};
