#include "cond_wirecalc.h"
#include "passivecalc.h"

#include "common/alert.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/refdata.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace {
DesignTool::Rules wireRules()
{
    DesignTool::Rules r;
    r.enter = DesignTool::Step::Recalc;
    r.leave = DesignTool::Step::Recalc;
    r.change = true;
    r.selectOnFocus = true;
    return r;
}

const QString kResultPattern = QStringLiteral("0.000000000");
const QString kEnterData = QStringLiteral("Enter data into table then press either 'R' or 'C'");

// The resistance metalprop gives for a request; no value (shown as "---")
// when the conductor has no cross-section left after rounding.
double resistance(const QString& request, double width, double height, double length, const QString& gauge,
                  const QString& metal, double frequency, const QString& units)
{
    try {
        return numval(metalprop(request, width, height, length, gauge, metal, frequency, units));
    } catch (const VError&) {
        return std::nan("");
    }
}

QRadioButton* option(QWidget* form, QButtonGroup* group, const QString& name, const QString& caption, double left,
                     double top, double width)
{
    auto* b = place<QRadioButton>(form, name, left, top, width, 255);
    b->setText(caption);
    group->addButton(b);
    return b;
}
} // namespace

Cond_wirecalc::Cond_wirecalc() : PassiveDesign(QStringLiteral("Cond_wirecalc"), QSize(7500, 5640), wireRules()) {}

