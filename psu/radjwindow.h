#pragma once
// The slider windows of the high-voltage modules' Radj: one implementation,
// driven by each board's constants.
#include "radj.h"

#include "common/designtool.h"

class QSlider;

class RadjWindow : public DesignTool {
    Q_OBJECT
public:
    RadjWindow(const QString& className, const RadjBoard& board, bool vrefBox);
    const RadjBoard& board() const { return m_board; }

protected:
    void recalc(int which) override;
    void build(QWidget* form) override;

private:
    struct Ui : Controls {
        QSlider* vset = nullptr;
    };
    void vset_Change(int position);
    const RadjBoard& m_board;
    bool m_vrefBox;
};
