#include "ctrl_9767_junctiontemp.h"
#include "junctiontemp.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/picturebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <array>
#include <cmath>
#include <limits>

using namespace junctiontemp;

namespace {

// The fixture's connections: the unit's anode and cathode, the heater load
// and the 1 mA bias source.
class ConnectorDrawing : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        const double w = width(), h = height();
        const QPointF a(w * 0.5, h * 0.25), k(w * 0.5, h * 0.75);
        // Diode symbol, anode on top.
        const double s = std::min(w, h) * 0.08;
        const QPointF mid(w * 0.5, h * 0.5);
        QPolygonF tri{{mid.x() - s, mid.y() - s}, {mid.x() + s, mid.y() - s}, {mid.x(), mid.y() + s * 0.7}};
        p.setBrush(Qt::black);
        p.drawPolygon(tri);
        p.drawLine(QPointF(mid.x() - s, mid.y() + s * 0.7), QPointF(mid.x() + s, mid.y() + s * 0.7));
        p.drawLine(a, QPointF(mid.x(), mid.y() - s));
        p.drawLine(QPointF(mid.x(), mid.y() + s * 0.7), k);
        p.drawLine(a, QPointF(w * 0.2, a.y()));
        p.drawLine(a, QPointF(w * 0.8, a.y()));
        p.drawLine(k, QPointF(w * 0.2, k.y()));
        p.drawLine(k, QPointF(w * 0.8, k.y()));
        p.setBrush(Qt::NoBrush);
        // Heater load on the left, bias source on the right.
        p.drawRect(QRectF(w * 0.12, h * 0.4, w * 0.16, h * 0.2));
        p.drawLine(QPointF(w * 0.2, a.y()), QPointF(w * 0.2, h * 0.4));
        p.drawLine(QPointF(w * 0.2, h * 0.6), QPointF(w * 0.2, k.y()));
        p.drawEllipse(QPointF(w * 0.8, mid.y()), w * 0.07, w * 0.07);
        p.drawLine(QPointF(w * 0.8, a.y()), QPointF(w * 0.8, mid.y() - w * 0.07));
        p.drawLine(QPointF(w * 0.8, mid.y() + w * 0.07), QPointF(w * 0.8, k.y()));
        p.drawText(QRectF(0, a.y() - 22, w, 18), Qt::AlignCenter, QStringLiteral("Anode"));
        p.drawText(QRectF(0, k.y() + 4, w, 18), Qt::AlignCenter, QStringLiteral("Cathode"));
        p.drawText(QRectF(0, h * 0.62, w * 0.4, 18), Qt::AlignCenter, QStringLiteral("Heater load"));
        p.drawText(QRectF(w * 0.6, h * 0.62, w * 0.4, 18), Qt::AlignCenter, QStringLiteral("1 mA bias"));
        p.drawText(QRectF(0, 4, w, 18), Qt::AlignCenter, QStringLiteral("UUT connections"));
    }
};

QFont scaleFont()
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(12);
    return f;
}

// Plot units: y = 2035 - value; grid every 250 from full scale (35) to 0.
constexpr double plotBase = 2035;

} // namespace

struct Ctrl_9767_junctiontemp::Ui : Controls {
    QLineEdit* samples = nullptr;
    QLineEdit* samples2 = nullptr;
    QCheckBox* hcontrol = nullptr;
    QLineEdit* tcurrent = nullptr;
    QLineEdit* tvoltage = nullptr;
    QLineEdit* tpower = nullptr;
    QLineEdit* tvoltage2 = nullptr;
    QLineEdit* vbelow = nullptr;
    QLineEdit* vbehigh = nullptr;
    QLineEdit* vbetc = nullptr;
    QLineEdit* tambient = nullptr;
    QLineEdit* jtemperature = nullptr;
    QLineEdit* thetaja = nullptr;
    QCheckBox* logtofile = nullptr;
    QLineEdit* logfilename = nullptr;
    QCheckBox* sampleticker = nullptr;
    QWidget* connector = nullptr;
    std::array<QPushButton*, 7> cmmd{};
    QComboBox* portselect = nullptr;
    PictureBox* dataplot = nullptr;
    PictureBox* vscaleleft = nullptr;
    PictureBox* vscaleright = nullptr;
};

