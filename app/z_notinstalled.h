#pragma once
#include "common/toolwindow.h"

// Shown for every tool name that has no window.
class Z_notinstalled : public ToolWindow {
    Q_OBJECT
public:
    Z_notinstalled();

protected:
    void build(QWidget* form) override;
};
