#include "rs232_portscanning.h"
#include "formbuilder.h"

#include <QPushButton>

RS232_portscanning::RS232_portscanning() : ToolWindow(QStringLiteral("RS232_portscanning"), QSize(2775, 975)) {}

void RS232_portscanning::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 60, 60, 2655, 855);
    ui->Command1->setText(QStringLiteral("Scanning for serial ports, please wait..."));
    ui->Command1->setFont(uiFont(8.25));
}
