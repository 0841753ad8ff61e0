#pragma once
// The 8546 pulse timer board on the USB FIFO: started and stopped from
// here, its 48-bit time stamps shown as the interval since the previous
// pulse and a pulse count, and optionally recorded one CSV line a pulse.

#include "pulsestamps.h"

#include "common/toolwindow.h"

#include <QFile>
#include <memory>

class Ctrl_8546_pulsetimer : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8546_pulsetimer();
    ~Ctrl_8546_pulsetimer() override;

    void list_fifos();
    // Decodes every complete time stamp in the receive buffer, in order.
    void pulsetimer48();
    void cmmd_Click(int index);
    void list_fifos_list_Click();
    void Timer1_Timer();

    // Bytes received and not yet decoded.
    const QString& receiveBuffer() const { return m_buffer; }
    bool recording() const { return m_capture != nullptr; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void start();
    void stop();
    bool openCapture(const QString& path);
    void writeCapture(const QString& line);
    void closeCapture();

    QString m_buffer;
    PulseStamps m_stamps;
    std::unique_ptr<QFile> m_capture;
    QString m_failedCapture; // a capture file whose write failed, not yet told
};