Ctrl_9767_junctiontemp::Ctrl_9767_junctiontemp()
    : ToolWindow(QStringLiteral("Ctrl_9767_junctiontemp"), QSize(10440, 6600)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_9767_junctiontemp::Ui* Ctrl_9767_junctiontemp::ui() const
{
    return controls<Ui>();
}

QString Ctrl_9767_junctiontemp::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("9767.ini"));
}

void Ctrl_9767_junctiontemp::build(QWidget* form)
{
    form->setWindowTitle(
        QStringLiteral("Junction to Ambient thermal resistance test controller (9767 Hardware/7364 Firmware)"));
    auto* u = makeControls<Ui>();
    auto label = [&](const QString& name, const QString& text, double left, double top, double width,
                     const QString& tip = QString()) {
        auto* l = placeLabel(form, text, left, top, width, 255, name);
        if (!tip.isEmpty())
            l->setToolTip(tip);
        return l;
    };
    auto box = [&](const char* name, const char* text, double left, double top, double width, bool output,
                   const QString& tip = QString()) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), left, top, width, 315);
        b->setText(QString::fromLatin1(text));
        if (!tip.isEmpty())
            b->setToolTip(tip);
        if (output)
            setOutputBox(b);
        return b;
    };

    // Port and commands.
    label("Label_port", QStringLiteral("Com Port"), 120, 165, 900);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1080, 120, 1800, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    const char* captions[7] = {"Vf / If", "On", "Off", "Vf", "Single", "Start Test", "Connection"};
    const double buttonTop[7] = {600, 1020, 1020, 1440, 1860, 1860, 2280};
    const double buttonLeft[7] = {120, 120, 1020, 120, 120, 1020, 120};
    const double buttonWidth[7] = {1755, 855, 855, 1755, 855, 855, 1755};
    for (int i = 0; i < 7; ++i) {
        auto* b = place<QPushButton>(form, arrayName("cmmd", i), buttonLeft[i], buttonTop[i], buttonWidth[i], 375);
        b->setText(QString::fromLatin1(captions[i]));
        u->cmmd[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { cmmd_Click(i); });
    }
    const QString samplesTip = QStringLiteral("This is the number of samples to be averaged");
    u->samples = box("samples", "0", 1980, 630, 600, false, samplesTip);
    u->hcontrol = place<QCheckBox>(form, QStringLiteral("hcontrol"), 1980, 1050, 1000, 315);
    u->hcontrol->setText(QStringLiteral("Heater"));
    u->samples2 = box("samples2", "0", 1980, 1470, 600, false, samplesTip);

    // Measurements.
    const double mx = 3120;
    label("Label_current", QStringLiteral("I-forward"), mx, 630, 1000);
    u->tcurrent = box("tcurrent", "0.000000", mx + 1080, 600, 1200, true);
    label("Label_voltage", QStringLiteral("V-forward"), mx, 1020, 1000);
    u->tvoltage = box("tvoltage", "0.000000", mx + 1080, 990, 1200, true);
    label("Label_power", QStringLiteral("Power"), mx, 1410, 1000);
    u->tpower = box("tpower", "0.000000", mx + 1080, 1380, 1200, true);
    u->tvoltage2 = box("tvoltage2", "0.000000", mx + 1080, 1770, 1200, true);

    // Calibration and results.
    const double cx = 6600;
    label("Label_vbelow", QStringLiteral("Vak (-40C)"), cx, 165, 1000,
          QStringLiteral("Measure Vak at -40C with a 1mA bias current"));
    u->vbelow = box("vbelow", "0.70000", cx + 1080, 120, 1080, false);
    label("Label_vbehigh", QStringLiteral("Vak (125C)"), cx, 555, 1000,
          QStringLiteral("Measure Vak at 125C with a 1mA bias current"));
    u->vbehigh = box("vbehigh", "0.40000", cx + 1080, 510, 1080, false);
    const QString tcTip = QStringLiteral("This is the computed temperature coefficient for the UUT");
    label("Label_tc", QStringLiteral("Tcak"), cx, 945, 1000, tcTip);
    u->vbetc = box("vbetc", "0.00000", cx + 1080, 900, 1080, true, tcTip);
    label("Label_tcunit", QStringLiteral("mV/DegC"), cx + 2220, 945, 1000);
    const QString taTip = QStringLiteral("Enter the ambient temperature of the test environment here");
    label("Label_ta", QStringLiteral("Ta"), cx, 1335, 1000, taTip);
    u->tambient = box("tambient", "0.0", cx + 1080, 1290, 1080, false, taTip);
    label("Label_taunit", QStringLiteral("DegC"), cx + 2220, 1335, 1000);
    const QString tjTip = QStringLiteral("This is the computed junction temperature");
    label("Label_tj", QStringLiteral("Tj"), cx, 1725, 1000, tjTip);
    u->jtemperature = box("jtemperature", "0.0", cx + 1080, 1680, 1080, true, tjTip);
    label("Label_tjunit", QStringLiteral("DegC"), cx + 2220, 1725, 1000);
    const QString thetaTip = QStringLiteral("This is the computed thermal resistance, junction to ambient");
    label("Label_theta", QString(QChar(0x3B8)) + QStringLiteral("JA"), cx, 2115, 1000, thetaTip);
    u->thetaja = box("thetaja", "0.0", cx + 1080, 2070, 1080, true, thetaTip);
    label("Label_thetaunit", QStringLiteral("DegC/W"), cx + 2220, 2115, 1000);

    // Log.
    u->logtofile = place<QCheckBox>(form, QStringLiteral("logtofile"), 3120, 2280, 1500, 315);
    u->logtofile->setText(QStringLiteral("Log to file"));
    u->sampleticker = place<QCheckBox>(form, QStringLiteral("sampleticker"), 4800, 2280, 1300, 315);
    u->sampleticker->setText(QStringLiteral("Sampling"));
    u->sampleticker->setEnabled(false);
    label("Label_log", QStringLiteral("Log file name"), 120, 2775, 1500);
    u->logfilename = place<QLineEdit>(form, QStringLiteral("logfilename"), 1680, 2730, 8640, 315);
    u->logfilename->setText(joinpath(worktemp(), QStringLiteral("junctiontemp.csv")));

    // Trend plot and its scale strips.
    const double py = 3240;
    // The strips run on below the plot, so the numbers of its bottom line
    // (printed below their grid lines) show whole.
    u->vscaleleft = place<PictureBox>(form, QStringLiteral("vscaleleft"), 120, py, 900, 3300);
    u->dataplot = place<PictureBox>(form, QStringLiteral("dataplot"), 1080, py, 6600, 3105);
    u->vscaleright = place<PictureBox>(form, QStringLiteral("vscaleright"), 7740, py, 900, 3300);
    for (PictureBox* strip : {u->vscaleleft, u->vscaleright})
        strip->setFont(scaleFont());
    onDoubleClick(u->dataplot, [this] {
        ui()->dataplot->cls();
        plotdata.clear();
        refreshplot();
    });
    onKeyPress(u->dataplot, [](int) { return 0; });
    const char* legends[3] = {"Tj - DegC", "Vak - Volts", "Pak - Watts"};
    const QColor legendColors[3] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 192, 0)};
    for (int i = 0; i < 3; ++i) {
        auto* l = label(arrayName("Label_legend", i), QString::fromLatin1(legends[i]), 8760, py + 120 + i * 360, 1560);
        l->setFont(scaleFont());
        setForeColor(l, legendColors[i]);
    }

    // The connection drawing, over the plot while shown.
    u->connector = place<ConnectorDrawing>(form, QStringLiteral("connector"), 2400, 600, 4200, 3600);
    u->connector->hide();
    onMouseDown(u->connector, [this] { ui()->connector->hide(); });

    // Input boxes.
    auto keyed = [this](QLineEdit* b, std::function<void()> enter) {
        onKeyPress(b, [enter](int key) {
            key = keydecimal(key);
            if (key == 13 && enter)
                enter();
            return key;
        });
    };
    auto clampBox = [](QLineEdit* b) {
        return [b] {
            const QString t = clampSamples(b->text());
            if (t != b->text())
                b->setText(t);
        };
    };
    auto reformat = [](QLineEdit* b, const char* pattern) {
        return [b, pattern] { b->setText(fmt(numval(b->text()), QString::fromLatin1(pattern))); };
    };
    keyed(u->samples, clampBox(u->samples));
    onFocusOut(u->samples, clampBox(u->samples));
    keyed(u->samples2, clampBox(u->samples2));
    on(u->samples2, &QLineEdit::textChanged, clampBox(u->samples2));
    keyed(u->tambient, reformat(u->tambient, "0.0"));
    onFocusOut(u->tambient, reformat(u->tambient, "0.0"));
    for (QLineEdit* b : {u->vbelow, u->vbehigh}) {
        keyed(b, reformat(b, "0.00000"));
        onFocusOut(b, reformat(b, "0.00000"));
        on(b, &QLineEdit::textChanged, [this] { recalctc(); });
    }
}

