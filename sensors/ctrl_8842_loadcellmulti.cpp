#include "ctrl_8842_loadcellmulti.h"
#include "loadcellmulti.h"

#include "common/alert.h"
#include "common/charlimit.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/paths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

using namespace loadcellmulti;

struct Ctrl_8842_loadcellmulti::Ui : Controls {
    std::array<QLineEdit*, 20> sensordata{};
    std::array<QPushButton*, 8> Command1{};
    QCheckBox* logtofile = nullptr;
    QLineEdit* datafilename = nullptr;
    QCheckBox* reportactivity = nullptr;
    QComboBox* portselect = nullptr;
};

Ctrl_8842_loadcellmulti::Ctrl_8842_loadcellmulti()
    : ToolWindow(QStringLiteral("Ctrl_8842_loadcellmulti"), QSize(6000, 4200)),
      serial(*this, [] { return QStringLiteral("57600,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_8842_loadcellmulti::Ui* Ctrl_8842_loadcellmulti::ui() const
{
    return controls<Ui>();
}

void Ctrl_8842_loadcellmulti::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("4 Channel Load Cell Controller"));
    auto* u = makeControls<Ui>();

    const char* headings[5] = {"Sensor Data", "", " Set DAC", " Scaler Out", " Scaler In"};
    for (int column = 0; column < 5; ++column) {
        const double left = 120 + column * 1140;
        if (*headings[column])
            placeLabel(form, QString::fromLatin1(headings[column]), left, 120, 1080, 255,
                       arrayName("Label_heading", column));
        const bool editable = column == 2 || column == 3;
        for (int channel = 0; channel < 4; ++channel) {
            const int i = 4 * column + channel;
            auto* b = place<QLineEdit>(form, arrayName("sensordata", i), left, 420 + channel * 360, 1080, 315);
            b->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            b->setText(column == 0 ? QStringLiteral("0.000") : QStringLiteral("0"));
            if (editable)
                b->setValidator(new CharLimit(5, b));
            else
                setOutputBox(b);
            onKeyPress(b, [](int key) {
                key = keyinteger(key);
                return key == 13 ? 0 : key;
            });
            u->sensordata[std::size_t(i)] = b;
        }
    }
    placeLabel(form, QStringLiteral("Lbs"), 120, 1890, 1080, 255, QStringLiteral("Label_lbs"));
    placeLabel(form, QStringLiteral("Counts"), 1260, 1890, 1080, 255, QStringLiteral("Label_counts"));

    const char* captions[8] = {"Start Logging", "Stop Logging",     "Report Pounds", "Report Counts",
                               "Re Zero DACs",  "All DACs to Zero", "Set DACs",      "Read Scalers"};
    for (int i = 0; i < 8; ++i) {
        auto* b = place<QPushButton>(form, arrayName("Command1", i), 120 + (i % 4) * 1440, 2280 + (i / 4) * 480, 1380,
                                     375);
        b->setText(QString::fromLatin1(captions[i]));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    }

    u->logtofile = place<QCheckBox>(form, QStringLiteral("logtofile"), 120, 3270, 700, 315);
    u->logtofile->setText(QStringLiteral("Log"));
    u->datafilename = place<QLineEdit>(form, QStringLiteral("datafilename"), 840, 3240, 5040, 315);
    u->datafilename->setText(joinpath(worktemp(), QStringLiteral("loadcell.csv")));
    u->datafilename->setReadOnly(true);

    placeLabel(form, QStringLiteral("Activity"), 120, 3765, 800, 255, QStringLiteral("Label_activity"));
    u->reportactivity = place<QCheckBox>(form, QStringLiteral("reportactivity"), 960, 3735, 300, 315);
    placeLabel(form, QStringLiteral("Port"), 2400, 3765, 600, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 3060, 3720, 2820, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
}

void Ctrl_8842_loadcellmulti::onLoad()
{
    activitycount = 0;
    serial.load();
    initchars();
}

void Ctrl_8842_loadcellmulti::onUnload()
{
    serial.unload();
}

void Ctrl_8842_loadcellmulti::Command1_Click(int index)
{
    const QString text = command(index);
    if (!text.isEmpty())
        serial.comwrite(text, 10);
}

void Ctrl_8842_loadcellmulti::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    const Reply r = decodeReply(frame);
    for (int k = 0; k < r.values.size(); ++k)
        u->sensordata[std::size_t(r.column + k)]->setText(r.values[k]);
    if (r.dashes >= 0)
        for (int k = 0; k < 4; ++k)
            u->sensordata[std::size_t(r.dashes + k)]->setText(QStringLiteral("---"));
    if (r.reading) {
        ++activitycount;
        // A log that cannot be written costs one alert per failing run; the
        // readings and the port go on.
        if (u->logtofile->isChecked()) {
            const QString path = u->datafilename->text();
            if (m_log.append(path, QString(), r.logLine) == LogSequence::Failed)
                alertbox(QStringLiteral("Log file error"), QStringLiteral("Cannot write ") + path, 0);
        }
    }
    if (activitycount >= 5) {
        activitycount = 0;
        u->reportactivity->setChecked(!u->reportactivity->isChecked());
    }
}
