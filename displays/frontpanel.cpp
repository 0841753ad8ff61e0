#include "frontpanel.h"

#include "common/numtext.h"
#include "common/rs232_comportscanner.h"

#include <QComboBox>

void fillPortList(QComboBox* portselect)
{
    PortList ports;
    FormSlots::get<RS232_comportscanner>().portscan(ports);
    const int count = int(numval(ports[100]));
    portselect->clear();
    for (int i = 0; i <= count && i < 100; ++i)
        portselect->addItem(ports[i]);
    portselect->setCurrentIndex(0);
}