void Ctrl_9767_junctiontemp::onLoad()
{
    serial.load();
    initchars();
    plotdata.clear();
    // What the file cannot give reads as 0, not as a previous run's value.
    m_settings = QStringList(101);
    try {
        filelines(QStringLiteral("load"), settingsPath(), m_settings);
    } catch (const VError& e) {
        // An unreadable file leaves what was read (nothing): zeros.
        setHandledError(e);
    }
    Ui* u = ui();
    // A line that holds no number, or one too long to be finite, reads as
    // the first run's 0.
    auto saved = [this](int n) {
        constexpr double huge = std::numeric_limits<double>::max();
        return settingvalue(m_settings[n], -huge, huge).value_or(0);
    };
    u->vbelow->setText(fmt(saved(1), QStringLiteral("0.00000")));
    u->vbehigh->setText(fmt(saved(2), QStringLiteral("0.00000")));
    u->tambient->setText(fmt(saved(3), QStringLiteral("0.0")));
    recalctc();
    refreshplot();
    scaleset();
}

void Ctrl_9767_junctiontemp::onUnload()
{
    serial.unload();
    Ui* u = ui();
    while (m_settings.size() < 101)
        m_settings << QString();
    m_settings[1] = numstr(numval(u->vbelow->text()));
    m_settings[2] = numstr(numval(u->vbehigh->text()));
    m_settings[3] = numstr(numval(u->tambient->text()));
    try {
        filelines(QStringLiteral("save"), settingsPath(), m_settings);
    } catch (const VError& e) {
        setHandledError(e);
        alertbox(QStringLiteral("Settings file error"), QString(), 2);
    }
}

