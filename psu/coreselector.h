#pragma once
// The core selector of the core-based tools: a list filled from the core
// data file ("Select" first, then one entry per core), which refuses typing,
// and the "Core" caption, whose click shows the chosen core's sheet.

#include "common/designtool.h"

#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QWidget;
class ToolWindow;

namespace coresel {

// Places the selector; choose runs for every selection, the program's own
// included (index 0 is "Select", index k core k).
QComboBox* place(ToolWindow& w, QWidget* form, double left, double top, double width,
                 const std::function<void(int index)>& choose);
// Makes a caption label show the chosen core's data sheet.
void hookSheet(ToolWindow& w, QLabel* caption, QComboBox* selector);
// Fills the selector from the core data file and chooses "Select".
void fill(QComboBox* selector);
// Recalculation rules the core windows share: Enter and leaving a box
// recompute, a key release recomputes, focus selects the text.
DesignTool::Rules rules();
// Field k of core row's record (blank-separated, counted from 1).
QString field(int row, int k);

} // namespace coresel
