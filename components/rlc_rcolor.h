#pragma once
// Resistor Decoder: colour swatches, one column per band, painted on a
// drawing of a resistor, with the value, tolerance and temperature
// coefficient they give.

#include "common/toolwindow.h"

class RLC_rcolor : public ToolWindow {
    Q_OBJECT
public:
    RLC_rcolor();

    // Applies swatch `which` (when it is one) and recomputes the texts.
    void recalc(int which);

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void bands_Click(int index);
    bool fourBands() const;
};