void Ctrl_9767_junctiontemp::onActivate()
{
    refreshplot();
    scaleset();
}

void Ctrl_9767_junctiontemp::recalctc()
{
    Ui* u = ui();
    if (!u || !u->vbetc)
        return; // still being built
    u->vbetc->setText(fmt(tcak(numval(u->vbelow->text()), numval(u->vbehigh->text())), QStringLiteral("0.00000")));
}

void Ctrl_9767_junctiontemp::cmmd_Click(int index)
{
    Ui* u = ui();
    if (!u)
        return;
    for (QLineEdit* b : {u->samples, u->samples2}) {
        const QString t = clampSamples(b->text());
        if (t != b->text())
            b->setText(t);
    }
    const double samples = numval(u->samples->text());
    const double samples2 = numval(u->samples2->text());
    const bool heater = u->hcontrol->isChecked();
    const QString dashes = QStringLiteral("---");
    switch (index) {
    case VfIf:
        u->tcurrent->setText(dashes);
        u->tvoltage->setText(dashes);
        serial.comwrite(currentVoltageCommand(heater, samples), 10);
        break;
    case On:
    case Off:
        serial.comwrite(heaterCommand(index == On), 10);
        break;
    case Vf:
        u->tvoltage2->setText(dashes);
        serial.comwrite(openVoltageCommand(heater, samples2), 10);
        break;
    case Single:
    case StartTest:
        u->tcurrent->setText(dashes);
        u->tvoltage->setText(dashes);
        u->tvoltage2->setText(dashes);
        serial.comwrite(index == Single ? singleTestCommand(samples2) : startTestCommand(samples2), 10);
        break;
    case Connection:
        u->connector->setVisible(!u->connector->isVisible());
        if (u->connector->isVisible())
            u->connector->raise();
        break;
    default:
        break;
    }
}

