#pragma once
#include "common/helpwindow.h"

// The conductor calculator's help page.
class Cond_wirecalchelp : public HelpWindow {
    Q_OBJECT
public:
    Cond_wirecalchelp();
};
