#pragma once
// The serial-port control every serial window holds (as `rs232`).
//
//   PortController rs232;
//   rs232.open("ttyUSB0", "115200,n,8,1");   // throws VError when it cannot
//   rs232.write("$0014\r");                   // Latin-1, one byte per char
//   connect(&rs232, &PortController::dataArrived, ...);  // then read()
//   QString got = rs232.read();               // everything since last read
//   rs232.setDtr(true); bool c = rs232.cts(); // modem lines
//   rs232.close();                            // silent when closed
//
// Failure: on the first read, write or resource error of an open port the
// port is closed and `failed(number, description)` is emitted once (queued,
// on the GUI thread), the description saying that the port, by name, was
// lost. A window that closes the port itself before then hears nothing more.
// Modem-line calls a device cannot do (pseudo-terminals) are not errors:
// setters do nothing, inputs read as off. A device that has the lines but
// fails to switch one raises VError from the setter.
// An open that fails because the device cannot run at the rate asked for
// raises VError verr::InvalidPropertyValue; other failures other numbers.
//
// The port device is reached through a PortBackend. By default that is a
// QSerialPort; tests install a factory that hands out a fake for chosen
// names (PortController::setBackendFactory), so modem-line behaviour can be
// tested without hardware.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

// A settings text "9600,n,8,1" taken apart. Parity: 'n', 'e', 'o', 'm', 's';
// stop bits 1, 15 (one and a half) or 2.
struct PortSettings {
    int baud = 9600;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
};

// Parses a settings text; blanks around the fields are allowed
// (" 256000,n,8,1"). A text that is not a valid setting raises VError 380.
PortSettings parsePortSettings(const QString& text);

// Modem lines as a bit set.
namespace portline {
constexpr int DTR = 1, RTS = 2, CTS = 4, DSR = 8, DCD = 16, RI = 32;
}

// One port device. Implementations report read, write and resource faults
// through broken(); PortController turns the first into one failure.
class PortBackend : public QObject {
    Q_OBJECT
public:
    // Opens the device; on failure returns false with a number (verr::...;
    // InvalidPropertyValue for a rate the device refuses) and a description.
    virtual bool open(const QString& name, const PortSettings& s, int& number, QString& why) = 0;
    virtual void close() = 0;
    // Queues the bytes for sending; false when the device refuses them.
    virtual bool write(const QByteArray& bytes) = 0;
    // Waits up to msecs for queued bytes to leave; true when none is left.
    virtual bool flush(int msecs)
    {
        (void)msecs;
        return true;
    }
    virtual QByteArray readAll() = 0;
    // Whether the named port could be opened now, found without opening it
    // (opening raises DTR and RTS, which resets many boards).
    virtual bool available(const QString& name) = 0;
    // Modem lines. NoLines when the device has none (no error), Refused
    // when it has them and failed the call; lines() -1 when it has none.
    enum class LineResult { Done, NoLines, Refused };
    virtual LineResult setLine(int line, bool on) = 0;
    virtual int lines() = 0;
    virtual bool setBaud(int baud) = 0;
    virtual int baud() = 0;
Q_SIGNALS:
    void readyRead();
    void broken(int number, const QString& description);
};

class PortController : public QObject {
    Q_OBJECT
public:
    explicit PortController(QObject* parent = nullptr);
    ~PortController() override;

    // Opens the named port (a platform name such as "ttyUSB0" or a device
    // path) with a settings text. Raises VError when the port does not
    // exist, is held by another window or program, or cannot be set up.
    // An open port is closed first.
    void open(const QString& name, const QString& settings);
    void close();
    bool isOpen() const { return m_backend != nullptr; }
    const QString& portName() const { return m_name; }

    // Sends text, one byte per character (Latin-1). Raises VError when the
    // port is not open or the device refuses the bytes.
    void write(const QString& text);
    // Waits up to msecs for what was written to leave the port, without
    // serving the event loop (usable while the program quits).
    bool flush(int msecs);
    // The text received since the previous read; possibly empty.
    QString read();

    // Raise VError when the device fails the call; a device without modem
    // lines takes them silently.
    void setDtr(bool on);
    void setRts(bool on);
    bool dtr() const { return m_dtr; }
    bool rts() const { return m_rts; }
    bool cts();
    bool dsr();
    bool dcd();
    bool ringing();

    // The rate asked for: applies at once when open, and to the next open
    // whose settings text the caller builds from it. speed() reads back the
    // rate the device runs at while open, the rate asked for otherwise.
    void setSpeed(int baud);
    int speed();

    // Chooses the device behind a port name; return nullptr for the
    // platform's serial port. Tests use it to put a fake behind a name.
    using BackendFactory = std::function<std::unique_ptr<PortBackend>(const QString& name)>;
    static void setBackendFactory(BackendFactory factory);

    // True when some PortController of this program holds the port open.
    static bool heldOpen(const QString& name);
    // True when the port exists, this user may read and write it, and
    // neither this program nor another (by its serial lock file) holds it.
    // Nothing is opened.
    static bool available(const QString& name);
    // The folders searched for other programs' lock files ("LCK..ttyUSB0");
    // tests point them at a temporary folder.
    static void setLockFolders(const QStringList& folders);
    static QStringList lockFolders();
    // True when another running program holds a serial lock file on the
    // device (a path such as "/dev/ttyUSB0").
    static bool lockedByOtherProgram(const QString& device);

    // The description of a port that went away while open.
    static QString lostText(const QString& name);

Q_SIGNALS:
    void dataArrived();
    // The ring line changed (polled while open and someone listens).
    void ring(bool on);
    // The port failed while open and has been closed (emitted once).
    void failed(int number, const QString& description);
    // The port was opened, or closed (by close(), a new open or a failure),
    // so a window can run its timers only while they have a port to serve.
    void openChanged(bool open);

protected:
    void connectNotify(const QMetaMethod& signal) override;

private:
    void onBroken(int number, const QString& description);
    void pollRing();
    int lineState();
    void setLine(int line, bool on);

    std::unique_ptr<PortBackend> m_backend;
    QString m_name;
    QString m_key;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_ringOn = false;
    bool m_broken = false;
    int m_speed = 9600;
    QTimer m_ringPoll;
    quint64 m_generation = 0;
};
