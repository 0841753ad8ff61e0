#pragma once
// The 8546 pulse timer board on the USB FIFO: started and stopped from
// here, its 48-bit time stamps shown as the interval since the previous
// pulse and a pulse count, and optionally recorded one CSV line a pulse.

#include "pulsestamps.h"

#include "common/busysign.h"
#include "common/toolwindow.h"

#include <QFile>
#include <memory>

class Ctrl_8546_pulsetimer : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8546_pulsetimer();
    ~Ctrl_8546_pulsetimer() override;

    void list_fifos();
    // Decodes the complete time stamps of the receive buffer in order, for
    // one slice of time at most; true when complete stamps are left.
    bool pulsetimer48();
    void cmmd_Click(int index);
    void list_fifos_list_Click();
    void Timer1_Timer();

    // Bytes received and not yet decoded.
    QString receiveBuffer() const { return m_buffer.mid(m_decoded); }
    bool recording() const { return m_capture != nullptr; }
    // True while "Stop" decodes what had arrived before it.
    bool stopping() const { return m_stopping; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void start();
    void stop();
    void dump();
    qsizetype pending() const { return m_buffer.size() - m_decoded; }
    // The poll runs while a tick has something to do: a device is open,
    // or complete stamps wait to be decoded.
    void updatePoll();
    bool openCapture(const QString& path);
    void writeCapture(const QByteArray& lines);
    void closeCapture();

    // Received bytes; those before m_decoded are decoded already. The
    // decoded front is dropped only now and then, so that a large backlog
    // is not moved up in memory after every slice.
    QString m_buffer;
    qsizetype m_decoded = 0;
    bool m_stopping = false;
    BusySign m_busy;
    PulseStamps m_stamps;
    std::unique_ptr<QFile> m_capture;
    QString m_failedCapture; // a capture file whose write failed, not yet told
};
