#pragma once
#include "common/designtool.h"

#include <array>

class QRadioButton;

// Output power, input power and efficiency of three operating points.
// The values survive closing the window in "QuickEfficiency.cfg".
class PSUtil_quickeff : public DesignTool {
    Q_OBJECT
public:
    PSUtil_quickeff();
    static constexpr int boxCount = 21;
    static QString settingsPath();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;
    void recalc(int which) override;
    QString pattern(int index) const override;

private:
    struct Ui : Controls {
        std::array<QRadioButton*, 7> Option1{};
    };
    void getformat();
    void Option1_Click();
    QString m_format = QStringLiteral("0.000");
};
