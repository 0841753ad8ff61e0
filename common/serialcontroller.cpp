#include "serialcontroller.h"
#include "alert.h"
#include "controlchars.h"
#include "framer.h"
#include "numtext.h"
#include "pacing.h"
#include "rs232_comportscanner.h"
#include "toolwindow.h"

#include <QComboBox>

SerialController::SerialController(ToolWindow& owner, Settings settings, Process process, QString titlePrefix)
    : m_owner(owner), m_settings(std::move(settings)), m_process(std::move(process)), m_prefix(std::move(titlePrefix)),
      m_start(QStringLiteral("!")), m_end(QString(QChar(13)))
{
}

void SerialController::setFraming(const QString& start, const QString& end)
{
    m_start = start;
    m_end = end;
}

void SerialController::attach(QComboBox* portselect)
{
    m_portselect = portselect;
    m_owner.on(portselect, &QComboBox::currentIndexChanged, [this](int index) { portselectClick(index); });
    m_owner.onKeyPress(portselect, [](int) { return 0; });
    m_owner.on(&rs232, &PortController::dataArrived, [this] { dataEvent(); });
    m_owner.on(&rs232, &PortController::failed,
               [this](int number, const QString& description) { portFailed(number, description); });
}

void SerialController::load()
{
    rs232.close();
    portopen = 0;
    m_lost.clear();
    ReceiveBuffer.clear();
    if (m_portselect)
        m_portselect->clear();
    PortList ports;
    FormSlots::get<RS232_comportscanner>().portscan(ports);
    const int count = int(numval(ports[100]));
    if (m_portselect) {
        for (int i = 0; i <= count && i < 100; ++i)
            m_portselect->addItem(ports[i]);
        m_portselect->setCurrentIndex(0);
    }
    initchars();
}

void SerialController::unload()
{
    rs232.close();
    portopen = 0;
}

void SerialController::noPort()
{
    rs232.close();
    portopen = 0;
    if (m_portselect && m_portselect->currentIndex() != 0)
        m_portselect->setCurrentIndex(0);
}

void SerialController::portselectClick(int index)
{
    if (!m_portselect)
        return;
    try {
        if (index > 0) {
            m_lost.clear();
            rs232.close();
            rs232.open(m_portselect->itemText(index), m_settings());
            portopen = -1;
            if (m_afterOpen)
                m_afterOpen();
        } else if (portopen) {
            rs232.close();
            portopen = 0;
        }
    } catch (const VError& e) {
        setHandledError(e);
        const QString port = m_portselect->itemText(index);
        noPort();
        if (!m_reportOpenFailure || m_reportOpenFailure(port, e))
            alertbox(m_prefix + QStringLiteral("Com port open error"), e.description(), 0);
    }
}

void SerialController::comwrite(const QString& text, int wait)
{
    if (!portopen) {
        alertbox(QStringLiteral("Serial port error"),
                 QStringLiteral("Please select an active serial port before attepmting to comunicate with your "
                                "peripheral device!"),
                 0);
        return;
    }
    try {
        rs232.write(text);
    } catch (const VError& e) {
        portError(e);
        return;
    }
    if (wait > 0)
        delay(wait);
}

void SerialController::portError(const VError& e)
{
    setHandledError(e);
    m_lost = rs232.portName();
    noPort();
    alertbox(m_prefix + QStringLiteral("Com port error"), QString(), 2);
}

QString SerialController::nextReply()
{
    return framer(m_start, m_end, ReceiveBuffer);
}

void SerialController::dataEvent()
{
    ReceiveBuffer += rs232.read();
    capReceiveBuffer(m_end, ReceiveBuffer);
    for (;;) {
        const qsizetype before = ReceiveBuffer.size();
        m_process(255, QString());
        if (!m_owner.isLoaded() || m_owner.aborted())
            return;
        const bool consumed = ReceiveBuffer.size() < before;
        // A process that sent and paused let data in meanwhile, but the port
        // does not report data again while this event runs: take it now,
        // or it would wait for the board's next reply.
        const QString more = rs232.read();
        ReceiveBuffer += more;
        // Nothing consumed and nothing new (a process that keeps what it
        // cannot use yet), or no complete reply left: wait for more data.
        if ((!consumed && more.isEmpty()) || !framerHasReply(m_end, ReceiveBuffer))
            break;
    }
    capReceiveBuffer(m_end, ReceiveBuffer);
}

void SerialController::portFailed(int number, const QString& description)
{
    setHandledError(VError(number, description));
    m_lost = m_portselect ? m_portselect->currentText() : QString();
    noPort();
    alertbox(m_prefix + QStringLiteral("Com port error"), QString(), 2);
}
