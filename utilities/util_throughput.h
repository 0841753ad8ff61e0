#pragma once
#include "common/toolwindow.h"

class QLineEdit;
class QPushButton;

// Counts down a number of passes through the event loop, showing the count
// on every pass, and divides the number by the time it took.
class Util_throughput : public ToolWindow {
    Q_OBJECT
public:
    Util_throughput();
    // True while a count-down runs.
    bool running() const { return m_running; }

protected:
    void build(QWidget* form) override;

private:
    struct Ui : Controls {
        QLineEdit* countr = nullptr;
        QLineEdit* starttime = nullptr;
        QLineEdit* stoptime = nullptr;
        QLineEdit* calc = nullptr;
        QPushButton* startbutton = nullptr;
    };
    void startbutton_Click();

    bool m_running = false;
};
