#include "rs232_comportscanner.h"
#include "controlchars.h"
#include "formbuilder.h"
#include "numtext.h"
#include "pacing.h"
#include "portcontroller.h"
#include "rs232_portscanning.h"

#include <QCollator>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPortInfo>

namespace {

void serveEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

QStringList portCandidates()
{
    QStringList system;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        system << info.portName();
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(system.begin(), system.end(), [&](const QString& a, const QString& b) { return numeric.compare(a, b) < 0; });
    QStringList all = system;
    const QString extra = qEnvironmentVariable("VOLTARIS_PORTS");
    for (const QString& path : extra.split(u':', Qt::SkipEmptyParts))
        if (!all.contains(path))
            all << path;
    return all;
}

RS232_comportscanner::RS232_comportscanner() : ToolWindow(QStringLiteral("RS232_comportscanner"), QSize(1875, 5175)) {}

void RS232_comportscanner::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("ComScan"));
    auto* ui = makeControls<Ui>();
    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 120, 60, 1635, 375);
    ui->Command1->setText(QStringLiteral("Scan for ComPorts"));
    ui->Label1 = place<QLabel>(form, QStringLiteral("Label1"), 120, 600, 675, 255);
    ui->Label1->setText(QStringLiteral("Testing"));
    ui->counter = place<QLineEdit>(form, QStringLiteral("counter"), 840, 540, 915, 345);
    ui->counter->setText(QStringLiteral("---"));
    ui->resultlist = place<QPlainTextEdit>(form, QStringLiteral("resultlist"), 120, 960, 1635, 4095);
    on(ui->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
}

void RS232_comportscanner::onLoad()
{
    initchars();
}

void RS232_comportscanner::noticeOn()
{
    if (m_scans++ == 0) {
        FormSlots::get<RS232_portscanning>().show();
        serveEvents();
    }
}

void RS232_comportscanner::noticeOff()
{
    if (--m_scans == 0)
        FormSlots::get<RS232_portscanning>().hide();
}

void RS232_comportscanner::portscan(PortList& ports)
{
    load();
    ports[0] = QStringLiteral("Select");
    noticeOn();
    int count = 0;
    for (const QString& name : portCandidates()) {
        if (count == 99)
            break;
        if (PortController::available(name)) // found without opening: an open resets many boards
            ports[++count] = name;
        serveEvents();
    }
    ports[100] = numstr(count);
    noticeOff();
}

void RS232_comportscanner::Command1_Click()
{
    if (m_userScan)
        return; // one user's scan at a time: a second click would interleave its list
    auto* ui = controls<Ui>();
    m_userScan = true;
    ui->resultlist->setPlainText(QString());
    noticeOn();
    const QStringList names = portCandidates();
    QString found;
    for (int n = 1; n <= 100 && n <= names.size(); ++n) {
        ui = controls<Ui>();
        if (!ui || waitAborted())
            break;
        ui->counter->setText(QString::number(n));
        serveEvents();
        if (PortController::available(names[n - 1])) {
            found += names[n - 1] + cc.CRLF;
            if ((ui = controls<Ui>()))
                ui->resultlist->setPlainText(found);
        }
        serveEvents();
    }
    if ((ui = controls<Ui>()))
        ui->counter->setText(QStringLiteral("Done"));
    noticeOff();
    m_userScan = false;
}
