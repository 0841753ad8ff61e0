#include "ctrl_9619_diodeir.h"
#include "diodeir.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/picturebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

using namespace diodeir;

namespace {

// The plot's user scale: x -10 .. 60, y 0 (top) .. 160 (bottom), a value v
// drawn at y = 155 - v.
constexpr double plotLeft = 3720, plotTop = 600, plotWidth = 4800, plotHeight = 3600;
constexpr double plotBase = 155;

// The twips top of a one-line label centred on a plot line.
double labelTop(double y)
{
    return plotTop + y / 160 * plotHeight - 127;
}

} // namespace

struct Ctrl_9619_diodeir::Ui : Controls {
    QLineEdit* temperature = nullptr;
    QLineEdit* current = nullptr;
    QLineEdit* samplemode = nullptr;
    QLineEdit* tempset = nullptr;
    QSlider* Slider1 = nullptr;
    QComboBox* scalefactor = nullptr;
    std::array<QLabel*, 5> yscale2{};
    PictureBox* dataplot = nullptr;
    std::array<QPushButton*, 4> cmmd{};
    QCheckBox* sampleticker = nullptr;
    std::array<QCheckBox*, 2> logtofile{};
    std::array<QLineEdit*, 2> outfilename{};
    QComboBox* portselect = nullptr;
};

