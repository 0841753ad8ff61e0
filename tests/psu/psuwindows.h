#pragma once
// Opening the power-supply windows as the user does and reaching their boxes.

#include "support/typing.h"

#include "app/a_main.h"
#include "common/designtool.h"
#include "common/formbuilder.h"

#include <QAction>
#include <QMenuBar>

// Opens a window afresh from its menu item.
template <class W>
W& openFromMenu(const char* item)
{
    W& w = FormSlots::get<W>();
    w.unload();
    mainWindow().menuBar()->findChild<QAction*>(item)->trigger();
    return w;
}

inline QLineEdit* spec(DesignTool& w, int i)
{
    return boxNamed(w, arrayName("spec", i));
}
