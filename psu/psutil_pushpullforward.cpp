#include "psutil_pushpullforward.h"

#include "coreselector.h"
#include "magnetics.h"
#include "psutil_lcfilter.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>

namespace {

const QColor lightRed(255, 128, 128);
constexpr std::array<int, 4> blocks = {8, 13, 18, 23};

bool among(int which, std::initializer_list<int> set)
{
    return std::find(set.begin(), set.end(), which) != set.end();
}
} // namespace

PSUtil_pushpullforward::PSUtil_pushpullforward()
    : DesignTool("PSUtil_pushpullforward", QSize(10600, 6000), coresel::rules())
{
}

void PSUtil_pushpullforward::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Push-Pull Transformer"));
    auto* ui = makeControls<Ui>();
    using K = Kind;

    for (int i = 0; i < 2; ++i) {
        ui->convmode[i] = place<QRadioButton>(form, arrayName("convmode", i), 120 + i * 900, 120, 255, 255);
        auto* caption = place<QLabel>(form, arrayName("Label2", i), 400 + i * 900, 120, 500, 255);
        caption->setText(i == 0 ? QStringLiteral("Reg") : QStringLiteral("Sat"));
    }
    ui->convmode[0]->setChecked(true);

    Grid g;
    g.top = 900;
    // Two-part captions ("Switcher" / "Freq") need room for both words.
    g.captionWidth = 1350;
    g.boxWidth = 1000;
    g.unitWidth = 600;
    double y = addBoxes(form,
                        {
                            {2, "Ae", "Sq-cm", "0.0000", K::Decimal, "0.0000"},
                            {3, "Bsat", "Gauss", "0", K::Whole, "0"},
                            {4, "Bmax", "%", "50", K::Whole, "0"},
                            {5, "Bmax", "Gauss", "0", K::Result, "0"},
                            {6, "Freq", "kHz", "100.0000", K::Decimal, "0.0000"},
                            {7, "DCmax", "%", "95", K::Whole, "0"},
                        },
                        g);
    // The left edge of the secondaries' column.
    const double blockLeft = 4000;
    // The core names differ only in their last characters ("3C90", "3C95"):
    // the list reaches from a short caption to the secondaries' column so
    // that each shows whole.
    const double coreCaption = 600;
    auto* core = addLabel(form, QStringLiteral("Core"), g.left, 480, coreCaption, 315);
    core->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const double listLeft = g.left + coreCaption + g.gap;
    ui->coreselector = coresel::place(*this, form, listLeft, 480, blockLeft - 160 - listLeft,
                                      [this](int index) { coreselector_Click(index); });
    coresel::hookSheet(*this, core, ui->coreselector);
    addLabel(form, QStringLiteral("Switcher"), g.left, g.top + 4 * g.rowHeight, 900, g.boxHeight);

    addLabel(form, QStringLiteral("Primary"), g.left, y, g.captionWidth, g.boxHeight);
    g.top = y + g.rowHeight;
    addBoxes(form,
             {
                 {0, "Vmin", "Volts", "0.0000", K::Decimal, "0.0000"},
                 {1, "Vmax", "Volts", "0.0000", K::Decimal, "0.0000"},
                 {28, "Nmin", "", "0.00", K::Result, "0.00", {}, lightRed},
             },
             g);
    Grid beside = g;
    beside.top = g.top + 2 * g.rowHeight;
    beside.captionWidth = 0;
    beside.left = g.left + g.captionWidth + g.gap + g.boxWidth;
    beside.boxWidth = 700;
    addBoxes(form, {{29, "", "Turns", "0", K::Whole, "0"}}, beside);

    addLabel(form, QStringLiteral("Secondaries"), blockLeft, 120, 2000, 255);
    for (int k = 1; k <= 4; ++k) {
        const int b = blockBase(k);
        Grid s;
        s.left = blockLeft + ((k - 1) / 2) * 3300;
        s.top = 480 + ((k - 1) % 2) * 2600;
        s.captionWidth = 600;
        s.boxWidth = 1000;
        s.unitWidth = 500;
        addBoxes(form,
                 {
                     {b, "Target", "Volts", "0.0000", K::Decimal, "0.0000"},
                     {b + 1, "Nmin", "", "0.00", K::Result, "0.00", {}, lightRed},
                 },
                 s);
        Grid turns = s;
        turns.top = s.top + s.rowHeight;
        turns.captionWidth = 0;
        turns.left = s.left + s.captionWidth + s.gap + s.boxWidth;
        turns.boxWidth = 700;
        addBoxes(form, {{b + 2, "", "Turns", "0", K::Whole, "0"}}, turns);
        Grid volts = s;
        volts.top = s.top + 2 * s.rowHeight;
        const double bottom = addBoxes(form,
                                       {
                                           {b + 3, "VMin", "Volts", "0.0000", K::Result, "0.0000"},
                                           {b + 4, "VMax", "Volts", "0.0000", K::Result, "0.0000"},
                                       },
                                       volts);
        auto* lc = place<QPushButton>(form, arrayName("Command1", k - 1), s.left + s.captionWidth + s.gap, bottom,
                                      1000, 345);
        lc->setText(QStringLiteral("LC Filter"));
        on(lc, &QPushButton::clicked, [this, k] { Command1_Click(k - 1); });
    }

    for (QRadioButton* r : ui->convmode)
        on(r, &QRadioButton::toggled, [this](bool checked) {
            if (checked)
                convmode_Click();
        });
}

