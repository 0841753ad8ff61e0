#pragma once
// Parallel Resistor Computer: standard values, single or two in parallel,
// within a tolerance of a target resistance, listed with their error.

#include "common/toolwindow.h"

#include <vector>

class RLC_rparallelr : public ToolWindow {
    Q_OBJECT
public:
    RLC_rparallelr();

    // "Find Networks".
    void Command1_Click();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void resistorset_Click();

    // The chosen series as stdseries fills it.
    std::vector<float> m_values = std::vector<float>(1001);
    bool m_searching = false;
};
