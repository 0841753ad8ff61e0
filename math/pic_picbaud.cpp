#include "pic_picbaud.h"
#include "picbaudcalc.h"

#include "common/alert.h"
#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
DesignTool::Rules baudRules()
{
    DesignTool::Rules r;
    r.arrayName = QStringLiteral("result");
    r.enter = DesignTool::Step::None;
    r.leave = DesignTool::Step::None;
    r.recalcOnOpen = false; // the lists' first choices compute
    return r;
}

const char* const baudTexts[] = {"300",   "600",   "1200",  "2400",  "4800",  "9600",  "19.2K",
                                 "28.8K", "33.6K", "38.4K", "48.0K", "57.6K", "115.2K"};
const int baudRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 28800, 33600, 38400, 48000, 57600, 115200};

const char* const preferredClocks[] = {
    "32.768k",  "455.000k", "1.000000", "1.843200",  "2.000000",  "3.579545",  "3.686400",  "4.000000",
    "7.372800", "8.000000", "10.000000", "12.000000", "14.745600", "16.000000", "20.000000"};

const char* const allClocks[] = {
    "20.000k",   "25.600k",   "26.667k",   "28.000k",   "30.000k",   "30.760k",   "31.200k",   "31.250k",
    "31.500k",   "32.000k",   "32.560k",   "32.768k",   "32.919k",   "36.000k",   "38.000k",   "38.400k",
    "40.000k",   "46.6084k",  "50.000k",   "59.787k",   "60.000k",   "60.002k",   "65.535k",   "75.000k",
    "76.800k",   "77.204k",   "77.287k",   "77.500k",   "77.503k",   "77.504k",   "83.000k",   "96.000k",
    "96.006k",   "100.000k",  "111.000k",  "120.000k",  "120.8475k", "131.072k",  "149.475k",  "200.000k",
    "400.000k",  "455.000k",  "500.000k",  "540.000k",  "640.000k",  "800.000k",  "1.000000",  "1.544000",
    "1.843200",  "2.000000",  "2.048000",  "2.097152",  "2.457600",  "2.500000",  "2.560000",  "2.949120",
    "3.000000",  "3.276800",  "3.579545",  "3.640000",  "3.686400",  "3.700000",  "3.932160",  "4.000000",
    "4.032000",  "4.096000",  "4.194304",  "4.433618",  "4.915200",  "5.000000",  "5.068800",  "5.185000",
    "5.529600",  "5.990400",  "6.000000",  "6.144000",  "6.176000",  "6.500000",  "6.553600",  "7.372800",
    "7.680000",  "8.000000",  "8.192000",  "8.500000",  "9.000000",  "9.216000",  "9.545000",  "9.830400",
    "10.000000", "10.738635", "11.000000", "11.046000", "11.059200", "11.228000", "11.520000", "11.981350",
    "12.000000", "12.000393", "12.096000", "12.288000", "12.352000", "12.960000", "13.516800", "14.318180",
    "14.690000", "14.745600", "15.000000", "15.360000", "16.000000", "16.000312", "16.257000", "16.384000",
    "18.432000", "19.440000", "19.660800", "20.000000", "20.480000", "21.477270", "22.118400", "24.000000",
    "24.000140", "24.704000", "25.000000", "25.175000", "28.322000", "29.491200", "30.000000", "32.000000",
    "32.768000", "33.333000", "35.251200", "38.000530", "40.000000", "40.320000", "44.236800", "44.736000",
    "45.000000", "48.000000", "49.152000", "49.860000", "50.000000", "51.840000", "60.000000", "64.000000",
    "66.666600", "72.000000", "80.000000"};

template <size_t N>
void fillClocks(QComboBox* list, const char* const (&texts)[N])
{
    list->addItem(QStringLiteral("Select"), 0);
    for (const char* t : texts) {
        const QString text = QString::fromLatin1(t);
        list->addItem(text, qlonglong(picClockHz(text)));
    }
}

const QString none = QStringLiteral("----");
} // namespace

PIC_picbaud::PIC_picbaud() : DesignTool(QStringLiteral("PIC_picbaud"), QSize(5760, 3480), baudRules()) {}

