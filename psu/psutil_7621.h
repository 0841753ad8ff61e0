#pragma once
#include "radjwindow.h"

class PSUtil_7621 : public RadjWindow {
    Q_OBJECT
public:
    PSUtil_7621();
};
