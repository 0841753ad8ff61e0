#pragma once
#include "contestlist.h"

#include "common/toolwindow.h"

#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Loads a list of contestants and draws distinct winners from it at random.
class Util_contestdrawing : public ToolWindow {
    Q_OBJECT
public:
    Util_contestdrawing();
    const std::vector<Contestant>& contestants() const { return m_contestants; }

protected:
    void build(QWidget* form) override;

private:
    struct Ui : Controls {
        QPushButton* Command1 = nullptr;
        QPlainTextEdit* ctext = nullptr;
        QLineEdit* wselects = nullptr;
        QPushButton* Command2 = nullptr;
        QPlainTextEdit* winnerlist = nullptr;
    };
    void Command1_Click();
    void Command2_Click();
    int wselects_KeyPress(int key);
    void wselects_LostFocus();

    // The loaded list; replaced by each load.
    std::vector<Contestant> m_contestants;
};
