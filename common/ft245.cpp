#include "ft245.h"

#include <ftdi.h>
#include <libusb.h>

#include <vector>

namespace {

// libftdi1 behind the FIFO calls. Listing uses a context of its own, since
// reading a device's strings through the context of the open device would
// read the open device's instead.
class FtdiBackend : public FifoBackend {
public:
    ~FtdiBackend() override
    {
        close();
        forget();
        if (m_list)
            ftdi_free(m_list);
    }

    int count(int& n) override
    {
        refresh();
        n = int(m_devices.size());
        return ftstat::OK;
    }

    int description(int index, QByteArray& text) override
    {
        if (m_devices.empty())
            refresh();
        if (index < 0 || index >= int(m_devices.size()))
            return ftstat::DeviceNotFound;
        text = m_devices[size_t(index)].description;
        return ftstat::OK;
    }

    int serialNumber(int index, QByteArray& text) override
    {
        if (index < 0 || index >= int(m_devices.size()))
            return ftstat::DeviceNotFound;
        text = m_devices[size_t(index)].serial;
        return ftstat::OK;
    }

    int open(int index) override
    {
        close();
        if (m_devices.empty())
            refresh();
        if (index < 0 || index >= int(m_devices.size()))
            return ftstat::DeviceNotFound;
        m_io = ftdi_new();
        if (!m_io)
            return ftstat::InsufficientResources;
        if (ftdi_usb_open_dev(m_io, m_devices[size_t(index)].dev) < 0) {
            ftdi_free(m_io);
            m_io = nullptr;
            return ftstat::DeviceNotOpened;
        }
        // Polling must not block the window for long.
        m_io->usb_read_timeout = 50;
        return ftstat::OK;
    }

    int setFlowControlRtsCts() override { return m_io && ftdi_setflowctrl(m_io, SIO_RTS_CTS_HS) >= 0 ? 0 : fail(); }

    int setLatency(int ms) override
    {
        if (ms < 1 || ms > 255)
            return ftstat::InvalidParameter;
        return m_io && ftdi_set_latency_timer(m_io, (unsigned char)ms) >= 0 ? 0 : fail();
    }

    int setUsbParameters(int inSize, int outSize) override
    {
        if (!m_io || inSize <= 0 || outSize <= 0)
            return ftstat::InvalidParameter;
        if (ftdi_read_data_set_chunksize(m_io, unsigned(inSize)) < 0
            || ftdi_write_data_set_chunksize(m_io, unsigned(outSize)) < 0)
            return ftstat::IoError;
        return ftstat::OK;
    }

    int purge() override { return m_io && ftdi_tcioflush(m_io) >= 0 ? 0 : fail(); }

    int read(QByteArray& into, int max) override
    {
        if (!m_io)
            return ftstat::InvalidHandle;
        if (max <= 0)
            return ftstat::OK;
        const qsizetype at = into.size();
        into.resize(at + max);
        const int n = ftdi_read_data(m_io, reinterpret_cast<unsigned char*>(into.data() + at), max);
        into.resize(at + (n > 0 ? n : 0));
        return n < 0 ? ftstat::IoError : ftstat::OK;
    }

    int write(const QByteArray& bytes, int& written) override
    {
        written = 0;
        if (!m_io)
            return ftstat::InvalidHandle;
        const int n = ftdi_write_data(m_io, reinterpret_cast<const unsigned char*>(bytes.constData()),
                                      int(bytes.size()));
        if (n < 0)
            return ftstat::IoError;
        written = n;
        return ftstat::OK;
    }

    int close() override
    {
        if (!m_io)
            return ftstat::InvalidHandle;
        ftdi_usb_close(m_io);
        ftdi_free(m_io);
        m_io = nullptr;
        return ftstat::OK;
    }

private:
    struct Device {
        libusb_device* dev;
        QByteArray description;
        QByteArray serial;
    };

    int fail() const { return m_io ? ftstat::IoError : ftstat::InvalidHandle; }

    void forget()
    {
        for (Device& d : m_devices)
            libusb_unref_device(d.dev);
        m_devices.clear();
    }

    // The attached devices this program may use: a device whose strings
    // cannot be read (no permission) is not counted.
    void refresh()
    {
        forget();
        if (!m_list)
            m_list = ftdi_new();
        if (!m_list)
            return; // no USB access at all: no devices
        ftdi_device_list* list = nullptr;
        if (ftdi_usb_find_all(m_list, &list, 0, 0) < 0)
            return;
        for (ftdi_device_list* p = list; p; p = p->next) {
            char desc[256] = {};
            char serial[256] = {};
            if (ftdi_usb_get_strings(m_list, p->dev, nullptr, 0, desc, sizeof desc, serial, sizeof serial) < 0)
                continue;
            libusb_ref_device(p->dev);
            m_devices.push_back({p->dev, QByteArray(desc), QByteArray(serial)});
        }
        ftdi_list_free(&list);
    }

