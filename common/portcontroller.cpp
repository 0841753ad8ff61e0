#include "portcontroller.h"

#include <QElapsedTimer>
#include "verror.h"

#include <QFileInfo>
#include <QMetaMethod>
#include <QSerialPort>
#include <QSet>

namespace {

constexpr int InvalidPortNumber = 8002;
constexpr int InvalidPropertyValue = 380;

PortController::BackendFactory& factory()
{
    static PortController::BackendFactory f;
    return f;
}

// Ports held open by any PortController of the program, by device key.
QSet<QString>& held()
{
    static QSet<QString> s;
    return s;
}

// One key per device, whatever name it was opened by ("ttyS0",
// "/dev/ttyS0" or a symbolic link to it).
QString deviceKey(const QString& name)
{
    const QString path = name.startsWith(u'/') ? name : QStringLiteral("/dev/") + name;
    const QString canon = QFileInfo(path).canonicalFilePath();
    return canon.isEmpty() ? path : canon;
}

class SerialBackend : public PortBackend {
public:
    SerialBackend()
    {
        connect(&m_port, &QSerialPort::readyRead, this, &PortBackend::readyRead);
        connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            // Errors of modem-line calls and of opening are handled where
            // they are made; what remains is the device failing.
            if (e == QSerialPort::NoError || m_quiet || !m_port.isOpen())
                return;
            emit broken(verr::PortError, m_port.errorString());
        });
    }

    bool open(const QString& name, const PortSettings& s, int& number, QString& why) override
    {
        m_port.setPortName(name);
        m_port.setBaudRate(s.baud);
        m_port.setDataBits(QSerialPort::DataBits(s.dataBits));
        switch (s.parity) {
        case 'e': m_port.setParity(QSerialPort::EvenParity); break;
        case 'o': m_port.setParity(QSerialPort::OddParity); break;
        case 'm': m_port.setParity(QSerialPort::MarkParity); break;
        case 's': m_port.setParity(QSerialPort::SpaceParity); break;
        default: m_port.setParity(QSerialPort::NoParity); break;
        }
        m_port.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop
                                           : s.stopBits == 15 ? QSerialPort::OneAndHalfStop : QSerialPort::OneStop);
        m_port.setFlowControl(QSerialPort::NoFlowControl);
        if (m_port.open(QIODevice::ReadWrite))
            return true;
        switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError: number = InvalidPortNumber; break;
        case QSerialPort::PermissionError: number = verr::PortAlreadyOpen; break;
        default: number = verr::PortError; break;
        }
        why = m_port.errorString();
        m_port.clearError();
        return false;
    }

    void close() override
    {
        m_quiet = true;
        m_port.close();
        m_port.clearError();
        m_quiet = false;
    }

    bool write(const QByteArray& bytes) override { return m_port.write(bytes) == bytes.size(); }
    bool flush(int msecs) override
    {
        QElapsedTimer t;
        t.start();
        while (m_port.bytesToWrite() > 0) {
            const qint64 left = msecs - t.elapsed();
            if (left <= 0 || !m_port.waitForBytesWritten(int(left)))
                break;
        }
        return m_port.bytesToWrite() == 0;
    }
    QByteArray readAll() override { return m_port.readAll(); }

    bool setLine(int line, bool on) override
    {
        if (m_noLines)
            return false;
        Quiet q(*this);
        const bool ok = line == portline::DTR ? m_port.setDataTerminalReady(on) : m_port.setRequestToSend(on);
        if (!ok)
            m_noLines = true;
        return ok;
    }

    int lines() override
    {
        if (m_noLines)
            return -1;
        Quiet q(*this);
        const QSerialPort::PinoutSignals p = m_port.pinoutSignals();
        if (m_port.error() != QSerialPort::NoError) {
            m_noLines = true;
            return -1;
        }
        int bits = 0;
        if (p & QSerialPort::DataTerminalReadySignal) bits |= portline::DTR;
        if (p & QSerialPort::RequestToSendSignal) bits |= portline::RTS;
        if (p & QSerialPort::ClearToSendSignal) bits |= portline::CTS;
        if (p & QSerialPort::DataSetReadySignal) bits |= portline::DSR;
        if (p & QSerialPort::DataCarrierDetectSignal) bits |= portline::DCD;
        if (p & QSerialPort::RingIndicatorSignal) bits |= portline::RI;
        return bits;
    }

    bool setBaud(int baud) override
    {
        Quiet q(*this);
        return m_port.setBaudRate(baud);
    }
    int baud() override { return m_port.baudRate(); }

private:
    // A modem-line or rate call: its error is an answer, not a failure.
    struct Quiet {
        explicit Quiet(SerialBackend& b) : b(b)
        {
            b.m_quiet = true;
            b.m_port.clearError();
        }
        ~Quiet()
        {
            b.m_quiet = false;
            b.m_port.clearError();
        }
        SerialBackend& b;
    };

    QSerialPort m_port;
    bool m_quiet = false;
    bool m_noLines = false;
};

VError badSettings(const QString& text)
{
    return VError(InvalidPropertyValue, QStringLiteral("Invalid property value: \"%1\"").arg(text));
}

} // namespace

