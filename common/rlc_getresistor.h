#pragma once
// The shared resistor picker: a modal dialog in which the user picks a
// standard value from the 1 % or the 5 % series. One instance for the whole
// run, only hidden after each use, so its list and selection persist.
//
// A caller opens it with pick(), which shows it modally and answers the
// chosen resistance in ohms, or nothing after Cancel (or when a series
// entry rather than a value is selected); the caller then writes the value
// into its field in its own number format and recalculates.

#include "toolwindow.h"

#include <optional>

class QComboBox;
class QPushButton;

class RLC_getresistor : public ToolWindow {
    Q_OBJECT
public:
    RLC_getresistor();

    // Shows the picker modally and returns the chosen value in ohms.
    static std::optional<double> pick();

    // The value of a list entry: a value entry begins with a blank; only
    // its digits and "." count. A series entry gives nothing.
    static std::optional<double> entryValue(const QString& entry);

    // The text of the selected entry ("" when none).
    QString selectedText();

protected:
    void build(QWidget* form) override;

private:
    struct Ui : Controls {
        QComboBox* Combo1 = nullptr;
        QPushButton* OKButton = nullptr;
        QPushButton* Command1 = nullptr;
    };
    void Combo1_Click();
    void Command1_Click();
};
