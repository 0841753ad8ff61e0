#pragma once
// The named control of a loaded window; the test program stops, naming
// it, when the window has no such control.

#include "common/toolwindow.h"

#include <QString>
#include <QWidget>
#include <QtGlobal>

template <class W>
W* controlOf(ToolWindow& window, const QString& name)
{
    auto* w = window.form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s in %s", qPrintable(name), qPrintable(window.className()));
    return w;
}