void PSUtil_pushpullforward::onLoad()
{
    DesignTool::onLoad();
    coresel::fill(controls<Ui>()->coreselector);
}

void PSUtil_pushpullforward::coreselector_Click(int index)
{
    if (index < 1)
        return;
    put(2, numval(coresel::field(index, 3)), "0.0000");
    put(3, numval(coresel::field(index, 11)), "0");
    refresh(-1);
}

void PSUtil_pushpullforward::lockBox(int index, bool locked)
{
    if (QLineEdit* b = box(index)) {
        b->setReadOnly(locked);
        b->setEnabled(!locked);
    }
}

void PSUtil_pushpullforward::convmode_Click()
{
    Ui* ui = controls<Ui>();
    if (!ui)
        return;
    const bool reg = ui->convmode[0]->isChecked();
    if (reg) {
        setText(4, "50");
        lockBox(4, false);
        put(5, value(3) * value(4) / 100, "0");
        setText(7, "95");
        lockBox(7, false);
        lockBox(0, false);
    } else {
        setText(4, "100");
        lockBox(4, true);
        // A saturating converter swings the whole of Bsat.
        setText(5, text(3));
        setText(7, "100");
        lockBox(7, true);
        setText(0, text(1));
        lockBox(0, true);
    }
    refresh(-1);
}

void PSUtil_pushpullforward::Command1_Click(int index)
{
    const int b = blockBase(index + 1);
    ::popup(QStringLiteral("PSUtil_lcfilter"));
    auto& lc = FormSlots::get<PSUtil_lcfilter>();
    lc.setText(5, text(6));
    lc.setMode(1);
    lc.setText(0, text(b));
    lc.setText(1, text(b + 4));
    lc.refresh(0);
}

void PSUtil_pushpullforward::recalc(int which)
{
    using namespace magnetics;
    if (among(which, {5, 9, 11, 12, 14, 16, 17, 19, 21, 22, 24, 26, 27}))
        return;
    if (which >= 0 && which != 28)
        reformat(which);

    if (which >= 0 && which <= 25) {
        switch (which) {
        case 0:
            if (value(0) <= 0)
                setText(0, "12.0000");
            if (value(1) < value(0))
                setText(1, text(0));
            break;
        case 1:
            if (value(0) > value(1))
                setText(0, text(1));
            break;
        case 2:
            if (value(2) <= 0)
                setText(2, "0.1080");
            break;
        case 3:
            if (value(3) <= 0)
                setText(3, "3300");
            break;
        case 4:
        case 7:
            if (value(which) > 100)
                setText(which, "100");
            if (value(which) < 1)
                setText(which, "1");
            if (which == 7)
                for (int b : blocks)
                    put(b + 2, roundUp(value(b + 1)), "0");
            break;
        case 6:
            if (value(6) <= 0)
                setText(6, "100.0000");
            break;
        default:
            for (int b : blocks)
                if ((which == b || which == b + 2) && value(b + 1) > value(b + 2))
                    put(b + 2, roundUp(value(b + 1)), "0");
            break;
        }
    }

    Ui* ui = controls<Ui>();
    if (ui && ui->convmode[1]->isChecked())
        setText(0, text(1));
    put(5, value(4) * value(3) / 100, "0");

    const double a = value(2), flux = value(5), duty = value(7), vmin = value(0), vmax = value(1), freq = value(6),
                 np = value(29);
    const double primary = minPrimaryTurns(duty, vmin, flux, a, freq);
    if (isnum(primary))
        put(28, primary, "0.00");
    if (vmin > 0)
        for (int b : blocks)
            put(b + 1, minSecondaryTurns(value(b), vmin, np, duty), "0.00");
    for (int b : blocks) {
        put(b + 3, secondaryVoltage(value(b + 2), np, vmin), "0.0000");
        put(b + 4, secondaryVoltage(value(b + 2), np, vmax), "0.0000");
    }
}
