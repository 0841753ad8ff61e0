#include "psutil_quickeff.h"
#include "quickeffcalc.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"

#include <QLabel>
#include <QRadioButton>

namespace {
DesignTool::Rules quickeffRules()
{
    DesignTool::Rules r;
    r.enter = DesignTool::Step::ReformatRecalc;
    r.leave = DesignTool::Step::ReformatRecalc;
    r.keyUp = true;
    r.beforeKey = true;
    r.recalcOnOpen = false; // the settings file comes first
    return r;
}
const int columns[] = {0, 7, 14};
} // namespace

PSUtil_quickeff::PSUtil_quickeff() : DesignTool(QStringLiteral("PSUtil_quickeff"), QSize(5700, 3420), quickeffRules())
{
}

QString PSUtil_quickeff::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("QuickEfficiency.cfg"));
}

void PSUtil_quickeff::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Quick Effiiciency Calculator"));
    auto* ui = makeControls<Ui>();
    const char* captions[] = {"Vout", "Iout", "Vin", "Iin", "Pout", "Pin", "Eff"};
    const char* units[] = {"Volts", "Amps", "Volts", "Amps", "Watts", "Watts", "%"};
    const QString zero = QStringLiteral("0.000");
    Grid grid;
    grid.captionWidth = 600;
    grid.boxWidth = 1100;
    double bottom = 0;
    for (int col = 0; col < 3; ++col) {
        const int c = columns[col];
        std::vector<Box> rows;
        for (int r = 0; r < 7; ++r)
            rows.push_back(Box(c + r, col == 0 ? captions[r] : "", col == 2 ? units[r] : "", zero,
                               r < 4 ? Kind::Decimal : Kind::Result, zero));
        Grid g = grid;
        if (col > 0) {
            g.left = grid.left + grid.captionWidth + grid.gap + col * (grid.boxWidth + grid.gap) - grid.gap;
            g.captionWidth = 0;
        }
        bottom = addBoxes(form, rows, g);
    }
    auto* label = place<QLabel>(form, QStringLiteral("Label2"), grid.left, bottom + 60, 900, 285);
    label->setText(QStringLiteral("Decimals"));
    for (int n = 0; n < 7; ++n) {
        auto* opt = place<QRadioButton>(form, arrayName(QStringLiteral("Option1"), n), grid.left + 960 + n * 540,
                                        bottom + 60, 500, 285);
        opt->setText(QString::number(n));
        opt->setChecked(n == 3);
        ui->Option1[size_t(n)] = opt;
        on(opt, &QRadioButton::clicked, [this] { Option1_Click(); });
    }
}

void PSUtil_quickeff::getformat()
{
    int chosen = -1;
    if (auto* ui = controls<Ui>())
        for (int n = 0; n < 7; ++n)
            if (ui->Option1[size_t(n)]->isChecked())
                chosen = n;
    m_format = decimalsPattern(chosen);
}

QString PSUtil_quickeff::pattern(int) const
{
    return m_format;
}

void PSUtil_quickeff::Option1_Click()
{
    getformat();
    for (int k = 0; k < boxCount; ++k)
        reformat(k);
}

void PSUtil_quickeff::onLoad()
{
    DesignTool::onLoad();
    getformat();
    for (int k = 0; k < boxCount; ++k)
        put(k, 0, m_format);
    // A short or damaged file gives what it has; the other boxes keep 0.
    const std::vector<std::optional<double>> saved = readValueLines(settingsPath(), boxCount);
    for (size_t k = 0; k < saved.size(); ++k)
        if (saved[k])
            put(int(k), *saved[k], m_format);
    refresh(-1);
}

void PSUtil_quickeff::onUnload()
{
    QStringList lines;
    for (int k = 0; k < boxCount; ++k)
        lines << fmt(value(k), QStringLiteral("0.000000"));
    writeValueLines(settingsPath(), lines);
}

void PSUtil_quickeff::recalc(int)
{
    for (int c : columns) {
        const EfficiencyPoint p = efficiency(value(c), value(c + 1), value(c + 2), value(c + 3));
        put(c + 4, p.pout, m_format);
        put(c + 5, p.pin, m_format);
        if (p.effValid)
            put(c + 6, p.eff, m_format);
        else
            setText(c + 6, QStringLiteral("--------"));
    }
}
