#pragma once
#include "common/toolwindow.h"

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
};
