#pragma once
// The XTEA cipher tester: enciphers and deciphers one 64-bit block with a
// 128-bit key, all typed as hexadecimal digits, beside the stored test
// vectors' expected cipher text.

#include "common/toolwindow.h"

class QLineEdit;

class Math_xteatester : public ToolWindow {
    Q_OBJECT
public:
    Math_xteatester();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    void chooseVector(int index);
    void doit(int index);
    void encipher();
    void decipher();
    void hexEdited(QLineEdit* box);
};
