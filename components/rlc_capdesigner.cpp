#include "rlc_capdesigner.h"
#include "passivecalc.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/refdata.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cmath>

namespace {
DesignTool::Rules capRules()
{
    DesignTool::Rules r;
    r.change = true;
    r.selectOnFocus = true;
    r.recalcOnOpen = false;
    return r;
}

const QString kFour = QStringLiteral("0.0000");
const QString kNotSpecified = QStringLiteral("Not Specified");
} // namespace

RLC_capdesigner::RLC_capdesigner()
    : PassiveDesign(QStringLiteral("RLC_capdesigner"), QSize(7800, 4080), capRules())
{
}

void RLC_capdesigner::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Capacitor Designer"));
    auto* ui = makeControls<Ui>();

    Grid g;
    g.captionWidth = 1500;
    g.boxWidth = 1200;
    g.unitWidth = 700;
    g.rowHeight = 330;
    addLabel(form, QStringLiteral("Plate"), g.left, 120, g.captionWidth, 255)->setAlignment(Qt::AlignCenter);
    g.top = 420;
    addBoxes(form,
             {
                 {0, "Length", "Inches", "12.0000", Kind::Decimal, kFour},
                 {1, "Width", "Inches", "12.0000", Kind::Decimal, kFour},
                 {2, "Separation", "Inches", "0.0100", Kind::Decimal, kFour},
             },
             g);
    ui->area = namedRow(form, QStringLiteral("area"), QStringLiteral("Area"), QStringLiteral("Sq-Inch"), kFour, g,
                        g.top + 3 * g.rowHeight);
    g.top += 4 * g.rowHeight;
    const double unitLeft = g.left + g.captionWidth + g.boxWidth + 2 * g.gap;
    addBoxes(form,
             {
                 {3, "Roll / Multilayer?", "", "1.0000", Kind::Fixed, kFour,
                  "A rolled or stacked plate has capacitance above AND below"},
                 {4, "Plate stackup", "Layers", "1.0000", Kind::Decimal, kFour,
                  "This is layer count for a single capacitor or the number of separate capacitors in parallel "
                  "(For Energy calculation)"},
                 {5, "Cond Thickness", "Inches", "0.0010", Kind::Decimal, kFour},
             },
             g);
    ui->rolled = place<QCheckBox>(form, QStringLiteral("rolled"), unitLeft, g.top, 255, 255);
    ui->stackup = namedRow(form, QStringLiteral("stackup"), QStringLiteral("Capacitor Height"),
                           QStringLiteral("Inches"), kFour, g, g.top + 3 * g.rowHeight);

    Grid r = g;
    r.left = 3780;
    r.captionWidth = 1800;
    // Wide enough that names which differ only at their ends
    // ("Polycarbonate-Hyzod AR", "... GP") show whole.
    ui->material = place<QComboBox>(form, QStringLiteral("material"), r.left + r.captionWidth / 2, 90,
                                    r.captionWidth / 2 + r.gap + r.boxWidth + r.gap + r.unitWidth, 315);
    ui->material->addItems(dielectric(QStringLiteral("m"), QString()).split(u','));
    ui->material->setCurrentIndex(-1);
    // The dielectric rows have no unit: their boxes take its column too,
    // so a range such as "86.000 to 173.000" shows whole.
    Grid wide = r;
    wide.boxWidth = r.boxWidth + r.gap + r.unitWidth;
    ui->dconstant = namedRow(form, QStringLiteral("dconstant"), QStringLiteral("Dielectric Constant: K"), QString(),
                             kFour, wide, 480);
    ui->dstrength = namedRow(form, QStringLiteral("dstrength"), QStringLiteral("Dielectric Str: v/mil"), QString(),
                             kFour, wide, 810);
    const QString farads[4] = {QStringLiteral("Farads"), QStringLiteral("uFarads"), QStringLiteral("nFarads"),
                               QStringLiteral("pFarads")};
    for (int i = 0; i < 4; ++i)
        ui->capacitance[i] = namedRow(form, arrayName(QStringLiteral("capacitance"), i),
                                      i == 0 ? QStringLiteral("Capacitance") : QString(), farads[i], kFour, r,
                                      1140 + i * 330);
    ui->bvolts = namedRow(form, QStringLiteral("bvolts"), QStringLiteral("Voltage Max"), QStringLiteral("Volts"), kFour,
                          r, 2460);
    r.top = 2790;
    addBoxes(form, {{6, "Volts", "Volts", "1000", Kind::Decimal, kFour}}, r);
    ui->usemax = place<QCheckBox>(form, QStringLiteral("usemax"), r.left + r.captionWidth + r.gap, 3120, 1200, 255);
    ui->usemax->setText(QStringLiteral("UseMax"));
    ui->usemax->setChecked(true);
    ui->energy = namedRow(form, QStringLiteral("energy"), QStringLiteral("Energy Storage"), QStringLiteral("Joules"),
                          kFour, r, 3450);
    for (int i = 0; i <= 6; ++i)
        box(i)->setAlignment(Qt::AlignRight);

    on(ui->material, &QComboBox::currentIndexChanged, [this] { material_Click(); });
    onKeyPress(ui->material, [](int) { return 0; });
    on(ui->rolled, &QCheckBox::toggled, [this] { refresh(-1); });
    on(ui->usemax, &QCheckBox::toggled, [this] { refresh(-1); });
    hookDielectricBox(ui->dconstant);
    hookDielectricBox(ui->dstrength);
    for (QLabel* l : form->findChildren<QLabel*>())
        if (l->objectName().startsWith(QLatin1String("Label1_")))
            onDoubleClick(l, [this] { Label1_DblClick(); });
}

