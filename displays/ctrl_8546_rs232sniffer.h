#pragma once
// The 8546 sniffer board: both directions of a serial link, captured as
// three-byte records at 256000 baud and paged 128 columns at a time, each
// byte as its character with the hex digits stacked beside it.

#include "snifferrows.h"

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class QTimer;

class Ctrl_8546_rs232sniffer : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8546_rs232sniffer();

    SerialController serial;
    SnifferRows rows;

    // Cuts every complete record out of the receive buffer (what: 255).
    void process(int what, const QString& text = QString());
    // One column per channel (values 0 to 256), or with 257 a redraw only.
    void update(int valueA, int valueB);
    void clearbuffer();
    void Command1_Click(int index);

    // The longest the page waits before it shows new columns, in ms.
    static constexpr int redrawInterval = 33;

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void afterOpen();
    void depthChosen();
    void redraw();
};
