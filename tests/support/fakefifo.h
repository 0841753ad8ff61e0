#pragma once
// A USB FIFO driver without hardware, for the FT245 calls.
//
//   auto* fifo = new FakeFifo;                      // owned by the module
//   fifo->devices = {{"FT245R USB FIFO", "A1"}};
//   setFifoBackend(std::unique_ptr<FifoBackend>(fifo));
//   fifo->incoming = "data";                       // arrives at the device
//   ... ftopen(0); ftread(); ftwrite("x") ...
//   fifo->written, fifo->calls                     // what the module did
//   setFifoBackend(nullptr);                       // back to libftdi1 (deletes fifo)
//
// A device with openStatus other than 0 cannot be opened; maxWrite limits
// the bytes taken per write call (0 takes none: a stalled device);
// readStatus makes reads fail; an unreadable device has no description.

#include "common/ft245.h"

#include <QStringList>
#include <vector>

class FakeFifo : public FifoBackend {
public:
    struct Device {
        QByteArray description;
        QByteArray serial;
        int openStatus = ftstat::OK;
        bool unreadable = false; // its description cannot be read
    };
    std::vector<Device> devices;
    QByteArray incoming;
    QByteArray written;
    int maxWrite = 1 << 30;
    int writeStatus = ftstat::OK;
    int readStatus = ftstat::OK; // other than OK: reads fail and take nothing
    QStringList calls;
    int opened = -1;

    int count(int& n) override
    {
        calls << "count";
        n = int(devices.size());
        return ftstat::OK;
    }
    int description(int index, QByteArray& text) override
    {
        calls << "description";
        if (index < 0 || index >= int(devices.size()) || devices[size_t(index)].unreadable)
            return ftstat::DeviceNotFound;
        text = devices[size_t(index)].description;
        return ftstat::OK;
    }
    int serialNumber(int index, QByteArray& text) override
    {
        calls << "serial";
        if (index < 0 || index >= int(devices.size()))
            return ftstat::DeviceNotFound;
        text = devices[size_t(index)].serial;
        return ftstat::OK;
    }
    int open(int index) override
    {
        calls << QStringLiteral("open %1").arg(index);
        if (index < 0 || index >= int(devices.size()))
            return ftstat::DeviceNotFound;
        if (devices[size_t(index)].openStatus != ftstat::OK)
            return devices[size_t(index)].openStatus;
        opened = index;
        return ftstat::OK;
    }
    int setFlowControlRtsCts() override { return record("flow"); }
    int setLatency(int ms) override { return record(QStringLiteral("latency %1").arg(ms)); }
    int setUsbParameters(int in, int out) override { return record(QStringLiteral("usb %1 %2").arg(in).arg(out)); }
    int purge() override
    {
        incoming.clear();
        return record("purge");
    }
    int read(QByteArray& into, int max) override
    {
        if (readStatus != ftstat::OK)
            return readStatus;
        const QByteArray b = incoming.left(max);
        incoming.remove(0, b.size());
        into += b;
        return ftstat::OK;
    }
    int write(const QByteArray& bytes, int& n) override
    {
        n = 0;
        if (writeStatus != ftstat::OK)
            return writeStatus;
        n = int(qMin<qsizetype>(bytes.size(), maxWrite));
        written += bytes.left(n);
        return ftstat::OK;
    }
    int close() override
    {
        opened = -1;
        return record("close");
    }

private:
    int record(const QString& call)
    {
        calls << call;
        return opened >= 0 ? ftstat::OK : ftstat::InvalidHandle;
    }
};
