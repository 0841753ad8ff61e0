#pragma once
#include "common/helpwindow.h"

// The zener diode quick cross-reference data page.
class Comp_zener : public HelpWindow {
    Q_OBJECT
public:
    Comp_zener();
};
