#pragma once
#include "radjwindow.h"

class PSUtil_8657b : public RadjWindow {
    Q_OBJECT
public:
    PSUtil_8657b();
};
