#pragma once
// The USB FIFO: one device at a time, polled.
//
//   const int n = ftcount();                  // 0 with no device or no access
//   QString d = ftlist(0);                    // "description/serial", "" if none
//   ftclose(); ftopen(0); ftlatency(1); ftusbparams(63448, 4096); ftpurge();
//   ftwrite(text);                            // one byte per character
//   QString got = ftread();                   // what has arrived ("" if closed)
//   ftclose();
//
// No call raises an error: failures show in ftstatus() (0 is success), in an
// empty ftlist, in ftisopen() staying false and in ftqueue() answering 0.
// Calls that need the device do nothing while none is open.
//
// The device is reached through a FifoBackend: libftdi1 by default; tests
// install a fake with setFifoBackend. libftdi1 has no queue-status call, so
// the module keeps its own receive buffer: ftqueue() moves what the device
// has into it, up to a little more than one read's worth, and answers its
// size; ftread() takes from it.

#include <QByteArray>
#include <QString>
#include <memory>

// Status values of the FIFO calls.
namespace ftstat {
constexpr int OK = 0;
constexpr int InvalidHandle = 1;
constexpr int DeviceNotFound = 2;
constexpr int DeviceNotOpened = 3;
constexpr int IoError = 4;
constexpr int InsufficientResources = 5;
constexpr int InvalidParameter = 6;
} // namespace ftstat

// One FIFO driver. Every call answers a status (ftstat).
class FifoBackend {
public:
    virtual ~FifoBackend() = default;
    virtual int count(int& n) = 0;
    virtual int description(int index, QByteArray& text) = 0;
    virtual int serialNumber(int index, QByteArray& text) = 0;
    virtual int open(int index) = 0;
    virtual int setFlowControlRtsCts() = 0;
    virtual int setLatency(int ms) = 0;
    virtual int setUsbParameters(int inSize, int outSize) = 0;
    virtual int purge() = 0;
    // Appends at most max bytes that have arrived (none is fine).
    virtual int read(QByteArray& into, int max) = 0;
    // Sends what it can of bytes; written says how many went.
    virtual int write(const QByteArray& bytes, int& written) = 0;
    virtual int close() = 0;
};

// Replaces the driver (nullptr: libftdi1). Closes an open device first.
void setFifoBackend(std::unique_ptr<FifoBackend> backend);

int ftcount();
QString ftlist(const int& index);
void ftopen(const int& index);
void ftlatency(const int& ms);
void ftusbparams(const int& inSize, const int& outSize);
void ftpurge();
int ftqueue();
QString ftread();
// The most one ftread() returns; what is left waits for the next call.
constexpr int ftReadMax = 65526;
void ftwrite(const QString& text);
void ftclose();

bool ftisopen();
int ftstatus();
QString ftdevtext();
