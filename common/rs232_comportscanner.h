#pragma once
// The port scanner: the "ComScan" window, and portscan, which every serial
// window calls when it loads to fill its port selector:
//
//   PortList ports;                                  // 101 empty strings
//   FormSlots::get<RS232_comportscanner>().portscan(ports);
//   const int count = int(numval(ports[100]));       // " 2" -> 2
//   for (int i = 0; i <= count; ++i) portselect->addItem(ports[i]);
//
// Candidates are the serial devices the system reports, then each path in
// $VOLTARIS_PORTS (colon-separated), in that order; a candidate counts when
// PortController::available says so: the device exists, this user may read
// and write it, and no window of this program nor another program (by its
// lock file) holds it. No port is opened to find out.

#include "toolwindow.h"

#include <QStringList>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Element 0 "Select", 1..count the ports found, 100 the count as text with
// its leading blank (" 0"); the elements between are left as they were.
using PortList = std::array<QString, 101>;

// The ports to try, in order.
QStringList portCandidates();

class RS232_comportscanner : public ToolWindow {
    Q_OBJECT
public:
    RS232_comportscanner();

    // Fills ports (loads this window, hidden, on first use).
    void portscan(PortList& ports);

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        QPushButton* Command1 = nullptr;
        QLabel* Label1 = nullptr;
        QLineEdit* counter = nullptr;
        QPlainTextEdit* resultlist = nullptr;
    };
    void Command1_Click();
    void noticeOn();
    void noticeOff();

    int m_scans = 0;          // scans under way (they may nest)
    bool m_userScan = false;  // the user's scan is running
};
