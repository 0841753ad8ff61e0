#pragma once
// Front panels of boards that have no protocol yet: their port list is
// filled like every controller's, but choosing a port opens nothing.

class QComboBox;

// Fills the list from portscan ("Select" first) and selects "Select".
void fillPortList(QComboBox* portselect);
