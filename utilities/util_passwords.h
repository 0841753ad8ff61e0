#pragma once
#include "common/toolwindow.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Makes a random password of the chosen length and appends it, with its
// description, to the password list in the program's folder.
class Util_passwords : public ToolWindow {
    Q_OBJECT
public:
    Util_passwords();
    // The password list.
    static QString listPath();
    // Where the draws come from: the system's cryptographic source unless a
    // test sets a fixed one (an empty function restores the system's).
    void setDrawSource(std::function<double()> next) { m_draw = std::move(next); }

protected:
    void build(QWidget* form) override;

private:
    struct Ui : Controls {
        QLineEdit* Text2 = nullptr;
        QCheckBox* numb = nullptr;
        QCheckBox* symb = nullptr;
        QLineEdit* Text3 = nullptr;
        QLineEdit* Text1 = nullptr;
        QPushButton* Command1 = nullptr;
    };
    void Command1_Click();

    std::function<double()> m_draw;
};
