#include "radjwindow.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QSlider>

namespace {
DesignTool::Rules toolRules()
{
    DesignTool::Rules r;
    r.resultColor = QColor(128, 255, 255);
    r.enter = DesignTool::Step::Recalc;
    r.leave = DesignTool::Step::Recalc;
    r.keyUp = true;
    r.selectOnFocus = true;
    // The default Vout can lie inside the range (45-80 V option): the
    // result must match it from the start.
    r.recalcOnOpen = true;
    return r;
}
} // namespace

RadjWindow::RadjWindow(const QString& className, const RadjBoard& board, bool vrefBox)
    : DesignTool(className, QSize(4200, 1900), toolRules()), m_board(board), m_vrefBox(vrefBox)
{
}

void RadjWindow::build(QWidget* form)
{
    form->setWindowTitle(m_board.caption);
    auto* ui = makeControls<Ui>();
    ui->vset = place<QSlider>(form, "vset", 120, 120, 3960, 375);
    ui->vset->setOrientation(Qt::Horizontal);
    ui->vset->setRange(m_board.sliderMin, m_board.sliderMax);
    ui->vset->setValue(m_board.sliderStart);

    std::vector<Box> rows = {{0, "Vout", m_board.unit, m_board.defaultVout, Kind::Decimal, "0.000"}};
    if (m_vrefBox)
        rows.push_back({1, "Vref", "V", fmt(m_board.vref, "0.000"), Kind::Fixed, ""});
    rows.push_back({2, "Radj", "kOhms", "Open", Kind::Result, "0.000"});
    Grid g;
    g.top = 600;
    g.captionWidth = 900;
    g.unitWidth = 1500;
    addBoxes(form, rows, g);

    on(ui->vset, &QSlider::valueChanged, [this](int p) { vset_Change(p); });
}

void RadjWindow::vset_Change(int position)
{
    setText(0, radj::sliderText(m_board, position));
    refresh(-1);
}

void RadjWindow::recalc(int which)
{
    if (which == 0)
        setText(0, radj::limitVout(m_board, text(0)));
    const double vref = m_vrefBox ? value(1) : m_board.vref;
    setText(2, radj::groundText(m_board, value(0), vref));
}
