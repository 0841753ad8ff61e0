#pragma once
// The 8028 gated counter controller: configures the board's three counters
// (gated by a 20 MHz clock or counting edges), starts, stops, clears and
// reads them, switches the board's automatic update and shows the counts
// and a diagram of the board's 9-pin connector.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_8028_gatedcounter : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8028_gatedcounter();

    // Indices of the Command1 array.
    enum Button {
        AutoOn = 0,
        AutoOff = 1,
        Clear = 2,
        Start = 3,
        Stop = 4,
        Read = 5,
        Configure = 6,
        Connection = 7
    };

    SerialController serial;
    // Set while the load handler runs: its choices in the lists send nothing.
    int loading = 0;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);
    void cconfig_Click(int index);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void sendConfig();
};
