#include "rlc_inductorair.h"
#include "passivecalc.h"

#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/refdata.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include <cmath>

namespace {
DesignTool::Rules inductorRules()
{
    DesignTool::Rules r;
    // Only ID and Length-Optimal have a pattern, so only they are rewritten.
    r.enter = DesignTool::Step::ReformatRecalc;
    r.leave = DesignTool::Step::ReformatRecalc;
    r.change = true;
    r.keyUp = true;
    r.selectOnFocus = true;
    r.recalcOnOpen = false;
    return r;
}

const QString kSix = QStringLiteral("0.000000");

// Cross-section of the coil: the turns above and below the axis between the
// two end bars, with the dimensions the window computes.
class CoilDiagram : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::black, 1));
        const double w = width();
        const double h = height();
        const double r = qMin(w / 34.0, h / 18.0);
        const double pitch = 3.2 * r;
        const QFontMetricsF fm(p.font());
        // Offsets shared by the drawing and its reach: the end bars stand
        // barGap off the outer turns and are barWidth wide; the OD dimension
        // line stands odGap right of the right bar, its caption captionGap
        // right of the line.
        constexpr double barGap = 4;
        constexpr double barWidth = 6;
        constexpr double odGap = 24;
        constexpr double captionGap = 6;
        // The drawing, from the "Wire Diameter" caption over the first turn
        // to the "OD" caption right of its dimension line, centred in the
        // frame so that both captions show whole.
        const double leftReach =
            std::max(r + (barGap + barWidth), fm.horizontalAdvance(QStringLiteral("Wire Diameter")) / 2);
        const double rightReach =
            6 * pitch + r + barGap + odGap + captionGap + fm.horizontalAdvance(QStringLiteral("OD"));
        const double x0 = (w - leftReach - rightReach) / 2 + leftReach;
        const double topY = h * 0.28;
        const double botY = h * 0.66;
        // end bars
        const double barL = x0 - r - barGap;
        const double barR = x0 + 6 * pitch + r + barGap;
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(QRectF(barL - barWidth, topY - 2 * r, barWidth, botY - topY + 4 * r));
        p.drawRect(QRectF(barR, topY - 2 * r, barWidth, botY - topY + 4 * r));
        p.setBrush(QColor(192, 96, 0));
        for (int i = 0; i < 7; ++i) {
            p.drawEllipse(QPointF(x0 + i * pitch, topY), r, r);
            p.drawEllipse(QPointF(x0 + i * pitch, botY), r, r);
        }
        p.setBrush(Qt::NoBrush);
        auto arrow = [&](QPointF a, QPointF b) {
            p.drawLine(a, b);
            const QPointF d = (b - a) / std::max(1.0, std::hypot(b.x() - a.x(), b.y() - a.y())) * 5;
            const QPointF n(-d.y() * 0.6, d.x() * 0.6);
            p.drawLine(a, a + d + n);
            p.drawLine(a, a + d - n);
            p.drawLine(b, b - d + n);
            p.drawLine(b, b - d - n);
        };
        auto text = [&](QPointF at, const QString& s) { p.drawText(at - QPointF(fm.horizontalAdvance(s) / 2, 0), s); };
        // Wire Diameter over the first turn, Spacing between the next two
        const double above = topY - r - 10;
        arrow(QPointF(x0 - r, above), QPointF(x0 + r, above));
        text(QPointF(x0, above - 6), QStringLiteral("Wire Diameter"));
        const double sx = x0 + 4 * pitch;
        arrow(QPointF(sx + r, above), QPointF(sx + pitch - r, above));
        text(QPointF(sx + pitch / 2, above - 6), QStringLiteral("Spacing"));
        // Length between the bars, below the coil
        const double below = botY + r + 18;
        arrow(QPointF(barL, below), QPointF(barR, below));
        text(QPointF((barL + barR) / 2, below + fm.height()), QStringLiteral("Length"));
        // ID between the inner edges, OD between the outer edges
        const double idX = x0 + 2 * pitch;
        arrow(QPointF(idX, topY + r), QPointF(idX, botY - r));
        p.drawText(QPointF(idX + 6, (topY + botY) / 2 + fm.ascent() / 2), QStringLiteral("ID"));
        const double odX = barR + odGap;
        p.drawLine(QPointF(barR + 8, topY - r), QPointF(odX + 6, topY - r));
        p.drawLine(QPointF(barR + 8, botY + r), QPointF(odX + 6, botY + r));
        arrow(QPointF(odX, topY - r), QPointF(odX, botY + r));
        p.drawText(QPointF(odX + captionGap, (topY + botY) / 2 + fm.ascent() / 2), QStringLiteral("OD"));
    }
};
} // namespace

RLC_inductorair::RLC_inductorair()
    : PassiveDesign(QStringLiteral("RLC_inductorair"), QSize(4080, 4740), inductorRules())
{
}

