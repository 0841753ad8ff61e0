#pragma once
#include "toolwindow.h"

class QPushButton;

// The notice shown while ports are scanned. It has no behaviour of its own.
class RS232_portscanning : public ToolWindow {
    Q_OBJECT
public:
    RS232_portscanning();

protected:
    void build(QWidget* form) override;

private:
    struct Ui : Controls {
        QPushButton* Command1 = nullptr;
    };
};
