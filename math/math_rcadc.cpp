#include "math_rcadc.h"
#include "rcadc.h"

#include "common/formbuilder.h"
#include "common/numformat.h"
#include "common/numtext.h"
#include "common/picturebox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <map>

struct Math_rcadc::Ui : Controls {
    std::map<int, QLineEdit*> Text1;
    std::map<int, QLabel*> Label1;
    QPushButton* rmode = nullptr;
    QPushButton* Command1 = nullptr;
    PictureBox* graph = nullptr;
};

namespace {
const QString noCrossing = QStringLiteral("*********");
const QColor rowColor[3] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 192, 0)};
const QColor lineColor[3] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0)};

struct Field {
    int index;
    const char* tip;
};
} // namespace

Math_rcadc::Math_rcadc() : ToolWindow(QStringLiteral("Math_rcadc"), QSize(8160, 8160)) {}

Math_rcadc::Ui* Math_rcadc::ui() const
{
    return controls<Ui>();
}

bool Math_rcadc::icMode() const
{
    return ui()->rmode->text().toLower() == QLatin1String("i/c");
}

void Math_rcadc::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("R/C time constant A-D conversion calculator"));
    auto* u = makeControls<Ui>();
    auto label = [&](int index, const char* text, double left, double top, double width) {
        u->Label1[index] = placeLabel(form, QString::fromLatin1(text), left, top, width, 255, arrayName("Label1", index));
    };
    auto box = [&](int index, double left, double top, double width, const char* tip) {
        auto* b = place<QLineEdit>(form, arrayName("Text1", index), left, top, width, 285);
        if (tip)
            b->setToolTip(QString::fromLatin1(tip));
        u->Text1[index] = b;
        onFocusIn(b, [b] { b->setSelection(0, 10); });
        return b;
    };

    // The reference and the converter.
    label(0, "Ref", 120, 150, 1000);
    const struct {
        int index;
        int unitLabel;
        const char* unit;
        const char* tip;
    } inputs[] = {
        {0, 5, "Vfs", "RC Voltage (Full scale Vert)"},
        {1, 7, "mhz", "Processor clock"},
        {2, 23, "1TC", "1 TC, 63% (Rmode) or Time to ramp to 100% of Ref (Imode)"},
        {30, 18, "Rk", "Resistance in kOhm (Rmode) or Current source uA (Imode)"},
        {31, 8, "CuF", "Capacitance in uFarad"},
        {32, 6, "TCs", "Number of TCs (Rmode) or Fraction of Ref (Imode) full scale (Horiz)"},
    };
    double y = 420;
    for (const auto& in : inputs) {
        box(in.index, 120, y, 1020, in.tip);
        label(in.unitLabel, in.unit, 1200, y + 30, 540);
        y += 360;
    }
    setOutputBox(u->Text1[2]);

    // One row per set-point: the voltage, the crossing time, clocks, instructions.
    label(1, "Setpoint", 1920, 150, 1080);
    label(2, "Intersect", 3120, 150, 1200);
    label(3, "Clocks", 4440, 150, 1080);
    label(4, "Instructions", 5640, 150, 1320);
    for (int k = 0; k < 3; ++k) {
        const double top = 420 + k * 360;
        QLineEdit* cells[4] = {box(4 + k, 1920, top, 900, nullptr), box(7 + k, 3120, top, 1200, nullptr),
                               box(10 + k, 4440, top, 1080, nullptr), box(13 + k, 5640, top, 1320, nullptr)};
        cells[0]->setText(QStringLiteral("0"));
        label(9 + k, "V", 2850, top + 30, 210);
        for (int c = 0; c < 4; ++c) {
            setBackColor(cells[c], rowColor[k]);
            // Black text does not read on pure blue.
            if (k == 1)
                setForeColor(cells[c], colors::white);
            if (c > 0)
                cells[c]->setReadOnly(true);
        }
    }

    u->rmode = place<QPushButton>(form, QStringLiteral("rmode"), 1920, 1620, 1080, 420);
    u->rmode->setText(QStringLiteral("R/C"));
    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 3120, 1620, 1200, 420);
    u->Command1->setText(QStringLiteral("Calculate"));
    u->graph = place<PictureBox>(form, QStringLiteral("graph"), 120, 2700, 7920, 5340);
    u->graph->setBackColor(colors::black);

    on(u->rmode, &QPushButton::clicked, [this] { rmode_Click(); });
    on(u->Command1, &QPushButton::clicked, [this] { Calculate(); });
}

