#include "math_adcscaler.h"
#include "adcscale.h"

#include "common/formbuilder.h"
#include "common/rlc_getresistor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <numeric>

namespace {
DesignTool::Rules adcRules()
{
    DesignTool::Rules r;
    r.change = true;
    r.selectOnFocus = true;
    r.recalcOnOpen = false; // the lists choose first, then recalc runs
    return r;
}
const QString p4 = QStringLiteral("0.0000");
const QString p0 = QStringLiteral("0");

void setRed(QWidget* w, bool red)
{
    setBackColor(w, red ? colors::red : colors::white);
}
} // namespace

Math_adcscaler::Math_adcscaler() : DesignTool(QStringLiteral("Math_adcscaler"), QSize(4800, 4920), adcRules()) {}

void Math_adcscaler::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("ADC Scale Factor Calc"));
    auto* ui = makeControls<Ui>();
    Grid grid;
    grid.captionWidth = 1500;
    grid.boxWidth = 1695;
    grid.unitWidth = 1200;
    const double boxLeft = grid.left + grid.captionWidth + grid.gap;
    const double unitLeft = boxLeft + grid.boxWidth + grid.gap;
    const double listWidth = 855;
    const double sideLeft = boxLeft + listWidth + grid.gap;
    const double sideWidth = grid.boxWidth - listWidth - grid.gap;

    const auto caption = [&](const QString& text, double top) {
        addLabel(form, text, grid.left, top, grid.captionWidth, grid.boxHeight)
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    const auto unit = [&](const QString& text, double top) {
        addLabel(form, text, unitLeft, top, grid.unitWidth, grid.boxHeight)
            ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    };
    const auto output = [&](const QString& name, const QString& text, double left, double top, double width) {
        auto* e = place<QLineEdit>(form, name, left, top, width, grid.boxHeight);
        e->setText(text);
        setOutputBox(e);
        return e;
    };
    const auto list = [&](const QString& name, double top, const std::vector<int>& items, const QString& tip) {
        auto* l = place<QComboBox>(form, name, boxLeft, top - 15, listWidth, 315);
        for (int n : items)
            l->addItem(QString::number(n), n);
        l->setMaxVisibleItems(16);
        l->setToolTip(tip);
        return l;
    };

    double top = grid.top;
    caption(QStringLiteral("ADC      Res"), top);
    ui->adcwidth = list(QStringLiteral("adcwidth"), top, {8, 10, 12, 14, 16, 24}, QString());
    ui->adcfs = output(QStringLiteral("adcfs"), QStringLiteral("0"), sideLeft, top, sideWidth);
    unit(QStringLiteral("Bits / FS"), top);

    grid.top = top + grid.rowHeight;
    const QString gainTip = QStringLiteral("A 2 ohm current sense resistor has a \"Gain\" of 2, i.e. 2V/A.");
    const QString depthTip = QStringLiteral("This is the number of samples accumulated for an average reading");
    const QString multTip = QStringLiteral("A value of 1000 moves the decimal point of the result by 3 positions "
                                           "to the right, i.e. 5.000V will be reported as the integer \"5000\"");
    top = addBoxes(form,
                   {
                       {0, "Ref", "Volts", "5.0000", Kind::Decimal, p4},
                       {1, "Divider  Rtop", "kOhms", "10.0000", Kind::Decimal, p4},
                       {2, "Rbot", "kOhms", "10.0000", Kind::Decimal, p4},
                       {3, "Amplifier gain", "Av", "1.0000", Kind::Decimal, p4, gainTip},
                       {4, "Average depth", "Samples", "16", Kind::Decimal, p0, depthTip},
                       {5, "Vout full scale", "Volts (or A)", "0.000000", Kind::Result},
                       {6, "Result multiplier", "Units", "1000", Kind::Decimal, p0, multTip},
                   },
                   grid);
    box(3)->setToolTip(gainTip);
    box(4)->setToolTip(depthTip);
    box(6)->setToolTip(multTip);

    caption(QStringLiteral("Post divider"), top);
    std::vector<int> shifts(16);
    std::iota(shifts.begin(), shifts.end(), 1);
    ui->postdivide = list(QStringLiteral("postdivide"), top, shifts,
                          QStringLiteral("Values of 8 and 16 allow fast byte shifting division while all others "
                                         "require slower bit shifting division"));
    ui->pdfs = output(QStringLiteral("pdfs"), QStringLiteral("0"), sideLeft, top, sideWidth);
    unit(QStringLiteral("Bits shift >>"), top);
    top += grid.rowHeight;
    caption(QStringLiteral("Scale Factor"), top);
    ui->scaler = output(QStringLiteral("scaler"), QStringLiteral("0"), boxLeft, top, grid.boxWidth);
    ui->scaler->setToolTip(QStringLiteral("This is the number by which the ADC readings is multiplied, and then that "
                                          "result divided by the division factor, typically 2^8 or 2^16."));
    top += grid.rowHeight;
    caption(QStringLiteral("Math maximum"), top);
    ui->resultbits = output(QStringLiteral("resultbits"), QStringLiteral("00 / 0x00000000"), boxLeft, top,
                            grid.boxWidth);
    unit(QStringLiteral("Bits / Max"), top);
    top += grid.rowHeight + 60;
    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), boxLeft, top, 855, 375);
    ui->Command1->setText(QStringLiteral("Help"));

    for (QComboBox* l : {ui->adcwidth, ui->postdivide}) {
        l->setCurrentIndex(-1);
        on(l, &QComboBox::currentIndexChanged, [this] { refresh(-1); });
        onKeyPress(l, [](int) { return 0; });
    }
    for (int i : {1, 2})
        onDoubleClick(box(i), [this, i] { pickResistor(i); });
    on(ui->Command1, &QPushButton::clicked, [] { popup(QStringLiteral("Math_adcscalerdoc")); });
}

void Math_adcscaler::onLoad()
{
    DesignTool::onLoad();
    auto* ui = controls<Ui>();
    ui->adcwidth->setCurrentIndex(1);
    ui->postdivide->setCurrentIndex(15);
}

void Math_adcscaler::reformat(int index)
{
    if (index == 4 || index == 6)
        put(index, std::floor(value(index)), p0);
    else if (index >= 0 && index <= 3)
        put(index, value(index), p4);
}

void Math_adcscaler::pickResistor(int index)
{
    const auto ohms = RLC_getresistor::pick();
    if (!isLoaded())
        return;
    if (ohms)
        put(index, *ohms / 1000, p4);
    refresh(index);
}

void Math_adcscaler::recalc(int which)
{
    auto* ui = controls<Ui>();
    if (!ui || which == 5 || ui->adcwidth->currentIndex() < 0 || ui->postdivide->currentIndex() < 0)
        return;
    AdcScaleInput in;
    in.bits = ui->adcwidth->currentData().toInt();
    in.shift = ui->postdivide->currentData().toInt();
    in.vref = value(0);
    in.rtop = value(1);
    in.rbot = value(2);
    in.gain = value(3);
    in.depth = value(4);
    in.multiplier = value(6);
    const AdcScaleTexts t = adcScale(in);
    ui->adcfs->setText(t.adcfs);
    ui->pdfs->setText(t.pdfs);
    setRed(box(2), t.rbotRed);
    setRed(box(3), t.gainRed);
    setText(5, t.fullScale);
    setRed(box(4), t.depthRed);
    ui->scaler->setText(t.scaler);
    ui->resultbits->setText(t.resultBits);
    setBackColor(ui->resultbits, t.resultRed ? colors::red : colors::green);
}
