#pragma once
// The serial window pattern, once: the port selector, the port, `portopen`,
// `ReceiveBuffer`, `comwrite` with its alerts, and the data event. A window
// holds one SerialController per port and supplies only its settings text
// and its process(what, text):
//
//   class Ctrl_1234_thing : public ToolWindow {
//       SerialController serial{*this, [] { return QStringLiteral("115200,n,8,1"); },
//                               [this](int what, const QString& text) { process(what, text); }};
//       void build(QWidget* form) override {
//           ... ui->portselect = place<QComboBox>(form, "portselect", ...);
//           serial.attach(ui->portselect);          // click, key and data events
//       }
//       void onLoad() override { serial.load(); }   // portscan fills the selector
//       void onUnload() override { serial.unload(); }
//       void process(int what, const QString&) {
//           if (what != 255) return;
//           const QString frame = framer("!", cc.CR, serial.ReceiveBuffer);
//           if (frame.isEmpty()) return;
//           ... getfield(frame, 1, ",") is the reply code ...
//       }
//       ... serial.comwrite("$0014" + cc.CR, 10); ...
//   };
//
// The data event appends what arrived to ReceiveBuffer and calls
// process(255, "") again as long as the previous call consumed something
// and a complete reply (an end mark) is left, so a reply that came in the
// same read as another is handled at once, also by a process that frames
// one reply per call. The end mark is CR unless set with setFraming (the
// meter windows: setFraming("", cc.CRLF)).
//
// No-port state: port closed, portopen 0, selector on "Select". The window
// reaches it when an open fails ("Com port open error"), a write fails or
// the device fails or vanishes ("Com port error", error mode, once, saying
// that the port was lost). A sequence waiting for a reply also waits on
// portopen, and on finding it cleared tells lostPort() from a time-out.
// A second port of a window passes titlePrefix "Secondary ".

#include "portcontroller.h"
#include "verror.h"

#include <QPointer>
#include <QString>
#include <functional>

class QComboBox;
class ToolWindow;

class SerialController {
public:
    using Settings = std::function<QString()>;
    using Process = std::function<void(int what, const QString& text)>;

    SerialController(ToolWindow& owner, Settings settings, Process process, QString titlePrefix = QString());

    // The marks the data event looks for; start is kept for nextReply().
    void setFraming(const QString& start, const QString& end);
    // Runs after a successful open from the selector (switch a modem line
    // on, check the speed). It may call noPort() or raise VError, which is
    // handled as a failed open.
    void setAfterOpen(std::function<void()> f) { m_afterOpen = std::move(f); }
    // Decides whether a failed open from the selector is reported: a window
    // for which some failures mean "this port cannot serve" (a rate the
    // device refuses) returns false for them, and the selector goes back
    // to "Select" without an alert.
    void setOpenFailureReported(std::function<bool(const QString& port, const VError& e)> f)
    {
        m_reportOpenFailure = std::move(f);
    }

    // In build(): binds the selector's click and key press and the port's
    // data and failure events to the window (they end with the form).
    void attach(QComboBox* portselect);
    // In the load handler: fill the selector from portscan, select "Select".
    void load();
    // In the unload handler: close the port.
    void unload();

    // Sends a command and waits `wait` hundredths of a second.
    void comwrite(const QString& text, int wait);
    // framer(start, end, ReceiveBuffer) with the marks set above.
    QString nextReply();
    // Back to the no-port state.
    void noPort();
    // A call on the open port failed (a write, a modem line it refused):
    // back to the no-port state with the one "Com port error" alert.
    void portError(const VError& e);
    // The port whose device failed or vanished since it was last chosen;
    // empty while none did.
    const QString& lostPort() const { return m_lost; }

    PortController rs232;
    QString ReceiveBuffer;
    int portopen = 0; // -1 while a port is open

private:
    void portselectClick(int index);
    void dataEvent();
    void portFailed(int number, const QString& description);

    ToolWindow& m_owner;
    Settings m_settings;
    Process m_process;
    QString m_prefix;
    QString m_start;
    QString m_end;
    std::function<void()> m_afterOpen;
    std::function<bool(const QString&, const VError&)> m_reportOpenFailure;
    QPointer<QComboBox> m_portselect;
    QString m_lost;
};
