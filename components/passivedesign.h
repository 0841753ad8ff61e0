#pragma once
#include "common/designtool.h"

class QLineEdit;

// Base of the conductor and passive-part designers: a DesignTool whose
// windows also hold boxes outside the numbered box array (spec_0,
// spec_1, ...): named results such as "inductance", laid out as a row
// like the array's.
class PassiveDesign : public DesignTool {
    Q_OBJECT
public:
    using DesignTool::DesignTool;

protected:
    // A read-only, right-aligned result box with its caption and unit
    // labels (elements of the label array; "" for none).
    QLineEdit* namedRow(QWidget* form, const QString& name, const QString& caption, const QString& unit,
                        const QString& text, const Grid& grid, double top);
};
