#include "portcontroller.h"
#include "files.h"
#include "verror.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QSerialPort>
#include <QSet>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int InvalidPortNumber = 8002;

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

QStringList& lockFolderList()
{
    static QStringList f{QStringLiteral("/run/lock"), QStringLiteral("/var/lock")};
    return f;
}

QString devicePath(const QString& name)
{
    return name.startsWith(u'/') ? name : QStringLiteral("/dev/") + name;
}

// One key per device, whatever name it was opened by ("ttyS0",
// "/dev/ttyS0" or a symbolic link to it).
QString deviceKey(const QString& name)
{
    const QString path = devicePath(name);
    const QString canon = QFileInfo(path).canonicalFilePath();
    return canon.isEmpty() ? path : canon;
}

// The process named in a lock file: its first number in text (HDB style,
// "      1234\n", or a first line "1234"), or a 4-byte binary pid of old
// programs; 0 when there is none.
long lockOwner(const QByteArray& content)
{
    const QByteArray t = content.trimmed();
    qsizetype n = 0;
    while (n < t.size() && n < 12 && t.at(n) >= '0' && t.at(n) <= '9')
        ++n;
    if (n > 0)
        return t.left(n).toLong();
    if (content.size() == 4) {
        qint32 pid = 0;
        std::memcpy(&pid, content.constData(), 4);
        return pid > 0 ? pid : 0;
    }
    return 0;
}

// True when another running program holds a UUCP-style lock on the device
// ("LCK..ttyUSB0"; "LCK..pts_3" for /dev/pts/3). A lock of a process that
// no longer runs is stale and holds nothing; one whose owner cannot be
// read is taken as held.
bool lockedByOther(const QString& device)
{
    QString rel = device.startsWith(QStringLiteral("/dev/")) ? device.mid(5) : QFileInfo(device).fileName();
    QStringList names{QStringLiteral("LCK..") + QString(rel).replace(u'/', u'_')};
    const QString base = QStringLiteral("LCK..") + QFileInfo(device).fileName();
    if (!names.contains(base) && !rel.contains(u'/'))
        names << base;
    QSet<QString> seen;
    for (const QString& folder : lockFolderList()) {
        const QString canonFolder = QFileInfo(folder).canonicalFilePath();
        if (canonFolder.isEmpty() || seen.contains(canonFolder))
            continue; // /var/lock is most often a link to /run/lock
        seen.insert(canonFolder);
        for (const QString& n : names) {
            const QString path = QDir(canonFolder).filePath(n);
            if (!QFileInfo::exists(path))
                continue;
            if (!isregularfile(path))
                return true;
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                return true;
            const long pid = lockOwner(f.read(64));
            if (pid <= 0)
                return true;
            if (pid == long(::getpid()))
                continue; // this program's own port layer; held() answers for it
            if (::kill(pid_t(pid), 0) == 0 || errno == EPERM)
                return true;
        }
    }
    return false;
}

// True unless path opens as a device that is no terminal. Asked only
// after an open has failed, so a real port is not opened twice on the way
// in; one that cannot be opened now counts as a terminal.
bool isTerminal(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool tty = ::isatty(fd) == 1;
    ::close(fd);
    return tty;
}

class SerialBackend : public PortBackend {
public:
    bool available(const QString& name) override
    {
        const QString path = deviceKey(name);
        struct stat st {};
        const QByteArray native = QFile::encodeName(path);
        if (::stat(native.constData(), &st) != 0 || !S_ISCHR(st.st_mode))
            return false;
        if (::access(native.constData(), R_OK | W_OK) != 0)
            return false;
        return !lockedByOther(path);
    }

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
        case QSerialPort::DeviceNotFoundError:
            number = InvalidPortNumber;
            why = QStringLiteral("The port %1 is not there: its device is unplugged or switched off.").arg(name);
            break;
        case QSerialPort::PermissionError:
            number = verr::PortAlreadyOpen;
            why = m_port.errorString();
            break;
        case QSerialPort::UnsupportedOperationError:
            // The device exists and opened, but not with these settings:
            // a rate (or framing) it cannot run at, or no line settings at
            // all (/dev/null, a printer, any device that is no terminal).
            if (!isTerminal(deviceKey(name))) {
                number = verr::PortError;
                why = QStringLiteral("The port %1 cannot be used: its device is not a serial port.").arg(name);
                break;
            }
            number = verr::InvalidPropertyValue;
            why = QStringLiteral("The port %1 cannot run at %2 baud.").arg(name).arg(s.baud);
            break;
        default:
            number = verr::PortError;
            why = m_port.errorString();
            break;
        }
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

    LineResult setLine(int line, bool on) override
    {
        if (m_noLines)
            return LineResult::NoLines;
        Quiet q(*this);
        if (line == portline::DTR ? m_port.setDataTerminalReady(on) : m_port.setRequestToSend(on))
            return LineResult::Done;
        switch (m_port.error()) {
        case QSerialPort::ResourceError:
        case QSerialPort::PermissionError:
        case QSerialPort::DeviceNotFoundError:
            return LineResult::Refused; // the device is there and failed
        default:
            m_noLines = true; // a pseudo-terminal: no modem lines at all
            return LineResult::NoLines;
        }
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
    return VError(verr::InvalidPropertyValue, QStringLiteral("Invalid property value: \"%1\"").arg(text));
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
    // Whoever listened may be gone already.
    blockSignals(true);
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

bool PortController::available(const QString& name)
{
    std::unique_ptr<PortBackend> b;
    if (factory())
        b = factory()(name);
    if (b)
        return !held().contains(name) && b->available(name);
    return !heldOpen(name) && SerialBackend().available(name);
}

bool PortController::lockedByOtherProgram(const QString& device)
{
    return lockedByOther(device);
}

void PortController::setLockFolders(const QStringList& folders)
{
    lockFolderList() = folders;
}

QStringList PortController::lockFolders()
{
    return lockFolderList();
}

QString PortController::lostText(const QString& name)
{
    return QStringLiteral("The port %1 was lost: its device was unplugged or stopped answering.").arg(name);
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
    emit openChanged(true);
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
    emit openChanged(false);
}

void PortController::onBroken(int number, const QString&)
{
    if (m_broken || !m_backend)
        return;
    m_broken = true;
    // The device keeps signalling until it is closed: hear no more of it,
    // close it from the event loop and report once.
    // The platform's words for it ("Inappropriate ioctl for device") do
    // not tell the user what happened; the port's name and its loss do.
    m_backend->blockSignals(true);
    const quint64 gen = m_generation;
    QTimer::singleShot(0, this, [this, gen, number, text = lostText(m_name)] {
        if (gen != m_generation)
            return;
        close();
        emit failed(number, text);
    });
}

void PortController::write(const QString& text)
{
    if (!m_backend)
        throw VError(verr::PortNotOpen, QStringLiteral("Port not open"));
    if (m_broken || !m_backend->write(text.toLatin1()))
        throw VError(verr::PortError, lostText(m_name));
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
    setLine(portline::DTR, on);
}

void PortController::setRts(bool on)
{
    m_rts = on;
    setLine(portline::RTS, on);
}

void PortController::setLine(int line, bool on)
{
    if (!m_backend || m_broken)
        return;
    if (m_backend->setLine(line, on) == PortBackend::LineResult::Refused)
        throw VError(verr::PortError, QStringLiteral("The port %1 could not switch its %2 line %3.")
                                          .arg(m_name, line == portline::DTR ? QStringLiteral("DTR") : QStringLiteral("RTS"),
                                               on ? QStringLiteral("on") : QStringLiteral("off")));
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
