#include "psutil_lcfilter.h"

#include "magnetics.h"
#include "psutil_inductorcore.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {
DesignTool::Rules toolRules()
{
    DesignTool::Rules r;
    r.enter = DesignTool::Step::Recalc;
    r.leave = DesignTool::Step::Recalc;
    r.keyUp = true;
    r.selectOnFocus = true;
    r.recalcOnOpen = true;
    return r;
}

// A text that is a number as a whole (blanks around it allowed).
bool wholeNumber(const QString& text)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return re.match(text).hasMatch();
}
} // namespace

PSUtil_lcfilter::PSUtil_lcfilter() : DesignTool("PSUtil_lcfilter", QSize(4800, 5400), toolRules()) {}

void PSUtil_lcfilter::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Forward  Converter LC Filter Design"));
    auto* ui = makeControls<Ui>();
    using K = Kind;
    Grid g;
    g.captionWidth = 1695;
    double y = addBoxes(form,
                        {
                            {0, "Voutput", "Volts", "5.0000", K::Decimal, "0.0000"},
                            {1, "Vinput (Max)", "Volts", "14.0000", K::Decimal, "0.0000"},
                            {2, "Iout (Min)", "Amps", "0.5000", K::Decimal, "0.0000"},
                            {3, "Iout (Max)", "Amps", "2.000", K::Decimal, "0.0000"},
                            {4, "Vripple", "Volts P-P", "0.03", K::Decimal, "0.0000"},
                            {5, "Frequency", "KHz", "100.0000", K::Decimal, "0.0000"},
                        },
                        g);
    const double boxLeft = g.left + g.captionWidth + g.gap;
    auto* modeCaption = place<QLabel>(form, "Label2", g.left, y, g.captionWidth, g.boxHeight);
    modeCaption->setText(QStringLiteral("Mode"));
    modeCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui->mode = place<QComboBox>(form, "mode", boxLeft, y, g.boxWidth, 315);
    ui->mode->setEditable(true);
    ui->mode->addItems({QStringLiteral("Single"), QStringLiteral("Push-Pull")});
    y += g.rowHeight + 60;

    for (int i = 0; i < 2; ++i) {
        auto* line = place<QFrame>(form, arrayName("Line1", i), g.left + i * 2400, y, 2280, 30);
        line->setFrameShape(QFrame::HLine);
    }
    g.top = y + 90;
    y = addBoxes(form,
                 {
                     {6, "Filter Frequency", "KHz", "0.0000", K::Result, "0.0000"},
                     {7, "Inductance (Min)", "uHenry", "0.0000", K::Result, "0.0000"},
                     {8, "Energy Storage (Min)", "mJoule", "0.0000", K::Result, "0.0000"},
                     {9, "Capacitance (Min)", "uFarad", "0.0000", K::Result, "0.0000"},
                     {10, "ESR (Max)", "Ohms", "0.0000", K::Result, "0.0000"},
                 },
                 g);
    auto* design = place<QPushButton>(form, "Command1", boxLeft, y + 60, 2000, 375);
    design->setText(QStringLiteral("Design Filter Inductor"));

    // A typed mode text that names no item leaves no mode chosen.
    on(ui->mode, &QComboBox::currentIndexChanged, [this] { refresh(5); });
    on(ui->mode, &QComboBox::editTextChanged, [this] { refresh(5); });
    on(design, &QPushButton::clicked, [this] { Command1_Click(); });
}

void PSUtil_lcfilter::onLoad()
{
    setMode(0);
    refresh(5);
    DesignTool::onLoad();
}

void PSUtil_lcfilter::setMode(int index)
{
    if (Ui* ui = controls<Ui>()) {
        ui->mode->setCurrentIndex(index);
        // The text of the list follows the choice even after typing.
        ui->mode->setEditText(ui->mode->itemText(index));
    }
}

int PSUtil_lcfilter::mode() const
{
    Ui* ui = controls<Ui>();
    return ui ? ui->mode->findText(ui->mode->currentText(), Qt::MatchExactly) : -1;
}

void PSUtil_lcfilter::Command1_Click()
{
    ::popup(QStringLiteral("PSUtil_inductorcore"));
    auto& core = FormSlots::get<PSUtil_inductorcore>();
    core.setText(5, text(7));
    core.refresh(5);
    setFocus();
}

void PSUtil_lcfilter::recalc(int which)
{
    using namespace magnetics;
    if (which < -1 || which > 5)
        return;
    if (which >= 0) {
        if (wholeNumber(text(which)))
            reformat(which);
        const double v = value(which);
        switch (which) {
        case 0:
            if (v <= 0)
                setText(0, "5.0000");
            if (value(1) < value(0))
                put(1, value(0), "0.0000");
            break;
        case 1:
            if (v <= 0)
                setText(1, "14.0000");
            if (value(1) < value(0))
                put(0, value(1), "0.0000");
            break;
        case 2:
            if (v <= 0)
                setText(2, "0.5000");
            if (value(3) < value(2))
                put(2, value(3), "0.0000");
            break;
        case 3:
            if (v <= 0)
                setText(3, "2.0000");
            if (value(3) < value(2))
                put(3, value(2), "0.0000");
            break;
        case 4:
            if (v <= 0)
                setText(4, "0.03000");
            break;
        case 5:
            if (v <= 0)
                setText(5, "100.0000");
            break;
        }
    }

    const int m = mode();
    if (m >= 0)
        put(6, filterFrequency(value(5), m == 1), "0.0000");

    const double vo = value(0), vi = value(1), imin = value(2), imax = value(3), vr = value(4), ff = value(6);
    double l = lcMinInductance(vo, vi, imin, ff);
    if (!isnum(l)) {
        setText(7, "---");
        l = 0;
    } else {
        put(7, l * 1000, "0.0000");
    }
    put(8, imax * imax * l, "0.0000");
    put(9, lcMinCapacitance(vo, vi, imax, ff, vr), "0.0000");
    put(10, lcMaxEsr(vr, imax), "0.0000");
}
