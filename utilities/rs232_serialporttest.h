#pragma once
// The serial port tester: switches a port's DTR and RTS lines, watches its
// DSR, CTS, DCD and ring lines, sends single letters or digits and shows the
// last character that came back.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class RS232_serialporttest : public ToolWindow {
    Q_OBJECT
public:
    RS232_serialporttest();

    SerialController serial;

    // 255: shows the last received character and empties ReceiveBuffer.
    void process(int what);
    void Check1_Click(int index);
    void Timer1_Timer();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void afterOpen();
    int Text1_KeyPress(int key);
};