void Cond_wirecalc::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Conductor Calculator"));
    auto* ui = makeControls<Ui>();

    addLabel(form, QStringLiteral("Material"), 120, 150, 800, 255);
    ui->material = place<QComboBox>(form, QStringLiteral("material"), 960, 120, 1900, 315);
    ui->material->addItems(metalNames());
    ui->material->setCurrentIndex(-1);

    auto* unitGroup = new QButtonGroup(form);
    ui->units[0] = option(form, unitGroup, QStringLiteral("units_0"), QStringLiteral("English"), 120, 510, 1100);
    ui->units[1] = option(form, unitGroup, QStringLiteral("units_1"), QStringLiteral("Metric"), 1320, 510, 1100);
    ui->units[0]->setChecked(true);

    auto* modeGroup = new QButtonGroup(form);
    const QString modes[5] = {QStringLiteral("Rectangular"), QStringLiteral("Circular"), QStringLiteral("AWG"),
                              QStringLiteral("Rectangular Bus Bars"), QStringLiteral("Round Bus Bars")};
    const double modeTop[5] = {870, 2190, 3180, 120, 2460};
    for (int i = 0; i < 5; ++i)
        ui->mode[i] = option(form, modeGroup, arrayName(QStringLiteral("mode"), i), modes[i], i < 3 ? 120 : 3600,
                             modeTop[i], i < 3 ? 1380 : 2300);
    ui->mode[0]->setChecked(true);

    Grid g;
    g.captionWidth = 1400;
    g.boxWidth = 1000;
    g.unitWidth = 700;
    g.rowHeight = 330;
    const double unitLeft = g.left + g.captionWidth + g.boxWidth + 2 * g.gap;
    const QString one = QStringLiteral("1");
    auto column = [&](double top, std::vector<Box> rows) {
        g.top = top;
        addBoxes(form, rows, g);
    };
    column(1170, {{0, "Width", "", one}, {1, "Height", "", one}, {2, "Length", "", one}});
    column(2490, {{3, "Diam", "", one}, {4, "Length", "", one}});
    // Wide enough for "00000000" (8/0) whole: cut, it reads as 7/0.
    ui->awg = place<QComboBox>(form, QStringLiteral("awg"), g.left + g.captionWidth + g.gap, 3150, g.boxWidth + 400, 315);
    ui->awg->addItems(awgSizes());
    ui->awg->setCurrentIndex(-1);
    column(3510, {{8, "Length", "", one}});
    column(3900, {{5, "Conductors in ||", "", one}, {6, "Current", "Amps", one}, {7, "Frequency", "kHz", "0"}});
    const double unitTop[6] = {1170, 1500, 1830, 2490, 2820, 3510};
    for (int i = 0; i < 6; ++i) {
        ui->unitlabel[i] = place<QLabel>(form, arrayName(QStringLiteral("unitlabel"), i), unitLeft, unitTop[i],
                                         g.unitWidth, g.boxHeight);
        ui->unitlabel[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8})
        box(i)->setAlignment(Qt::AlignRight);

    const QString tips[2] = {QStringLiteral("Calculates impedence of list of rectangular sections"),
                             QStringLiteral("Calculates impedence of list of circular sections")};
    const QString crunchCaptions[2] = {QStringLiteral("R"), QStringLiteral("C")};
    for (int i = 0; i < 2; ++i) {
        ui->crunch[i] = place<QPushButton>(form, arrayName(QStringLiteral("crunch"), i), 6600, modeTop[3 + i] - 45,
                                           480, 345);
        ui->crunch[i]->setText(crunchCaptions[i]);
        ui->crunch[i]->setToolTip(tips[i]);
        on(ui->crunch[i], &QPushButton::clicked, [this, i] { crunch_Click(i); });
        ui->speclist[i] = place<QPlainTextEdit>(form, arrayName(QStringLiteral("speclist"), i), 3600,
                                                modeTop[3 + i] + 330, 3480, i == 0 ? 1890 : 870);
        ui->speclist[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        ui->speclist[i]->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    ui->speclist[0]->setPlainText(QStringLiteral("Sample bus bar\n1,1,1\n1,1,2\n1,1,1\n1,1,0.5\n1,1,.5\n"
                                                 "This is equivalent\nto a 1x1x5 bus.\nAll text is ignored\n"
                                                 "including the\ndata lines below:\n0,1,5\n1,0,5\n1,0\n"));

    const QString captions[4] = {QStringLiteral("DC Impedance"), QStringLiteral("AC Impedance"),
                                 QStringLiteral("Voltage Drop"), QStringLiteral("Power Loss")};
    const QString units[4] = {QStringLiteral("Ohms"), QStringLiteral("Ohms"), QStringLiteral("Volts"),
                              QStringLiteral("Watts")};
    Grid rg;
    rg.left = 3600;
    rg.captionWidth = 1300;
    rg.boxWidth = 1500;
    rg.unitWidth = 700;
    for (int i = 0; i < 4; ++i)
        ui->result[i] = namedRow(form, arrayName(QStringLiteral("result"), i), captions[i], units[i],
                                 QStringLiteral("0"), rg, 3750 + i * 330);
    ui->errorbox = place<QLineEdit>(form, QStringLiteral("errorbox"), 120, 5190, 6000, 285);
    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 6240, 5160, 1020, 345);
    ui->Command1->setText(QStringLiteral("Help"));
    on(ui->Command1, &QPushButton::clicked, [] { popup(QStringLiteral("Cond_wirecalchelp")); });

    for (int i = 0; i < 2; ++i)
        on(ui->units[i], &QRadioButton::toggled, [this](bool checked) {
            if (checked)
                units_Click();
        });
    for (int i = 0; i < 5; ++i)
        on(ui->mode[i], &QRadioButton::toggled, [this](bool checked) {
            if (checked)
                refresh(-1);
        });
    on(ui->material, &QComboBox::currentIndexChanged, [this] { refresh(-1); });
    on(ui->awg, &QComboBox::currentIndexChanged, [this] { awg_Click(); });
    onKeyPress(ui->material, [](int) { return 0; });
    onKeyPress(ui->awg, [](int) { return 0; });
    relabel();
}

void Cond_wirecalc::onLoad()
{
    DesignTool::onLoad();
    auto* ui = controls<Ui>();
    const QStringList metals = metalNames();
    for (int i = 0; i < metals.size(); ++i)
        if (metals[i].toLower() == QLatin1String("copper"))
            ui->material->setCurrentIndex(i);
    ui->awg->setCurrentIndex(0);
}

void Cond_wirecalc::onActivate()
{
    if (QLineEdit* b = box(0))
        b->setFocus();
}

int Cond_wirecalc::filterKey(int, int key)
{
    return (key >= '0' && key <= '9') || key == '.' || key == 8 ? key : 0;
}

bool Cond_wirecalc::english() const
{
    auto* ui = controls<Ui>();
    return ui && ui->units[0]->isChecked();
}

int Cond_wirecalc::mode() const
{
    auto* ui = controls<Ui>();
    for (int i = 0; ui && i < 5; ++i)
        if (ui->mode[i]->isChecked())
            return i;
    return -1;
}

void Cond_wirecalc::units_Click()
{
    relabel();
    refresh(-1);
}