void PIC_picbaud::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("PIC Baud Rate Calculator"));
    auto* ui = makeControls<Ui>();

    // The clock side: caption column, then the controls.
    const double capLeft = 120, capWidth = 1095, ctlLeft = 1275, ctlWidth = 1335;
    const auto caption = [&](const QString& text, double top) {
        addLabel(form, text, capLeft, top, capWidth, 285)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    const char* const listCaptions[] = {"Baudrate", "Clock (Pref)", "Clock"};
    for (int i = 0; i < 3; ++i) {
        caption(QString::fromLatin1(listCaptions[i]), 120 + 360 * i);
        ui->clock[i] = place<QComboBox>(form, arrayName(QStringLiteral("clock"), i), ctlLeft, 105 + 360 * i,
                                        ctlWidth, 315);
        ui->clock[i]->setMaxVisibleItems(20);
    }
    for (size_t i = 0; i < std::size(baudRates); ++i)
        ui->clock[0]->addItem(QString::fromLatin1(baudTexts[i]), baudRates[i]);
    fillClocks(ui->clock[1], preferredClocks);
    fillClocks(ui->clock[2], allClocks);

    caption(QStringLiteral("Clock-MHz"), 1200);
    ui->manual = place<QLineEdit>(form, QStringLiteral("manual"), ctlLeft, 1200, 840, 285);
    ui->times4 = place<QCheckBox>(form, QStringLiteral("times4"), ctlLeft + 900, 1215, 495, 255);
    ui->times4->setText(QStringLiteral("x4"));
    caption(QStringLiteral("Clock-MHz"), 1560);
    ui->useclock = place<QLineEdit>(form, QStringLiteral("useclock"), ctlLeft, 1560, 840, 285);
    setOutputBox(ui->useclock);
    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), ctlLeft, 2100, 840, 375);
    ui->Command1->setText(QStringLiteral("About"));

    // The result side: low speed above high speed.
    Grid grid;
    grid.left = 2850;
    grid.captionWidth = 1335;
    grid.boxWidth = 1335;
    grid.unitWidth = 0;
    const char* const heads[] = {"Sync=0 / Brgh=0 (Low speed)", "Sync=0 / Brgh=1 (High speed)"};
    const char* const notes[] = {"TXSTA:  0010 0000 = 0x20", "TXSTA:  0010 0100 = 0x24"};
    for (int mode = 0; mode < 2; ++mode) {
        const double top = 120 + 1680 * mode;
        addLabel(form, QString::fromLatin1(heads[mode]), grid.left, top, 2790, 255);
        addLabel(form, QString::fromLatin1(notes[mode]), grid.left, top + 255, 2790, 255);
        grid.top = top + 570;
        const int k = 3 * mode;
        addBoxes(form,
                 {
                     {k, "SPBrg", "", "", Kind::Result},
                     {k + 1, "Calculated Baud", "", "", Kind::Result},
                     {k + 2, "Error (Percent)", "", "", Kind::Result},
                 },
                 grid);
    }
    for (QLabel* l : form->findChildren<QLabel*>())
        onDoubleClick(l, [] { beep(); });

    for (int i = 0; i < 3; ++i) {
        ui->clock[i]->setCurrentIndex(-1);
        on(ui->clock[i], &QComboBox::currentIndexChanged, [this, i] { clock_Click(i); });
        onKeyPress(ui->clock[i], [](int) { return 0; });
    }
    onKeyPress(ui->manual, [this](int key) { return manual_KeyPress(key); });
    on(ui->times4, &QCheckBox::toggled, [this] { refresh(-1); });
    on(ui->Command1, &QPushButton::clicked, [] {
        alertbox(QStringLiteral("About PICBaud"),
                 QStringLiteral("This program calculates the value for the Baud Rate Generator for a PIC "
                                "hardware UART. Sync=0 selects Async mode Brgh=x indicates Low or High speed mode."),
                 0);
    });
}

void PIC_picbaud::onLoad()
{
    DesignTool::onLoad();
    auto* ui = controls<Ui>();
    for (QComboBox* list : ui->clock)
        list->setCurrentIndex(0);
}

int PIC_picbaud::manual_KeyPress(int key)
{
    if (key == 13) {
        refresh(-1);
        return 0;
    }
    // Backspace too is refused: a wrong figure is retyped over a selection.
    return (key >= '0' && key <= '9') || key == '.' ? key : 0;
}

void PIC_picbaud::clock_Click(int index)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    if (index == 0) {
        refresh(-1);
        return;
    }
    QComboBox* list = ui->clock[index];
    if (list->currentIndex() <= 0)
        return;
    ui->manual->setText(fmt(list->currentData().toDouble() / 1000000, QStringLiteral("#0.000000")));
    ui->clock[index == 1 ? 2 : 1]->setCurrentIndex(0);
    refresh(-1);
}

void PIC_picbaud::recalc(int)
{
    auto* ui = controls<Ui>();
    if (!ui || ui->clock[0]->currentIndex() < 0)
        return;
    const bool times4 = ui->times4->isChecked();
    const int baud = ui->clock[0]->currentData().toInt();
    const std::optional<int32_t> hz = picOscillatorHz(ui->manual->text(), times4);
    // A frequency too large to hold is shown as typed (times 4), unrounded.
    ui->useclock->setText(hz ? plaindec(*hz / 1000000.0) : plaindec(numval(ui->manual->text()) * (times4 ? 4 : 1)));
    if (!hz || *hz <= 0) {
        for (int i = 0; i < 6; ++i)
            setText(i, none);
        return;
    }
    const int divisors[] = {64, 16};
    for (int mode = 0; mode < 2; ++mode) {
        const PicBaudMode m = picBaudMode(*hz, baud, divisors[mode]);
        const int k = 3 * mode;
        if (!m.valid) {
            for (int i = k; i < k + 3; ++i)
                setText(i, none);
            continue;
        }
        setText(k, QStringLiteral("0x") + hexstr(m.spbrg).rightJustified(2, u'0'));
        put(k + 1, m.baud, QStringLiteral("#######0.000"));
        put(k + 2, m.errorPercent, QStringLiteral("#######0.000"));
    }
}