Ctrl_9619_diodeir::Ctrl_9619_diodeir()
    : ToolWindow(QStringLiteral("Ctrl_9619_diodeir"), QSize(9360, 5880)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_9619_diodeir::Ui* Ctrl_9619_diodeir::ui() const
{
    return controls<Ui>();
}

void Ctrl_9619_diodeir::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Diode Ir vs Tj test controller"));
    auto* u = makeControls<Ui>();
    auto output = [&](const char* name, double top) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), 1320, top, 1560, 315);
        b->setText(QStringLiteral("---"));
        b->setAlignment(Qt::AlignRight);
        setOutputBox(b);
        return b;
    };

    placeLabel(form, QStringLiteral("Com Port"), 120, 165, 1080, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1320, 120, 1560, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    const char* captions[4] = {"Sample = Pulsed", "Sample = Continuous", "Heater On", "Heater Off"};
    for (int i = 0; i < 4; ++i) {
        auto* b = place<QPushButton>(form, arrayName("cmmd", i), 120, 600 + i * 480, 2760, 375);
        b->setText(QString::fromLatin1(captions[i]));
        u->cmmd[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { cmmd_Click(i); });
    }

    // Target temperature: the box shows what the slider sent, red until
    // the board confirms it.
    u->tempset = place<QLineEdit>(form, QStringLiteral("tempset"), 120, 2580, 600, 315);
    u->tempset->setText(QStringLiteral("25"));
    u->tempset->setAlignment(Qt::AlignRight);
    u->Slider1 = place<QSlider>(form, QStringLiteral("Slider1"), 780, 2550, 2100, 375);
    u->Slider1->setOrientation(Qt::Horizontal);
    u->Slider1->setRange(25, 150);
    u->Slider1->setSingleStep(1);
    u->Slider1->setPageStep(1);
    u->Slider1->setValue(25);
    onKeyPress(u->Slider1, [](int) { return 0; });
    on(u->Slider1, &QSlider::sliderMoved, [this](int v) { sliderScroll(v); });
    on(u->Slider1, &QSlider::sliderReleased, [this] {
        if (ui() && ui()->Slider1->value() != m_settled)
            sliderChange();
    });
    // A click beside the thumb, a key or the wheel moves the value with
    // the thumb released: sent at once. A value set by code sends nothing.
    on(u->Slider1, &QSlider::actionTriggered, [this] {
        QSlider* s = ui() ? ui()->Slider1 : nullptr;
        m_userMove = s && !s->isSliderDown() && s->sliderPosition() != s->value();
    });
    on(u->Slider1, &QSlider::valueChanged, [this] {
        if (m_userMove) {
            m_userMove = false;
            sliderChange();
        }
    });

    placeLabel(form, QStringLiteral("Temperature"), 120, 3075, 1140, 255, QStringLiteral("Label_temperature"));
    u->temperature = output("temperature", 3030);
    placeLabel(form, QStringLiteral("Current mA"), 120, 3465, 1140, 255, QStringLiteral("Label_current"));
    u->current = output("current", 3420);
    placeLabel(form, QStringLiteral("Mode"), 120, 3855, 1140, 255, QStringLiteral("Label_mode"));
    u->samplemode = output("samplemode", 3810);
    placeLabel(form, QStringLiteral("Scale mA"), 120, 4245, 1140, 255, QStringLiteral("Label_scale"));
    u->scalefactor = place<QComboBox>(form, QStringLiteral("scalefactor"), 1320, 4200, 1560, 315);
    u->scalefactor->addItems(
        {"50", "40", "30", "25", "20", "15", "10", "5", "3.0", "2.5", "1.0"});
    onKeyPress(u->scalefactor, [](int) { return 0; });
    on(u->scalefactor, &QComboBox::currentIndexChanged, [this] { scalefactorClick(); });
    u->sampleticker = place<QCheckBox>(form, QStringLiteral("sampleticker"), 120, 4650, 1500, 315);
    u->sampleticker->setText(QStringLiteral("Sampling"));
    u->sampleticker->setEnabled(false);

    // The logs.
    for (int k = 0; k < 2; ++k) {
        auto* c = place<QCheckBox>(form, arrayName("logtofile", k), 120, 5040 + k * 390, 1560, 315);
        c->setText(QStringLiteral("Log to file %1").arg(k + 1));
        u->logtofile[std::size_t(k)] = c;
        auto* f = place<QLineEdit>(form, arrayName("outfilename", k), 1740, 5040 + k * 390, 7500, 315);
        f->setText(joinpath(worktemp(), QStringLiteral("OutputFile%1.csv").arg(k + 1)));
        u->outfilename[std::size_t(k)] = f;
    }

    // The trend and its scales: temperature on the left, current on the
    // right, both with their zero on the bottom line.
    u->dataplot = place<PictureBox>(form, QStringLiteral("dataplot"), plotLeft, plotTop, plotWidth, plotHeight);
    onDoubleClick(u->dataplot, [this] { clearTrend(); });
    onKeyPress(u->dataplot, [](int) { return 0; });
    placeLabel(form, QStringLiteral("Tj"), plotLeft - 600, plotTop - 480, 540, 255, QStringLiteral("Label_tj"));
    placeLabel(form, QStringLiteral("Deg-C"), plotLeft - 600, plotTop - 255, 600, 255, QStringLiteral("Label_degc"));
    for (int k = 0; k < 5; ++k) {
        auto* l = placeLabel(form, QString::number(150 - 30 * k), plotLeft - 600, labelTop(5 + 30 * k), 540, 255,
                             arrayName("Label_tscale", k));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* y = placeLabel(form, QString(), plotLeft + plotWidth + 60, labelTop(155 - 30 * k), 600, 255,
                             arrayName("yscale2", k));
        u->yscale2[std::size_t(k)] = y;
    }
    placeLabel(form, QStringLiteral("Ir"), plotLeft + plotWidth + 60, plotTop - 480, 600, 255,
               QStringLiteral("Label_ir"));
    placeLabel(form, QStringLiteral("mA"), plotLeft + plotWidth + 60, plotTop - 255, 600, 255,
               QStringLiteral("Label_ma"));
}

void Ctrl_9619_diodeir::onLoad()
{
    serial.load();
    initchars();
    Ui* u = ui();
    setBackColor(u->tempset, colors::red);
    m_settled = u->Slider1->value();
    // The first entry is chosen at build time already: run its handling.
    u->scalefactor->setCurrentIndex(0);
    scalefactorClick();
    plotdata.clear();
    refreshplot();
}

void Ctrl_9619_diodeir::onUnload()
{
    serial.unload();
}

void Ctrl_9619_diodeir::onActivate()
{
    refreshplot();
}

