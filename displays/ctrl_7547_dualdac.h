#pragma once
// The 7547 dual DAC board: two 12-bit outputs set from scroll bars or typed
// codes, the board's two 10-bit readings, and logs of what went each way.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_7547_dualdac : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_7547_dualdac();

    SerialController serial;

    void process(int what, const QString& text = QString());
    // Logs the command, sends it and pauses `wait` hundredths of a second,
    // with the status showing "Wait" meanwhile.
    void comwrite(const QString& text, int wait);
    void translate_temps();
    void set_limits();
    void scroll_tx();
    void serialcmmd_Click(int index);
    void baudrateselect_Click();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    int level(int channel) const;
    void writeDacs();
};
