#pragma once
#include "common/helpwindow.h"

// The ADC scale-factor calculator's help page.
class Math_adcscalerdoc : public HelpWindow {
    Q_OBJECT
public:
    Math_adcscalerdoc();
};