void Math_rcadc::onActivate()
{
    Calculate();
}

void Math_rcadc::Calculate()
{
    Ui* u = ui();
    if (!u || m_calculating)
        return;
    m_calculating = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_calculating};

    auto value = [u](int i) {
        const double v = numval(u->Text1[i]->text());
        return std::isfinite(v) ? v : 0.0;
    };
    static const std::pair<int, const char*> defaults[] = {{0, "3"},  {1, "1"},    {2, "6"},  {4, "2"}, {5, "1"},
                                                           {6, "0.5"}, {30, "10"}, {31, "0.1"}, {32, "6"}};
    for (const auto& [i, text] : defaults)
        if (!(value(i) > 0))
            u->Text1[i]->setText(QString::fromLatin1(text));
    if (!(value(4) < value(0)))
        u->Text1[0]->setText(plaindec(value(4) + 0.01));

    RcAdcInput in;
    in.icMode = icMode();
    in.vfs = value(0);
    in.mhz = value(1);
    in.rOrI = value(30);
    in.cuf = value(31);
    in.count = value(32);
    in.setpoint = {value(4), value(5), value(6)};
    const RcAdcResult r = rcadcCompute(in);

    u->Text1[2]->setText(engformat(r.span, QStringLiteral("S")));
    for (int k = 0; k < 3; ++k) {
        const RcAdcRow& row = r.rows[std::size_t(k)];
        u->Text1[k + 7]->setText(row.crosses ? engformat(row.time, QStringLiteral("S")) : noCrossing);
        u->Text1[k + 10]->setText(row.crosses ? plaindec(row.clocks) : noCrossing);
        u->Text1[k + 13]->setText(row.crosses ? plaindec(row.instructions) : noCrossing);
    }

    PictureBox* g = u->graph;
    g->setScale(0, 0, 1520, 1020);
    g->cls();
    g->box(8, 9, 1511, 1011, colors::white);
    for (int k = 0; k < 3; ++k) {
        const double y = rcadcLevel(in.setpoint[std::size_t(k)], in.vfs);
        if (std::isfinite(y))
            g->line(10, y, 1510, y, lineColor[k]);
    }
    const QColor curve(200, 200, 200);
    const std::vector<QPointF> pts = rcadcCurve(in);
    g->setCurrentX(pts.front().x());
    g->setCurrentY(pts.front().y());
    for (std::size_t i = 1; i < pts.size(); ++i)
        g->lineTo(pts[i].x(), pts[i].y(), curve);
    if (const auto end = rcadcRampEnd(in))
        g->line(10, 1010, end->x(), end->y(), QColor(100, 100, 100));

    u->Text1[4]->setFocus();
}

void Math_rcadc::rmode_Click()
{
    Ui* u = ui();
    const bool toRc = icMode();
    u->rmode->setText(toRc ? QStringLiteral("R/C") : QStringLiteral("I/C"));
    u->Label1[18]->setText(toRc ? QStringLiteral("Rk") : QStringLiteral("Iua"));
    u->Label1[23]->setText(toRc ? QStringLiteral("1TC") : QStringLiteral("1/1"));
    u->Label1[6]->setText(toRc ? QStringLiteral("TCs") : QStringLiteral("1/n"));
    std::array<double, 3>& leaving = toRc ? m_icValues : m_rcValues;
    const std::array<double, 3>& coming = toRc ? m_rcValues : m_icValues;
    for (int i = 0; i < 3; ++i) {
        QLineEdit* b = u->Text1[30 + i];
        leaving[std::size_t(i)] = numval(b->text());
        b->setText(plaindec(coming[std::size_t(i)]));
    }
    u->Text1[4]->setFocus();
    u->Text1[2]->setText(QString());
    Calculate();
}