void Ctrl_9767_junctiontemp::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const auto reply = parseReply(serial.nextReply());
    if (!reply)
        return;
    const QString six = QStringLiteral("0.000000");
    if (reply->code != QLatin1String("0030")) {
        u->tcurrent->setText(fmt(reply->current, six));
        u->tvoltage->setText(fmt(reply->voltage, six));
        u->tpower->setText(fmt(numval(u->tcurrent->text()) * numval(u->tvoltage->text()), six));
    }
    if (reply->code != QLatin1String("0020"))
        u->tvoltage2->setText(fmt(reply->openVoltage, six));
    if (reply->code == QLatin1String("0040"))
        testResult();
}

void Ctrl_9767_junctiontemp::testResult()
{
    Ui* u = ui();
    const double tj = junctionTemperature(numval(u->tvoltage2->text()), numval(u->vbelow->text()),
                                          numval(u->vbetc->text()));
    u->jtemperature->setText(fmt(tj, QStringLiteral("0.0")));
    const double theta = thetaJa(numval(u->jtemperature->text()), numval(u->tambient->text()),
                                 numval(u->tpower->text()));
    u->thetaja->setText(fmt(theta, QStringLiteral("0.0")));
    if (u->logtofile->isChecked())
        logResult();
    plotdata.add({plotValue(numval(u->jtemperature->text()), 200), plotValue(numval(u->tvoltage2->text()), 1.28),
                  plotValue(numval(u->tpower->text()), 1.28)});
    refreshplot();
    u->sampleticker->setChecked(!u->sampleticker->isChecked());
}

void Ctrl_9767_junctiontemp::logResult()
{
    Ui* u = ui();
    QList<double> values;
    for (QLineEdit* b : {u->tcurrent, u->tvoltage, u->tpower, u->tvoltage2, u->vbelow, u->vbehigh, u->vbetc,
                         u->tambient, u->jtemperature, u->thetaja})
        values << numval(b->text());
    const QString path = u->logfilename->text();
    if (m_log.append(path, logHeader(), logLine(values)) == LogSequence::Failed)
        alertbox(QStringLiteral("Log file error"), QStringLiteral("Cannot write ") + path, 0);
}

void Ctrl_9767_junctiontemp::refreshplot()
{
    Ui* u = ui();
    if (!u)
        return;
    PictureBox* p = u->dataplot;
    p->setScale(-10, 0, 220, 2070);
    p->cls();
    p->setDrawWidth(3);
    const QColor colours[3] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 192, 0)};
    for (int i = 0; i + 1 < plotdata.count(); ++i)
        for (int row = 0; row < 3; ++row)
            p->line(i, plotBase - plotdata.at(row, i), i + 1, plotBase - plotdata.at(row, i + 1), colours[row]);
    p->setDrawWidth(1);
    for (int k = 0; k <= 8; ++k)
        p->line(-10, 35 + 250 * k, 210, 35 + 250 * k, colors::black);
}

void Ctrl_9767_junctiontemp::scaleset()
{
    Ui* u = ui();
    if (!u)
        return;
    PictureBox* left = u->vscaleleft;
    PictureBox* right = u->vscaleright;
    // The plot's vertical units, so each number stands level with its grid
    // line; the strips are taller than the plot.
    const double plotHeight = std::max(1, u->dataplot->height());
    for (PictureBox* strip : {left, right}) {
        strip->setScale(0, 0, 200, 2070 * strip->height() / plotHeight);
        strip->cls();
    }
    const QFontMetricsF metrics(left->font());
    const double unitsPerPixel = left->width() > 0 ? 200.0 / left->width() : 1;
    for (int k = 0; k <= 8; ++k) {
        const QString t = numstr((8 - k) * 25);
        left->setCurrentX(std::round(179 - metrics.horizontalAdvance(t) * unitsPerPixel));
        left->setCurrentY(250 * k + 30);
        left->print(t);
        right->setCurrentX(0);
        right->setCurrentY(250 * k + 30);
        right->print(fmt((8 - k) * 0.16, QStringLiteral("0.000")));
    }
}
