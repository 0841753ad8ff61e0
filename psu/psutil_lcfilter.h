#pragma once
#include "common/designtool.h"

class QComboBox;

// Output LC filter of a forward or push-pull converter.
class PSUtil_lcfilter : public DesignTool {
    Q_OBJECT
public:
    PSUtil_lcfilter();
    // The mode list ("Single", "Push-Pull"); choosing runs recalc(5).
    void setMode(int index);
    int mode() const;

protected:
    void recalc(int which) override;
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        QComboBox* mode = nullptr;
    };
    void Command1_Click();
};
