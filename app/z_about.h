#pragma once
#include "common/helpwindow.h"

// The About window: the program's version in the caption and its revision
// history page. A double-click on the window's margin or a click in the
// text hides it (it stays loaded).
class Z_about : public HelpWindow {
    Q_OBJECT
public:
    Z_about();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
};
