#pragma once
#include <QString>
#include <vector>

class ToolWindow;

// The dispatcher's name table: accepted (lower-case) name -> the shared
// instance of its window class. Nothing else lists the windows.
struct WindowEntry {
    QString name;
    ToolWindow& (*instance)();
};
const std::vector<WindowEntry>& windowTable();

// The window of an accepted name, or Z_notinstalled.
ToolWindow& windowFor(const QString& name);
