#pragma once
#include "passivedesign.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Resistance, voltage drop and power loss of a rectangular bar, a round
// conductor, an AWG wire or a path of rectangular bus-bar sections.
class Cond_wirecalc : public PassiveDesign {
    Q_OBJECT
public:
    Cond_wirecalc();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onActivate() override;
    void recalc(int which) override;
    int filterKey(int index, int key) override;

private:
    struct Ui : Controls {
        QComboBox* material = nullptr;
        QComboBox* awg = nullptr;
        QRadioButton* units[2] = {};
        QRadioButton* mode[5] = {};
        QLabel* unitlabel[6] = {};
        QPlainTextEdit* speclist[2] = {};
        QPushButton* crunch[2] = {};
        QLineEdit* result[4] = {};
        QLineEdit* errorbox = nullptr;
        QPushButton* Command1 = nullptr;
    };
    bool english() const;
    int mode() const;
    void units_Click();
    void relabel();
    void awg_Click();
    void crunch_Click(int index);
    void showAll(const QString& text);
    void showResults(double dc, double ac);
    void single(int mode);
    void busList(int mode);
};
