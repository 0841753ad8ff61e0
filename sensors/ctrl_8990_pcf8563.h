#pragma once
// The 8990 real-time-clock tester: a PCF8563 reached through the I2C bridge
// board on the first port (time read, set from the PC clock, 1 Hz output),
// its offset to the PC clock measured at every change of its seconds, and
// the crystal's error and trim from a counter board on the second port.

#include "rtcclock.h"

#include "common/logfile.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_8990_pcf8563 : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8990_pcf8563();

    SerialController serial;  // the I2C bridge board
    SerialController serial2; // the counter board

    // The chip's time of day (seconds) from the last decoded reading.
    double chipTime = 0;
    // The counter box pair the next count fills (0: 0 pF, 1: 20 pF).
    int countSlot = 0;

    void command(const QString& name);
    void cmmd_Click(int index);
    void cmmd2_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();
    void process(int what, const QString& text = QString());
    void process2(int what, const QString& text = QString());

    // The log in the work folder.
    static QString logPath();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void timeSet();
    void holdControls(bool held);
    void scheduleTimers();

    static constexpr int pollMs = 20;    // Timer1: a reading every poll
    static constexpr int measureMs = 5;  // Timer2: the offset's resolution

    rtcclock::OffsetMeter m_meter;
    LogSequence m_log;
    bool m_setting = false;
};