QComboBox* RLC_inductorair::list(QWidget* form, const QString& name, const QString& caption,
                                 const QStringList& entries, double top)
{
    if (!caption.isEmpty())
        addLabel(form, caption, 120, top + 30, 1500, 255)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* c = place<QComboBox>(form, name, 1680, top, 1300, 315);
    c->addItems(entries);
    c->setCurrentIndex(-1);
    on(c, &QComboBox::currentIndexChanged, [this] { refresh(-1); });
    onKeyPress(c, [](int) { return 0; });
    return c;
}

void RLC_inductorair::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Air Core Inductor (Solenoid)"));
    auto* ui = makeControls<Ui>();
    QStringList turns;
    for (int i = 1; i <= 251; ++i)
        turns << QString::number(i);
    ui->turns = list(form, QStringLiteral("turns"), QStringLiteral("Turns"), turns, 120);
    ui->awg = list(form, QStringLiteral("awg"), QStringLiteral("AWG"), awgSizes(), 480);

    Grid g;
    g.captionWidth = 1500;
    g.boxWidth = 1300;
    g.unitWidth = 800;
    g.rowHeight = 330;
    g.top = 840;
    const double next = addBoxes(form,
                                 {
                                     {4, "Wire Diameter", "Inches", "0.000000", Kind::Result},
                                     {5, "Layers", "", "1.000000", Kind::Fixed},
                                     {2, "Length-Optimal", "Inches", "1.000000", Kind::Decimal, kSix},
                                     {7, "Length-Actual", "Inches", "1.000000"},
                                     {3, "Spacing", "Inches", "0.000000", Kind::Result},
                                     {1, "ID", "Inches", "1.000000", Kind::Decimal, kSix},
                                     {6, "OD", "Inches", "0.000000", Kind::Result},
                                 },
                                 g);
    for (int i = 1; i <= 7; ++i)
        box(i)->setAlignment(Qt::AlignRight);
    ui->inductance = namedRow(form, QStringLiteral("inductance"), QStringLiteral("Inductance"), QStringLiteral("uH"),
                              kSix, g, next);
    ui->wirelength = namedRow(form, QStringLiteral("wirelength"), QStringLiteral("Wire Length"),
                              QStringLiteral("Inches"), kSix, g, next + g.rowHeight);
    ui->wiredcr = namedRow(form, QStringLiteral("wiredcr"), QStringLiteral("Wire DCR"), QStringLiteral("Ohms"), kSix,
                           g, next + 2 * g.rowHeight);
    ui->material = list(form, QStringLiteral("material"), QString(), metalNames(), next + 3 * g.rowHeight + 30);

    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 120, next + 3 * g.rowHeight + 15, 1020, 345);
    ui->Command1->setText(QStringLiteral("Help"));
    on(ui->Command1, &QPushButton::clicked, [this] { Command1_Click(); });

    ui->helpframe = new CoilDiagram(form);
    ui->helpframe->setObjectName(QStringLiteral("helpframe"));
    ui->helpframe->hide();
}

void RLC_inductorair::onLoad()
{
    DesignTool::onLoad();
    auto* ui = controls<Ui>();
    const QStringList metals = metalNames();
    for (int i = 0; i < metals.size(); ++i)
        if (metals[i].toLower() == QLatin1String("copper"))
            ui->material->setCurrentIndex(i);
    ui->awg->setCurrentIndex(0);
    ui->turns->setCurrentIndex(14);
    refresh(-1);
}

void RLC_inductorair::Command1_Click()
{
    auto* ui = controls<Ui>();
    if (ui->helpframe->isVisible()) {
        ui->helpframe->hide();
        return;
    }
    QWidget* f = form();
    // Down to the Help button and the metal list, whatever the window's
    // height: the rows above them, "Wire DCR" the last, are covered whole.
    const int top = twips(-60);
    const int bottom = std::min(ui->Command1->y(), ui->material->y());
    ui->helpframe->setGeometry(twips(60), top, f->width() - twips(240), bottom - top);
    ui->helpframe->raise();
    ui->helpframe->show();
}

void RLC_inductorair::recalc(int)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    const double n = numval(ui->turns->currentText());
    if (n == 0)
        return;
    const QString gauge = ui->awg->currentText();
    const double d = numval(metalprop(QStringLiteral("d"), 0, 0, 0, gauge, QString(), 0, QStringLiteral("e")));
    const Solenoid s = solenoid(n, value(1), value(2), d, value(5));
    const double r = numval(metalprop(QStringLiteral("a"), 0, 0, s.wireLength, gauge, ui->material->currentText(), 0,
                                      QStringLiteral("e")));
    put(3, s.spacing, kSix);
    put(4, d, kSix);
    put(6, s.od, kSix);
    put(7, s.lengthActual, kSix);
    ui->inductance->setText(fmt(s.inductance, kSix));
    ui->wirelength->setText(fmt(s.wireLength, kSix));
    ui->wiredcr->setText(fmt(r, kSix));
}
