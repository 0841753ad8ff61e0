#include "math_ffttester.h"
#include "fft.h"
#include "fftbench.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/picturebox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

struct Math_ffttester::Ui : Controls {
    QLineEdit* sampleroot = nullptr;
    QLineEdit* samplecount = nullptr;
    QLineEdit* samplerate = nullptr;
    QLineEdit* period = nullptr;
    QLineEdit* pscale = nullptr;
    QLineEdit* frequency = nullptr;
    QLineEdit* multiple = nullptr;
    QLineEdit* freq2 = nullptr;
    QLineEdit* fftmax = nullptr;
    QLineEdit* status1 = nullptr;
    QCheckBox* multitone = nullptr;
    QCheckBox* floatnint = nullptr;
    QCheckBox* showneg = nullptr;
    QCheckBox* clearlast = nullptr;
    QCheckBox* datatable = nullptr;
    QPlainTextEdit* resa = nullptr;
    PictureBox* graph = nullptr;
    QPushButton* Command1 = nullptr;
};

namespace {
const QColor lightRed(255, 192, 192);

int digitsOnly(int key)
{
    return (key >= '0' && key <= '9') || key == 8 || key == 127 ? key : 0;
}
int digitsAndPoint(int key)
{
    return key == '.' ? key : digitsOnly(key);
}

// A whole number as decimal text without a leading blank.
QString plainNumber(double v)
{
    return numstr(v).trimmed();
}
} // namespace

Math_ffttester::Math_ffttester() : ToolWindow(QStringLiteral("Math_ffttester"), QSize(12600, 7800)) {}

Math_ffttester::Ui* Math_ffttester::ui() const
{
    return controls<Ui>();
}

void Math_ffttester::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("FFT Test"));
    auto* u = makeControls<Ui>();

    struct Row {
        QLineEdit* Ui::*box;
        const char* name;
        const char* label;
        const char* text;
        bool output;
        const char* tip;
    };
    const Row rows[] = {
        {&Ui::sampleroot, "sampleroot", "Sample", "10", false, "2^n samples to accumulated for the FFT computation"},
        {&Ui::samplecount, "samplecount", "[Samples]", "1024", true, nullptr},
        {&Ui::samplerate, "samplerate", "Rate-SPS", "1000", false, nullptr},
        {&Ui::period, "period", "Period", "5", false, nullptr},
        {&Ui::pscale, "pscale", "Scale", "100", false, nullptr},
        {&Ui::frequency, "frequency", "Freq-Hz", "200", true, nullptr},
        {&Ui::multiple, "multiple", "Multiplier", "1", false,
         "This is the harmonic of the primary frequency to overlay on top"},
        {&Ui::freq2, "freq2", "Freq2-Hz", "", true, nullptr},
        {&Ui::fftmax, "fftmax", "FFT Max", "", true, nullptr},
    };
    double y = 120;
    for (const Row& r : rows) {
        const QString name = QString::fromLatin1(r.name);
        QLabel* l = placeLabel(form, QString::fromLatin1(r.label), 120, y + 30, 1140, 255, QStringLiteral("Label_") + name);
        auto* b = place<QLineEdit>(form, name, 1320, y, 1260, 285);
        b->setText(QString::fromLatin1(r.text));
        if (r.output)
            setOutputBox(b);
        if (r.tip) {
            b->setToolTip(QString::fromLatin1(r.tip));
            l->setToolTip(b->toolTip());
        }
        u->*(r.box) = b;
        y += 360;
    }

    struct Check {
        QCheckBox* Ui::*box;
        const char* name;
        const char* caption;
        bool on;
    };
    const Check checks[] = {
        {&Ui::multitone, "multitone", "Plot MultiTone", false},  {&Ui::floatnint, "floatnint", "Use Integer Math", true},
        {&Ui::showneg, "showneg", "Show Neg Freq", false},       {&Ui::clearlast, "clearlast", "Clear before plot", true},
        {&Ui::datatable, "datatable", "List Data", false},
    };
    y += 60;
    for (const Check& c : checks) {
        auto* box = place<QCheckBox>(form, QString::fromLatin1(c.name), 120, y, 2460, 285);
        box->setText(QString::fromLatin1(c.caption));
        box->setChecked(c.on);
        u->*(c.box) = box;
        y += 330;
    }

    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 120, y + 120, 2460, 420);
    u->Command1->setText(QStringLiteral("Plot"));
    u->status1 = place<QLineEdit>(form, QStringLiteral("status1"), 120, y + 660, 2460, 285);
    setOutputBox(u->status1);

    u->graph = place<PictureBox>(form, QStringLiteral("graph"), 2760, 120, 9720, 4920);
    u->graph->setBackColor(QColor(255, 255, 255));
    u->resa = place<QPlainTextEdit>(form, QStringLiteral("resa"), 2760, 5160, 9720, 2520);
    u->resa->setReadOnly(true);
    u->resa->setLineWrapMode(QPlainTextEdit::NoWrap);

    for (QLineEdit* b : {u->sampleroot, u->samplerate, u->pscale})
        onKeyPress(b, digitsOnly);
    for (QLineEdit* b : {u->period, u->multiple})
        onKeyPress(b, digitsAndPoint);
    on(u->sampleroot, &QLineEdit::textChanged, [this] { sampleroot_Change(); });
    on(u->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
}

