#pragma once
// Driving a calculator window from a short script, for data tables of
// worked examples.
//
// Script steps, separated by ";":
//   t3:12    select the whole text of box 3 and type "12" ("t3:" clears it)
//   a3:5     type "5" at the end of box 3
//   e3       Enter in box 3
//   l3       leave box 3 (the focus goes elsewhere)
//   p3:-4x   paste "-4x" into box 3 (no key filter on the way)
// Expectations: "3=5.000;4=---" (box index = its text).

#include <QString>

class ToolWindow;

// Opens a window by triggering its menu item (the QAction of that name).
bool openFromMenu(const QString& item);
void runScript(ToolWindow& w, const QString& array, const QString& script);
// "" when every expected text is shown, else what differs.
QString boxMismatch(ToolWindow& w, const QString& array, const QString& expect);
