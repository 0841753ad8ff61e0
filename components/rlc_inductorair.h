#pragma once
#include "passivedesign.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// Single-layer air-core solenoid: spacing, actual length, outside
// diameter, inductance, wire length and resistance from the turns, the wire
// size, the inside diameter and the wanted length.
class RLC_inductorair : public PassiveDesign {
    Q_OBJECT
public:
    RLC_inductorair();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void recalc(int which) override;

private:
    struct Ui : Controls {
        QComboBox* turns = nullptr;
        QComboBox* awg = nullptr;
        QComboBox* material = nullptr;
        QLineEdit* inductance = nullptr;
        QLineEdit* wirelength = nullptr;
        QLineEdit* wiredcr = nullptr;
        QPushButton* Command1 = nullptr;
        QWidget* helpframe = nullptr;
    };
    QComboBox* list(QWidget* form, const QString& name, const QString& caption, const QStringList& entries,
                    double top);
    void Command1_Click();
};
