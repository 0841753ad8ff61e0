#pragma once
#include "common/designtool.h"

class QLabel;
class QPixmap;

// Radj of the standard high-voltage module set below its one-resistor range:
// Radj and its series resistor go to an adjusting voltage Vadj.
class PSUtil_8657c : public DesignTool {
    Q_OBJECT
public:
    PSUtil_8657c();
    // The advice picture beside the boxes.
    static QPixmap advice();

protected:
    void recalc(int which) override;
    void build(QWidget* form) override;
    void keyTyped(int index, int key) override;
};
