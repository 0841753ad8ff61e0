#pragma once
#include <QString>
#include <vector>

// One menu item of the main window: its group (and submenu, if any), its
// control name, its caption and the tool name it hands to popup.
struct MenuEntry {
    QString group;        // "mconductor"
    QString groupCaption; // "Conductors"
    QString submenu;      // "mpsumagnetics" or empty
    QString submenuCaption;
    QString item;    // "zwirecalc"
    QString caption; // "Wire Calc"
    QString name;    // "Cond_wirecalc"
};

// The menu tree in its order, left to right and top to bottom.
const std::vector<MenuEntry>& menuTree();
