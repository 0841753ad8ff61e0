#include "fakeport.h"
#include "common/verror.h"

void FakeLine::feed(const QByteArray& bytes)
{
    unread += bytes;
    if (port)
        port->arrived();
}

void FakeLine::fail()
{
    if (port)
        port->breakDown();
}

bool FakePort::open(const QString&, const PortSettings& s, int& number, QString& why)
{
    if (!m_line->present) {
        number = 8002;
        why = QStringLiteral("No such device");
        return false;
    }
    if (m_line->failOpen) {
        number = verr::PortError;
        why = QStringLiteral("Input/output error");
        return false;
    }
    if (m_line->refuseBaud.count(s.baud)) {
        number = verr::InvalidPropertyValue;
        why = QStringLiteral("Unsupported operation");
        return false;
    }
    m_line->open = true;
    m_line->baud = m_line->maxBaud > 0 ? qMin(s.baud, m_line->maxBaud) : s.baud;
    m_line->port = this;
    return true;
}

void FakePort::close()
{
    m_line->open = false;
    m_line->outputs = 0;
    m_line->port = nullptr;
}

bool FakePort::write(const QByteArray& bytes)
{
    if (m_line->failWrites)
        return false;
    m_line->written += bytes;
    return true;
}

QByteArray FakePort::readAll()
{
    QByteArray b = m_line->unread;
    m_line->unread.clear();
    return b;
}

PortBackend::LineResult FakePort::setLine(int line, bool on)
{
    if (m_line->refuseLines & line)
        return LineResult::Refused;
    m_line->outputs = on ? (m_line->outputs | line) : (m_line->outputs & ~line);
    return LineResult::Done;
}

int FakePort::lines()
{
    return m_line->outputs | m_line->inputs;
}

bool FakePort::setBaud(int baud)
{
    if (m_line->refuseBaud.count(baud))
        return false;
    m_line->baud = baud;
    return true;
}

FakePorts::FakePorts()
{
    PortController::setBackendFactory([this](const QString& name) -> std::unique_ptr<PortBackend> {
        if (!name.startsWith(QStringLiteral("fake-")))
            return nullptr;
        return std::make_unique<FakePort>(line(name));
    });
}

FakePorts::~FakePorts()
{
    PortController::setBackendFactory(nullptr);
}

std::shared_ptr<FakeLine> FakePorts::line(const QString& name)
{
    auto& l = m_lines[name];
    if (!l)
        l = std::make_shared<FakeLine>();
    return l;
}
