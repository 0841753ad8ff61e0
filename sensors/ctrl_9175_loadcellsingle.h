#pragma once
// The 9175 single load-cell board: raw and difference ADC streams, the
// zero, and the trip threshold, trip delay and flash delay kept on the
// board.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_9175_loadcellsingle : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9175_loadcellsingle();

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
};
