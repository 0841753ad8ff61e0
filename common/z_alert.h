#pragma once
#include "toolwindow.h"

class QTextEdit;
class QPushButton;
class QRadioButton;

// The shared modal alert window.
class Z_alert : public ToolWindow {
    Q_OBJECT
public:
    Z_alert();

    // The answer: set by the buttons, read by alertbox.
    bool respond = false;

    void setMessage(const QString& text, bool leftAligned);

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        QTextEdit* message = nullptr;
        QPushButton* Command1[2] = {nullptr, nullptr};
    };
    void Command1_Click(int index);
};