void RLC_capdesigner::hookDielectricBox(QLineEdit* b)
{
    // Typed into only while the user's own material is chosen.
    auto rewrite = [b] { b->setText(fmt(numval(b->text()), kFour)); };
    onFocusIn(b, [b] {
        b->selectAll();
        QTimer::singleShot(0, b, [b] {
            if (b->hasFocus())
                b->selectAll();
        });
    });
    onKeyPress(b, [this, b, rewrite](int key) {
        if (b->isReadOnly())
            return 0;
        if (key == 13) {
            rewrite();
            refresh(-1);
            return 0;
        }
        return filterKey(0, key);
    });
    on(b, &QLineEdit::textChanged, [this, b] {
        if (!b->isReadOnly() && !m_computing)
            refresh(-1);
    });
    onFocusOut(b, [b, rewrite] {
        if (!b->isReadOnly() && b->isActiveWindow())
            rewrite();
    });
}

void RLC_capdesigner::onLoad()
{
    DesignTool::onLoad();
    auto* ui = controls<Ui>();
    const QStringList names = dielectric(QStringLiteral("m"), QString()).split(u',');
    for (int i = 0; i < names.size(); ++i)
        if (names[i].toLower() == QLatin1String("glass-float")) {
            ui->material->setCurrentIndex(i);
            break;
        }
    ui->dconstant->setText(dielectric(QStringLiteral("k"), ui->material->currentText()));
    ui->dstrength->setText(dielectric(QStringLiteral("s"), ui->material->currentText()));
    m_ownK = 1.0;
    m_ownStrength = 1.0;
    refresh(-1);
}

bool RLC_capdesigner::ownMaterial() const
{
    auto* ui = controls<Ui>();
    return ui && ui->material->currentIndex() == 0;
}

void RLC_capdesigner::material_Click()
{
    auto* ui = controls<Ui>();
    const bool own = ownMaterial();
    if (own) {
        ui->dconstant->setText(fmt(m_ownK, kFour));
        ui->dstrength->setText(fmt(m_ownStrength, kFour));
    }
    for (QLineEdit* b : {ui->dconstant, ui->dstrength}) {
        b->setReadOnly(!own);
        setBackColor(b, own ? colors::white : rules().resultColor);
    }
    refresh(-1);
}

void RLC_capdesigner::boxEnter(int index)
{
    refresh(index);
    if (index == 4)
        put(4, std::floor(value(4)), kFour);
    else
        reformat(index);
}

void RLC_capdesigner::boxLeave(int index)
{
    if (index == 2 && !(value(2) > 0)) {
        setText(2, QStringLiteral("0.0001"));
        refresh(index);
    }
    reformat(index);
}

void RLC_capdesigner::Label1_DblClick()
{
    auto* ui = controls<Ui>();
    setText(6, DesignTool::general(std::floor(numval(ui->bvolts->text()))));
    refresh(-1);
}

void RLC_capdesigner::recalc(int)
{
    auto* ui = controls<Ui>();
    if (!ui || ui->material->currentIndex() < 0)
        return;
    m_computing = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_computing};

    if (!(value(2) > 0)) {
        box(2)->setFocus();
        for (QLineEdit* b : {ui->capacitance[0], ui->capacitance[1], ui->capacitance[2], ui->capacitance[3],
                             ui->bvolts, ui->energy})
            b->setText(QStringLiteral("Error"));
        return;
    }
    if (ownMaterial()) {
        m_ownK = numval(ui->dconstant->text());
        m_ownStrength = numval(ui->dstrength->text());
    }
    if (ui->dconstant->isReadOnly()) {
        const QString name = ui->material->currentText();
        ui->dconstant->setText(dielectric(QStringLiteral("k"), name));
        ui->dstrength->setText(dielectric(QStringLiteral("s"), name));
        if (!(numval(ui->dstrength->text()) > 0))
            ui->dstrength->setText(kNotSpecified);
    }
    const double t = value(2);
    const double strength = numval(ui->dstrength->text());
    if (ui->usemax->isChecked())
        put(6, t * strength * 1000, kFour);
    setText(3, ui->rolled->isChecked() ? QStringLiteral("1.6666") : QStringLiteral("1.0000"));

    const PlateCapacitor c = plateCapacitor(value(0), value(1), t, value(3), value(4), value(5), value(6),
                                            numval(ui->dconstant->text()), strength);
    ui->area->setText(fmt(c.area, kFour));
    ui->stackup->setText(fmt(c.height, kFour));
    const double scale[4] = {1, 1e6, 1e9, 1e12};
    for (int i = 0; i < 4; ++i)
        ui->capacitance[i]->setText(fmt(c.farads * scale[i], kFour));
    ui->bvolts->setText(c.breakdown > 0 ? fmt(c.breakdown, kFour) : kNotSpecified);
    ui->energy->setText(fmt(c.energy, kFour));
}
