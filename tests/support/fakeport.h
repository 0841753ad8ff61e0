#pragma once
// A port device without hardware, for modem lines and failures that a
// pseudo-terminal cannot show.
//
//   FakePorts fakes;                          // names "fake-..." become fakes
//   auto line = fakes.line("fake-modem");     // the far side of that port
//   rs232.open("fake-modem", "9600,n,8,1");
//   line->setInputs(portline::CTS | portline::RI);
//   line->feed("!0014\r");                    // data arrives
//   line->fail();                             // the device breaks
//   line->written, line->outputs, line->baud  // what the port did
//   line->refuseBaud = {115200};              // rates the device cannot run at
//   line->failWrites = true;                  // writes report failure
//   line->failOpen = true;                    // opening fails (I/O error)
//   line->refuseLines = portline::RTS;        // switching RTS fails
//   line->raise(portline::DCD); line->lower(portline::DCD);
//
// Names starting "fake-" may also be listed in VOLTARIS_PORTS for portscan.

#include "common/portcontroller.h"

#include <QMap>
#include <QPointer>
#include <memory>
#include <set>

class FakePort;

struct FakeLine {
    bool present = true;     // false: opening fails as a missing device
    bool open = false;
    int outputs = 0;         // DTR / RTS as set by the port
    int inputs = 0;          // CTS / DSR / DCD / RI as the test sets them
    int baud = 0;
    // Opening at one of these rates fails (as the platform refuses a rate
    // the device cannot run at); setting one while open leaves the rate.
    std::set<int> refuseBaud;
    // The fastest rate the device runs at (0: any): a faster request opens
    // at this rate, as a driver that quietly rounds down.
    int maxBaud = 0;
    // Writes report failure and nothing goes out.
    bool failWrites = false;
    // The device is there and free, but opening it fails with an I/O error.
    bool failOpen = false;
    // Output lines (DTR / RTS) the device fails to switch.
    int refuseLines = 0;
    QByteArray written;
    QByteArray unread;
    QPointer<FakePort> port;

    void setInputs(int bits) { inputs = bits; }
    void raise(int bits) { inputs |= bits; }
    void lower(int bits) { inputs &= ~bits; }
    void feed(const QByteArray& bytes);
    void fail();
};

class FakePort : public PortBackend {
    Q_OBJECT
public:
    explicit FakePort(std::shared_ptr<FakeLine> line) : m_line(std::move(line)) {}
    bool open(const QString& name, const PortSettings& s, int& number, QString& why) override;
    void close() override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    bool available(const QString&) override { return m_line->present; }
    LineResult setLine(int line, bool on) override;
    int lines() override;
    bool setBaud(int baud) override;
    int baud() override { return m_line->baud; }
    void arrived() { emit readyRead(); }
    void breakDown() { emit broken(8018, QStringLiteral("The device was removed")); }

private:
    std::shared_ptr<FakeLine> m_line;
};

// Installs the fake factory while it lives.
class FakePorts {
public:
    FakePorts();
    ~FakePorts();
    std::shared_ptr<FakeLine> line(const QString& name);

private:
    QMap<QString, std::shared_ptr<FakeLine>> m_lines;
};
