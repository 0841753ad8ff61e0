#include "psutil_lm317.h"
#include "regulatorcalc.h"

#include "common/formbuilder.h"

#include <QComboBox>

namespace {
DesignTool::Rules lm317Rules()
{
    DesignTool::Rules r;
    r.resultColor = QColor(); // every box can be an input
    r.enter = DesignTool::Step::Reformat;
    r.leave = DesignTool::Step::Reformat;
    r.change = true;
    r.recalcOnOpen = false;
    return r;
}
} // namespace

PSUtil_lm317::PSUtil_lm317() : DesignTool(QStringLiteral("PSUtil_lm317"), QSize(5400, 2280), lm317Rules()) {}

void PSUtil_lm317::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("LM317 Calculator"));
    auto* ui = makeControls<Ui>();
    const Grid grid;
    addBoxes(form,
             {
                 {0, "R-Feedback", "Ohms", "243.0", Kind::Decimal, "0.0",
                  "Resistor from OUT to ADJUST pins, nominal value of feedback resistance from 120 to 300 ohms"},
                 {1, "R-Pot", "Ohms", "0.0", Kind::Decimal, "0.0",
                  "Resistor in series with R-Set from ADJUST pin to GROUND; When the pot is 0 (Not used), "
                  "Vmin=Vmax.  Tie CW to Wiper to get CW=Increased Vout."},
                 {2, "R-Set", "Ohms", "722.0", Kind::Decimal, "0.0",
                  "Resistor from ADJUST pin to GROUND; if a pot is used this is in series with the pot"},
                 {3, "V-Out Max", "Volts", "0.0", Kind::Decimal, "0.000"},
                 {4, "V-Out Min", "Volts", "0.0", Kind::Decimal, "0.000"},
             },
             grid);
    const double potLeft = grid.left + grid.captionWidth + grid.boxWidth + grid.unitWidth + 3 * grid.gap;
    ui->potlist = place<QComboBox>(form, QStringLiteral("potlist"), potLeft, grid.top + grid.rowHeight, 900, 315);
    const std::pair<const char*, int> pots[] = {{"100", 100}, {"200", 200}, {"500", 500},
                                                {"1K", 1000}, {"2K", 2000}, {"5K", 5000}};
    for (const auto& [name, ohms] : pots)
        ui->potlist->addItem(QString::fromLatin1(name), ohms);
    ui->potlist->setCurrentIndex(-1);
    on(ui->potlist, &QComboBox::activated, [this] { potlist_Click(); });
    onKeyPress(ui->potlist, [](int) { return 0; });
}

void PSUtil_lm317::onLoad()
{
    DesignTool::onLoad();
    m_which = 2;
    refresh(m_which);
    auto* ui = controls<Ui>();
    ui->potlist->setCurrentIndex(0);
    potlist_Click();
    setText(1, QStringLiteral("0.0"));
}

void PSUtil_lm317::potlist_Click()
{
    auto* ui = controls<Ui>();
    if (!ui || ui->potlist->currentIndex() < 0)
        return;
    put(1, ui->potlist->currentData().toDouble(), QStringLiteral("0.0"));
}

void PSUtil_lm317::keyTyped(int index, int)
{
    m_which = index;
}

void PSUtil_lm317::recalc(int)
{
    if (value(0) <= 0)
        setText(0, QStringLiteral("243.0"));
    const double rfb = value(0);
    if (m_which >= 0 && m_which <= 2) {
        const Lm317Volts v = lm317Volts(rfb, value(1), value(2));
        put(3, v.max, QStringLiteral("0.000"));
        put(4, v.min, QStringLiteral("0.000"));
    } else if (m_which == 3 || m_which == 4) {
        put(2, lm317Rset(rfb, value(4)), QStringLiteral("0.0"));
        put(1, lm317Rpot(rfb, value(3), value(2)), QStringLiteral("0.0"));
    }
}
