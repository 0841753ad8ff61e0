#pragma once
// RC-time A/D conversion plotter: crossing times, clocks and instruction
// cycles of three set-points for an R/C or a constant-current slope
// converter, with the charge curve and the set-point levels drawn.

#include "common/toolwindow.h"

#include <array>

class Math_rcadc : public ToolWindow {
    Q_OBJECT
public:
    Math_rcadc();

    // "Calculate".
    void Calculate();
    // The mode button.
    void rmode_Click();

protected:
    void build(QWidget* form) override;
    void onActivate() override;

private:
    struct Ui;
    Ui* ui() const;
    bool icMode() const;

    // The mode fields (R or I, C, the horizontal scale) last used in each mode.
    std::array<double, 3> m_rcValues{};
    std::array<double, 3> m_icValues{};
    bool m_calculating = false;
};