void Cond_wirecalc::relabel()
{
    auto* ui = controls<Ui>();
    const bool e = english();
    for (int i = 0; i < 6; ++i) {
        const bool dimension = i == 0 || i == 1 || i == 3;
        ui->unitlabel[i]->setText(dimension ? (e ? QStringLiteral("Mils") : QStringLiteral("mm"))
                                            : (e ? QStringLiteral("Inches") : QStringLiteral("Meters")));
    }
}

void Cond_wirecalc::awg_Click()
{
    auto* ui = controls<Ui>();
    if (ui->awg->currentIndex() < 0)
        return;
    const double d = numval(metalprop(QStringLiteral("d"), 0, 0, 0, ui->awg->currentText(), QString(), 0,
                                      QStringLiteral("e")));
    setText(3, fmt(english() ? d * 1000 : d * 25.4, QStringLiteral("0.00")));
    refresh(-1);
}

void Cond_wirecalc::crunch_Click(int index)
{
    controls<Ui>()->mode[3 + index]->setChecked(true);
    refresh(-1);
}

void Cond_wirecalc::showAll(const QString& text)
{
    for (QLineEdit* r : controls<Ui>()->result)
        r->setText(text);
}

void Cond_wirecalc::showResults(double dc, double ac)
{
    auto* ui = controls<Ui>();
    if (!isnum(dc) || !isnum(ac)) {
        showAll(QStringLiteral("---"));
        return;
    }
    ui->result[0]->setText(fmt(dc, kResultPattern));
    ui->result[1]->setText(fmt(ac, kResultPattern));
    // The drop and the loss use the impedance as shown.
    const double r = numval(ui->result[1]->text());
    const double i = value(6);
    ui->result[2]->setText(fmt(i * r, kResultPattern));
    ui->result[3]->setText(fmt(i * i * r, kResultPattern));
}

void Cond_wirecalc::recalc(int)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    ui->errorbox->clear();
    const int m = mode();
    if (m >= 0 && m <= 2)
        single(m);
    else if (m >= 3)
        busList(m);
}

void Cond_wirecalc::single(int m)
{
    auto* ui = controls<Ui>();
    static const std::vector<int> needed[3] = {{0, 1, 2, 5}, {3, 4, 5}, {8, 5}};
    // A negative value (pasted) is no more a conductor than 0 is.
    for (int i : needed[m])
        if (!(value(i) > 0)) {
            showAll(QStringLiteral("Error"));
            return;
        }
    const QString metal = ui->material->currentText();
    const QString units = english() ? QStringLiteral("e") : QStringLiteral("m");
    const double n = value(5);
    auto r = [&](double frequency) {
        switch (m) {
        case 0:
            return resistance(QStringLiteral("r"), value(0), value(1), value(2), QString(), metal, frequency, units);
        case 1:
            return resistance(QStringLiteral("c"), value(3), 0, value(4), QString(), metal, frequency, units);
        default:
            return resistance(QStringLiteral("a"), 0, 0, value(8), ui->awg->currentText(), metal, frequency, units);
        }
    };
    showResults(r(0) / n, r(value(7)) / n);
}

void Cond_wirecalc::busList(int m)
{
    auto* ui = controls<Ui>();
    ui->errorbox->setText(kEnterData);
    // The list's lines end with CR LF, as the parser expects.
    const QString text = ui->speclist[m - 3]->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    if (m == 4 && !text.isEmpty()) {
        showAll(QStringLiteral("---------"));
        ui->errorbox->setText(QStringLiteral("Circular bus not yet coded!"));
        return;
    }
    const std::vector<BusSection> sections = m == 3 ? parseBusBars(text) : std::vector<BusSection>();
    // Text without a single section is no more data than an empty list.
    if (sections.empty()) {
        beep();
        ui->errorbox->setText(QStringLiteral("No data to compute path impedance"));
        showAll(QStringLiteral("No data"));
        return;
    }
    const QString metal = ui->material->currentText();
    const QString units = english() ? QStringLiteral("e") : QStringLiteral("m");
    const double f = value(7);
    double dc = 0;
    double ac = 0;
    for (const BusSection& s : sections) {
        dc += resistance(QStringLiteral("r"), s.width, s.height, s.length, QString(), metal, 0, units);
        ac += resistance(QStringLiteral("r"), s.width, s.height, s.length, QString(), metal, f, units);
    }
    showResults(dc, ac);
}
