#pragma once
// Sub-BCD compression converter: a 9-character decimal text and its 32-bit
// integer form in hex, each box converting into the other as it is typed,
// with a code sample for the direction being worked on.

#include "common/toolwindow.h"

class Math_bcdcompress : public ToolWindow {
    Q_OBJECT
public:
    Math_bcdcompress();

    // 0 at first, 1 after the decimal box got the focus, 2 after the hex box.
    int convdirection() const { return m_convdirection; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onActivate() override;

private:
    struct Ui;
    Ui* ui() const;
    void decimalToHex();
    void hexToDecimal();
    void padDecimal();
    void padHex();

    int m_convdirection = 0;
};
