#include "rlc_rcolor.h"
#include "rcolorcode.h"

#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>
#include <map>

struct RLC_rcolor::Ui : Controls {
    std::map<int, QLabel*> bcolor;
    std::map<int, QLineEdit*> digit;
    std::map<int, QFrame*> ccode;
    QRadioButton* bands[2] = {};
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QFrame* outlineB3 = nullptr;
    QFrame* outlineB4 = nullptr;
};

namespace {
// Columns of swatches (twips): B1, B2, B3, B4, tolerance, tempco.
const double columnLeft[6] = {120, 840, 1560, 2280, 3000, 3720};
const double swatchTop = 600;
const double swatchStep = 270;
const double swatchWidth = 480;
const double swatchHeight = 210;

// The swatch elements of each column, top to bottom.
const std::vector<int> columnSwatches[6] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
    {10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
    {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 49, 50},
    {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 51, 52},
    {53, 54, 55, 56, 40, 41, 42, 43, 44},
    {45, 46, 47, 48, 57},
};
// The band elements (digit/ccode) and their start state: text and colour code.
const struct {
    int band;
    const char* text;
    int code;
} startBands[] = {{0, "1", 1}, {1, "0", 0}, {2, "0", 0}, {3, "1", 1}, {4, "1", 1}, {6, "200", 12}};

// The painted resistor: the bands' places on its body (twips from the body's left).
const double bandLeft[7] = {420, 780, 1140, 1500, 2100, 0, 2520};
const QColor bodyColor(222, 190, 140);
} // namespace

RLC_rcolor::RLC_rcolor() : ToolWindow(QStringLiteral("RLC_rcolor"), QSize(8520, 4560)) {}

RLC_rcolor::Ui* RLC_rcolor::ui() const
{
    return controls<Ui>();
}

bool RLC_rcolor::fourBands() const
{
    return ui()->bands[1]->isChecked();
}

void RLC_rcolor::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Resistor Decoder"));
    auto* u = makeControls<Ui>();
    placeLabel(form, QStringLiteral("Color Bands"), 120, 60, 2000, 255, QStringLiteral("Label1"));
    const char* heads[6] = {"B1", "B2", "B3", "B4", "Tol%", "Tempco"};
    for (int c = 0; c < 6; ++c)
        placeLabel(form, QString::fromLatin1(heads[c]), columnLeft[c], 330, 720, 255, arrayName("Label2", c))
            ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The outlines stand behind the gold and silver multiplier swatches.
    const double goldTop = swatchTop + 10 * swatchStep;
    auto outline = [&](const char* name, int column) {
        auto* f = place<QFrame>(form, QString::fromLatin1(name), columnLeft[column] - 60, goldTop - 45,
                                swatchWidth + 120, swatchStep + swatchHeight + 90);
        f->setFrameShape(QFrame::Box);
        f->setLineWidth(2);
        return f;
    };
    u->outlineB3 = outline("outline_2", 2);
    u->outlineB4 = outline("outline_3", 3);

    for (int c = 0; c < 6; ++c) {
        double top = swatchTop;
        for (int element : columnSwatches[c]) {
            auto* s = place<QLabel>(form, arrayName("bcolor", element), columnLeft[c], top, swatchWidth, swatchHeight);
            s->setFrameShape(QFrame::Box);
            setBackColor(s, bandColor(swatch(element).code));
            onMouseDown(s, [this, element] { recalc(element); });
            u->bcolor[element] = s;
            top += swatchStep;
        }
    }

    // The selection of each band.
    const double digitTop = swatchTop + 12 * swatchStep + 60;
    for (const auto& b : startBands) {
        const int column = b.band == 6 ? 5 : b.band;
        auto* d = place<QLineEdit>(form, arrayName("digit", b.band), columnLeft[column], digitTop, 600, 285);
        d->setText(QString::fromLatin1(b.text));
        d->setReadOnly(true);
        u->digit[b.band] = d;
    }
    placeLabel(form, QStringLiteral("ppm"), columnLeft[5] + 660, digitTop + 15, 420, 255, QStringLiteral("Label3"));

    // The resistor: leads, body and bands.
    auto* lead = place<QFrame>(form, QStringLiteral("lead"), 4860, 1035, 3540, 30);
    setBackColor(lead, colors::grey);
    auto* body = place<QFrame>(form, QStringLiteral("body"), 5160, 600, 2940, 900);
    setBackColor(body, bodyColor);
    for (const auto& b : startBands) {
        auto* band = place<QFrame>(body, arrayName("ccode", b.band), bandLeft[b.band], 0, 210, 900);
        setBackColor(band, bandColor(b.code));
        u->ccode[b.band] = band;
    }

    u->bands[0] = place<QRadioButton>(form, QStringLiteral("bands_0"), 5160, 1800, 1200, 255);
    u->bands[0]->setText(QStringLiteral("3 Bands"));
    u->bands[1] = place<QRadioButton>(form, QStringLiteral("bands_1"), 6600, 1800, 1200, 255);
    u->bands[1]->setText(QStringLiteral("4 Bands"));
    u->bands[1]->setChecked(true);
    for (int k = 0; k < 2; ++k)
        on(u->bands[k], &QRadioButton::toggled, [this, k](bool on) {
            if (on)
                bands_Click(k);
        });

    placeLabel(form, QStringLiteral("Resistor Value"), 5160, 2340, 2000, 255, QStringLiteral("Label4"));
    u->Text1 = place<QLineEdit>(form, QStringLiteral("Text1"), 5160, 2610, 2940, 285);
    setOutputBox(u->Text1);
    u->Text2 = place<QLineEdit>(form, QStringLiteral("Text2"), 5160, 3060, 2940, 285);
    setOutputBox(u->Text2);

    // Four bands at start: B3's gold and silver are not multipliers.
    u->bcolor[49]->hide();
    u->bcolor[50]->hide();
    u->outlineB3->hide();
}

void RLC_rcolor::onLoad()
{
    recalc(-1);
}

void RLC_rcolor::bands_Click(int index)
{
    Ui* u = ui();
    const bool four = index == 1;
    u->digit[3]->setVisible(four);
    u->ccode[3]->setVisible(four);
    u->bcolor[51]->setVisible(four);
    u->bcolor[52]->setVisible(four);
    u->bcolor[49]->setVisible(!four);
    u->bcolor[50]->setVisible(!four);
    u->outlineB4->setVisible(four);
    u->outlineB3->setVisible(!four);
    if (!four) {
        recalc(-1);
        return;
    }
    // B4 becomes a digit again: a gold or silver B4 rounds to black "0".
    const long n = std::lround(numval(u->digit[3]->text()));
    recalc(30 + int(qBound(0L, n, 9L)));
}

void RLC_rcolor::recalc(int which)
{
    Ui* u = ui();
    if (!u)
        return;
    const bool four = fourBands();
    const Swatch s = swatch(which);
    if (s.band >= 0 && (s.band != 3 || four)) {
        u->digit[s.band]->setText(s.text);
        setBackColor(u->ccode[s.band], bandColor(s.code));
    }
    const double d0 = numval(u->digit[0]->text());
    const double d1 = numval(u->digit[1]->text());
    const double d2 = numval(u->digit[2]->text());
    const double m = numval(u->digit[four ? 3 : 2]->text());
    const BandValue v = bandValue(four, d0, d1, d2, m);
    u->Text1->setText(bandValueText(v.value) + u' ' + v.unit + u' ' + u->digit[4]->text() + u'%');
    u->Text2->setText(u->digit[6]->text() + QStringLiteral("ppm/DegC"));
}