void Math_ffttester::onLoad()
{
    initchars();
}

void Math_ffttester::sampleroot_Change()
{
    Ui* u = ui();
    const double count = std::pow(2.0, std::floor(numval(u->sampleroot->text())));
    u->samplecount->setText(std::isfinite(count) ? plainNumber(count) : QStringLiteral("----"));
}

void Math_ffttester::Command1_Click()
{
    Ui* u = ui();
    if (!u)
        return;

    const double rate = numval(u->samplerate->text());
    const double period = numval(u->period->text());
    setBackColor(u->samplerate, rate == 0 ? lightRed : colors::white);
    setBackColor(u->period, period == 0 ? lightRed : colors::white);
    if (rate == 0 || period == 0)
        return;

    if (numval(u->sampleroot->text()) <= 0)
        u->sampleroot->setText(QStringLiteral("10"));
    if (numval(u->sampleroot->text()) > 16)
        u->sampleroot->setText(QStringLiteral("16"));
    if (numval(u->sampleroot->text()) < 1)
        u->sampleroot->setText(QStringLiteral("1"));
    const int n = int(std::pow(2.0, std::floor(numval(u->sampleroot->text()))));
    u->samplecount->setText(QString::number(n));

    u->frequency->setText(fmt(1 / (period * (1 / rate)), QStringLiteral("0.000")));

    u->status1->setText(QStringLiteral("Wait..."));
    u->status1->repaint();
    // An error below (a sample or bin beyond the 32-bit range) still ends the wait.
    struct ClearStatus {
        Ui* u;
        ~ClearStatus() { u->status1->setText(QString()); }
    } clearStatus{u};

    const int last = u->showneg->isChecked() ? n - 1 : n / 2 - 1;
    u->resa->setPlainText(QString());
    PictureBox* g = u->graph;
    if (u->clearlast->isChecked())
        g->cls();

    double multiple = 0;
    if (u->multitone->isChecked()) {
        multiple = numval(u->multiple->text());
        if (multiple <= 0) {
            multiple = 1;
            u->multiple->setText(QStringLiteral("1"));
        }
        u->freq2->setText(fmt(multiple * numval(u->frequency->text()), QStringLiteral("0.000")));
    } else {
        u->freq2->setText(QStringLiteral("----"));
    }
    const FftSignal sig = fftSignal(n, numval(u->pscale->text()), period, multiple);
    u->graph->repaint();

    const bool integer = u->floatnint->isChecked();
    std::vector<double> mags;
    if (integer) {
        std::vector<qint32> xi(static_cast<std::size_t>(n));
        FFTI(n, sig.xi, xi);
        mags = binMagnitudes(xi);
    } else {
        std::vector<double> x(static_cast<std::size_t>(n));
        FFTD(n, sig.x, x);
        mags = binMagnitudes(x);
    }

    // The signal, upside down about the middle at one tenth of its value.
    qint32 top = 0;
    for (const qint32 v : sig.xi)
        top = std::max(top, v);
    const double height = top > 0 ? std::floor(2 * double(top) * 1.1) : 2200;
    g->setScale(0, 0, n, height);
    g->setCurrentX(0);
    g->setCurrentY(height / 2);
    const QColor red(255, 0, 0);
    for (int i = 0; i < n; ++i)
        g->lineTo(i, height / 2 + sig.xi[std::size_t(i)] / 10.0, red);

    double peak = 0;
    for (int k = 0; k <= last; ++k)
        peak = std::max(peak, mags[std::size_t(k)]);
    if (u->datatable->isChecked()) {
        std::vector<double> samples = sig.x;
        if (integer)
            samples.assign(sig.xi.begin(), sig.xi.end());
        u->resa->setPlainText(fftTable(n, last, mags, samples, cc.CRLF));
    }
    u->fftmax->setText(plainNumber(peak));
    if (peak == 0)
        peak = 1000;

    // The spectrum on its own scale over the signal; a new scale does not
    // erase. With two samples and the lower half shown there is a single
    // bin: the scale stays one unit wide, as a zero width has no mapping.
    const double specHeight = std::floor(peak * 1.1);
    const double base = specHeight - peak / 20;
    g->setScale(0, 0, std::max(last, 1), specHeight);
    g->setCurrentX(0);
    g->setCurrentY(base - mags[0]);
    const QColor blue(0, 0, 255);
    for (int k = 0; k <= last; ++k)
        g->lineTo(k, base - mags[std::size_t(k)], blue);
}