    ftdi_context* m_list = nullptr;
    ftdi_context* m_io = nullptr;
    std::vector<Device> m_devices;
};

struct Module {
    std::unique_ptr<FifoBackend> backend;
    bool isopen = false;
    int status = ftstat::OK;
    QString devtext;
    QByteArray rx; // received, not yet read

    FifoBackend& driver()
    {
        if (!backend)
            backend = std::make_unique<FtdiBackend>();
        return *backend;
    }
};

Module& mod()
{
    static Module m;
    return m;
}

// The driver's text: cut at the first NUL.
QString driverText(const QByteArray& b)
{
    const qsizetype nul = b.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? b : b.left(nul));
}

constexpr int ReadTake = 65500;

} // namespace

void setFifoBackend(std::unique_ptr<FifoBackend> backend)
{
    ftclose();
    mod().backend = std::move(backend);
    mod().status = ftstat::OK;
}

int ftcount()
{
    int n = 0;
    mod().status = mod().driver().count(n);
    return mod().status == ftstat::OK && n > 0 ? n : 0;
}

QString ftlist(const int& index)
{
    Module& m = mod();
    QByteArray desc, serial;
    m.status = m.driver().description(index, desc);
    if (m.status != ftstat::OK)
        return QString();
    m.status = m.driver().serialNumber(index, serial);
    if (m.status != ftstat::OK)
        return QString();
    return driverText(desc) + u'/' + driverText(serial);
}

void ftopen(const int& index)
{
    Module& m = mod();
    // An open device would be left behind with its handle lost.
    ftclose();
    m.devtext = ftlist(index);
    m.status = m.driver().open(index);
    m.isopen = m.status == ftstat::OK;
    if (!m.isopen) {
        m.devtext.clear();
        return;
    }
    m.rx.clear();
    m.status = m.driver().setFlowControlRtsCts();
}

void ftlatency(const int& ms)
{
    if (mod().isopen)
        mod().status = mod().driver().setLatency(ms);
}

void ftusbparams(const int& inSize, const int& outSize)
{
    if (mod().isopen)
        mod().status = mod().driver().setUsbParameters(inSize, outSize);
}

void ftpurge()
{
    Module& m = mod();
    if (!m.isopen)
        return;
    m.rx.clear();
    m.status = m.driver().purge();
}

int ftqueue()
{
    Module& m = mod();
    if (!m.isopen)
        return 0;
    // Take in what has arrived, a block at a time, until one read's worth
    // is held: more would only be moved about in memory at every append,
    // and a device that streams on must neither hold the caller here nor
    // grow the buffer without end. What stays in the device waits there.
    for (int block = 0; block < 16 && m.rx.size() < ftReadMax; ++block) {
        const qsizetype before = m.rx.size();
        m.status = m.driver().read(m.rx, 65536);
        if (m.status != ftstat::OK)
            return 0;
        if (m.rx.size() == before)
            break;
    }
    return int(qMin<qsizetype>(m.rx.size(), 0x7fffffff));
}

QString ftread()
{
    Module& m = mod();
    if (!m.isopen)
        return QString();
    int n = ftqueue();
    if (m.status != ftstat::OK)
        return QString();
    if (n > ftReadMax)
        n = ReadTake;
    const QString text = QString::fromLatin1(m.rx.constData(), n);
    m.rx.remove(0, n);
    return text;
}

void ftwrite(const QString& text)
{
    Module& m = mod();
    if (!m.isopen)
        return;
    const QByteArray bytes = text.toLatin1();
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        int written = 0;
        m.status = m.driver().write(bytes.mid(sent), written);
        if (m.status != ftstat::OK)
            return;
        if (written <= 0) {
            m.status = ftstat::IoError; // the device takes nothing more: report it
            return;
        }
        sent += written;
    }
}

void ftclose()
{
    Module& m = mod();
    if (!m.isopen)
        return;
    m.devtext.clear();
    m.rx.clear();
    m.status = m.driver().close();
    m.isopen = false;
}

bool ftisopen()
{
    return mod().isopen;
}

int ftstatus()
{
    return mod().status;
}

QString ftdevtext()
{
    return mod().devtext;
}
