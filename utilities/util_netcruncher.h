#pragma once
#include "netlist.h"

#include "common/toolwindow.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Counts, sorts and lists the nets of a text netlist and shows the node
// lines of the net picked. The start folder survives closing the window
// in "netcr.ini".
class Util_netcruncher : public ToolWindow {
    Q_OBJECT
public:
    Util_netcruncher();
    static QString settingsPath();

    const std::vector<Net>& nettable() const { return m_nets; }
    // Shows the node lines of net index in netspec_3.
    void shownets(int index);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui : Controls {
        std::array<QPushButton*, 1> cmmd{};
        QLineEdit* currdir = nullptr;
        QCheckBox* asort = nullptr;
        std::array<QLineEdit*, 2> netcount{};     // netspec_0, netspec_1
        std::array<QPlainTextEdit*, 2> netbox{};  // netspec_2, netspec_3
        QComboBox* netlister = nullptr;
        QComboBox* snnlist = nullptr;
    };
    void cmmd_Click(int index);
    void process();
    void netlister_Click();
    void snnlist_Click();

    // Names added to a list between two looks at the clock.
    static constexpr qsizetype kNamesPerStep = 2000;

    std::vector<Net> m_nets;
    bool m_running = false;
    quint64 m_showSeq = 0; // bumped by each shownets and by a new table
};
