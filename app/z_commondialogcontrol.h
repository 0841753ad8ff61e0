#pragma once
#include "common/commondialog.h"
#include "common/toolwindow.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The test window of the standard file open and save boxes: shows the
// names they return and whether the extension matches the default.
class Z_commondialogcontrol : public ToolWindow {
    Q_OBJECT
public:
    Z_commondialogcontrol();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        QPushButton* Command1[2] = {nullptr, nullptr};
        QPlainTextEdit* Text1 = nullptr;
        QPlainTextEdit* Text3 = nullptr;
        QLineEdit* Text2 = nullptr;
    };
    void Command1_Click(int index);
    CommonDialog cdc;
};