PortSettings parsePortSettings(const QString& text)
{
    const QStringList f = text.split(u',');
    if (f.size() != 4)
        throw badSettings(text);
    PortSettings s;
    bool ok = false;
    s.baud = f[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        throw badSettings(text);
    const QString p = f[1].trimmed().toLower();
    if (p.size() != 1 || !QStringLiteral("neoms").contains(p))
        throw badSettings(text);
    s.parity = char(p.at(0).unicode());
    s.dataBits = f[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        throw badSettings(text);
    const QString stop = f[3].trimmed();
    if (stop == u"1")
        s.stopBits = 1;
    else if (stop == u"1.5")
        s.stopBits = 15;
    else if (stop == u"2")
        s.stopBits = 2;
    else
        throw badSettings(text);
    return s;
}

PortController::PortController(QObject* parent) : QObject(parent)
{
    m_ringPoll.setInterval(50);
    connect(&m_ringPoll, &QTimer::timeout, this, &PortController::pollRing);
}

PortController::~PortController()
{
    close();
}

void PortController::setBackendFactory(BackendFactory f)
{
    factory() = std::move(f);
}

bool PortController::heldOpen(const QString& name)
{
    return held().contains(deviceKey(name));
}

void PortController::open(const QString& name, const QString& settings)
{
    close();
    const PortSettings s = parsePortSettings(settings);
    std::unique_ptr<PortBackend> b;
    if (factory())
        b = factory()(name);
    const bool fake = b != nullptr;
    const QString key = fake ? name : deviceKey(name);
    if (held().contains(key))
        throw VError(verr::PortAlreadyOpen, QStringLiteral("Port already open"));
    if (!b)
        b = std::make_unique<SerialBackend>();
    int number = verr::PortError;
    QString why;
    if (!b->open(name, s, number, why))
        throw VError(number, why);
    m_backend = std::move(b);
    m_name = name;
    m_key = key;
    held().insert(key);
    m_speed = s.baud;
    m_broken = false;
    m_ringOn = false;
    connect(m_backend.get(), &PortBackend::readyRead, this, [this] {
        if (!m_broken)
            emit dataArrived();
    });
    connect(m_backend.get(), &PortBackend::broken, this, &PortController::onBroken);
    if (isSignalConnected(QMetaMethod::fromSignal(&PortController::ring)))
        m_ringPoll.start();
}

void PortController::close()
{
    ++m_generation; // a failure not yet reported is the closer's now
    m_broken = false;
    m_ringPoll.stop();
    if (!m_backend)
        return;
    held().remove(m_key);
    PortBackend* b = m_backend.release();
    b->disconnect(this);
    b->close();
    // The close may come from inside one of the device's own signals, so
    // the device goes later; as a child it cannot outlive this control.
    b->setParent(this);
    b->deleteLater();
    m_name.clear();
    m_key.clear();
    m_dtr = m_rts = false;
}

void PortController::onBroken(int number, const QString& description)
{
    if (m_broken || !m_backend)
        return;
    m_broken = true;
    // The device keeps signalling until it is closed: hear no more of it,
    // close it from the event loop and report once.
    m_backend->blockSignals(true);
    const quint64 gen = m_generation;
    QTimer::singleShot(0, this, [this, gen, number, description] {
        if (gen != m_generation)
            return;
        close();
        emit failed(number, description);
    });
}

void PortController::write(const QString& text)
{
    if (!m_backend)
        throw VError(verr::PortNotOpen, QStringLiteral("Port not open"));
    if (m_broken)
        throw VError(verr::PortError, QStringLiteral("The device does not answer"));
    if (!m_backend->write(text.toLatin1()))
        throw VError(verr::PortError, QStringLiteral("Write to the port failed"));
}

bool PortController::flush(int msecs)
{
    if (!m_backend || m_broken)
        return false;
    return m_backend->flush(msecs);
}

QString PortController::read()
{
    if (!m_backend || m_broken)
        return QString();
    return QString::fromLatin1(m_backend->readAll());
}

void PortController::setDtr(bool on)
{
    m_dtr = on;
    if (m_backend && !m_broken)
        m_backend->setLine(portline::DTR, on);
}

void PortController::setRts(bool on)
{
    m_rts = on;
    if (m_backend && !m_broken)
        m_backend->setLine(portline::RTS, on);
}

int PortController::lineState()
{
    if (!m_backend || m_broken)
        return 0;
    const int l = m_backend->lines();
    return l < 0 ? 0 : l;
}

bool PortController::cts()
{
    return lineState() & portline::CTS;
}
bool PortController::dsr()
{
    return lineState() & portline::DSR;
}
bool PortController::dcd()
{
    return lineState() & portline::DCD;
}
bool PortController::ringing()
{
    return lineState() & portline::RI;
}

void PortController::setSpeed(int baud)
{
    m_speed = baud;
    if (m_backend && !m_broken)
        m_backend->setBaud(baud);
}

int PortController::speed()
{
    if (m_backend && !m_broken)
        return m_backend->baud();
    return m_speed;
}

void PortController::connectNotify(const QMetaMethod& signal)
{
    if (signal == QMetaMethod::fromSignal(&PortController::ring) && m_backend)
        m_ringPoll.start();
}

void PortController::pollRing()
{
    if (!m_backend || m_broken) {
        m_ringPoll.stop();
        return;
    }
    const int l = m_backend->lines();
    if (l < 0) {
        m_ringPoll.stop(); // no modem lines on this device
        return;
    }
    const bool on = l & portline::RI;
    if (on != m_ringOn) {
        m_ringOn = on;
        emit ring(on);
    }
}