void Ctrl_9619_diodeir::cmmd_Click(int index)
{
    static const char* const texts[4] = {"$0040", "$0041", "$0051", "$0050"};
    if (index < 0 || index > 3)
        return;
    serial.comwrite(QString::fromLatin1(texts[index]) + cc.CR, 10);
}

void Ctrl_9619_diodeir::sliderScroll(int value)
{
    Ui* u = ui();
    if (!u || !serial.portopen)
        return;
    u->tempset->setText(QString::number(value));
    delay(-1);
}

void Ctrl_9619_diodeir::sliderChange()
{
    Ui* u = ui();
    if (!u)
        return;
    if (!serial.portopen) {
        // Nothing can be sent: the slider goes back to its lowest position.
        u->Slider1->setValue(25);
        m_settled = 25;
        return;
    }
    const int value = u->Slider1->value();
    m_settled = value;
    u->tempset->setText(QString::number(value));
    setBackColor(u->tempset, colors::red);
    serial.comwrite(setpointCommand(value), 10);
}

void Ctrl_9619_diodeir::scalefactorClick()
{
    Ui* u = ui();
    if (!u)
        return;
    const QStringList labels = scaleLabels(u->scalefactor->currentText());
    for (int k = 0; k < 5; ++k)
        u->yscale2[std::size_t(k)]->setText(labels[k]);
    clearTrend();
}

void Ctrl_9619_diodeir::clearTrend()
{
    if (!ui())
        return;
    ui()->dataplot->cls();
    plotdata.clear();
    refreshplot();
}

void Ctrl_9619_diodeir::process(int what, const QString&)
{
    if (what != 255 || !ui())
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    const QString code = replyCode(frame);
    if (code == QLatin1String("0060")) {
        if (confirms(ui()->tempset->text(), frame))
            setBackColor(ui()->tempset, colors::green);
    } else if (code == QLatin1String("0020")) {
        report(frame);
    }
}

void Ctrl_9619_diodeir::report(const QString& frame)
{
    Ui* u = ui();
    const Report r = parseReport(frame);
    u->temperature->setText(fmt(r.temperature, QStringLiteral("0.00")));
    u->current->setText(fmt(r.current, QStringLiteral("0.000")));
    plotdata.add({trendValue(numval(u->temperature->text())),
                  currentTrendValue(numval(u->current->text()), numval(u->scalefactor->currentText()))});
    refreshplot();
    if (!r.mode.isEmpty())
        u->samplemode->setText(r.mode);
    u->sampleticker->setChecked(!u->sampleticker->isChecked());

    const QString line = frame + u',' + u->temperature->text() + u',' + u->current->text();
    // Paths and ticks are read before any alert: a modal alert lets further
    // reports in, and the window may even be closed meanwhile.
    bool ticked[2];
    QString paths[2];
    for (int k = 0; k < 2; ++k) {
        ticked[k] = u->logtofile[std::size_t(k)]->isChecked();
        paths[k] = u->outfilename[std::size_t(k)]->text();
    }
    for (int k = 0; k < 2; ++k)
        if (ticked[k] && m_logs[std::size_t(k)].append(paths[k], QString(), line) == LogSequence::Failed)
            alertbox(QStringLiteral("Log file error"), QStringLiteral("Cannot write ") + paths[k], 0);
}

void Ctrl_9619_diodeir::refreshplot()
{
    Ui* u = ui();
    if (!u)
        return;
    PictureBox* p = u->dataplot;
    p->setScale(-10, 0, 70, 160);
    p->cls();
    p->setDrawWidth(3);
    for (int i = 0; i + 1 < plotdata.count(); ++i) {
        p->line(i, plotBase - plotdata.at(0, i), i + 1, plotBase - plotdata.at(0, i + 1), QColor(255, 0, 0));
        p->line(i, plotBase - plotdata.at(1, i), i + 1, plotBase - plotdata.at(1, i + 1), QColor(0, 0, 255));
    }
    p->setDrawWidth(1);
    for (int k = 0; k <= 5; ++k)
        p->line(-10, 5 + 30 * k, 60, 5 + 30 * k, colors::black);
}
