#pragma once
#include "pkpdata.h"

#include "common/toolwindow.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Turns a pick-and-place export into top and bottom placement lists, with
// part numbers merged from a parts list. The folder of the last export
// survives closing the window in "c_pkp.ini".
class Util_pkptocohu : public ToolWindow {
    Q_OBJECT
public:
    Util_pkptocohu();
    static QString settingsPath();

    const QString& lastdir() const { return m_lastdir; }
    const PlacementSides& placements() const { return m_sides; }

    // Each false when the run ends early (unreadable, closed, quitting).
    bool getpkp();
    bool getparts();
    // Mode 1 writes the two list files as well; any other mode only shows.
    // Options changed while it runs are shown before it returns.
    void showdata(int mode);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui : Controls {
        std::array<QPushButton*, 3> Command1{};
        std::array<QLineEdit*, 2> offset{};
        QCheckBox* suppressjx = nullptr;
        QCheckBox* suppresspx = nullptr;
        QCheckBox* suppressex = nullptr;
        QCheckBox* suppressdni = nullptr;
        QCheckBox* suppresssymb = nullptr;
        QPlainTextEdit* topdata = nullptr;
        QPlainTextEdit* botdata = nullptr;
        QPlainTextEdit* orphans = nullptr;
    };
    void Command1_Click(int index);
    void offsetSettle(int index);
    // Shows the lists for the options now set, or has the run under way
    // show them when it ends.
    void redraw();
    // One pass of showdata; false when it ended early (closed, quitting).
    bool showonce(int mode);

    // Lines parsed between two looks at the clock.
    static constexpr qsizetype kLinesPerStep = 2000;

    PlacementSides m_sides;
    bool m_running = false;
    bool m_redraw = false; // options changed while a run was under way
    // False until an export has been read, and again after a failed read.
    bool m_loaded = false;
    QString m_base; // base name of the export, for the output files
    QString m_lastdir;
};
