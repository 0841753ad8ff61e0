#include "ctrl_8879_servoc.h"
#include "servoretrofit.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/scrollnotify.h"
#include "common/textlines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>

using namespace servoretrofit;

namespace {
// A tuning file is one short line; anything past this is not one.
constexpr qint64 trimFileCap = 64 * 1024;
} // namespace

struct Ctrl_8879_servoc::Ui : Controls {
    QComboBox* portselect = nullptr;
    QLineEdit* statusbox = nullptr;
    std::array<QLineEdit*, 4> adc{};
    std::array<QLineEdit*, 5> xdir{};
    std::array<QLineEdit*, 5> xdirtxt{};
    std::array<QLineEdit*, 8> inhibit{};
    QScrollBar* speedset = nullptr;
    QLineEdit* speed = nullptr;
    std::array<QLineEdit*, 9> calvalue{};
    QCheckBox* enablewrite = nullptr;
    QLineEdit* calfile = nullptr;
    std::array<QPushButton*, 11> Command1{};
};

Ctrl_8879_servoc::Ctrl_8879_servoc()
    : ToolWindow(QStringLiteral("Ctrl_8879_servoc"), QSize(10080, 6180)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_8879_servoc::Ui* Ctrl_8879_servoc::ui() const
{
    return controls<Ui>();
}

void Ctrl_8879_servoc::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("ELMO ISP Retrofit controller"));
    auto* u = makeControls<Ui>();
    auto output = [&](const QString& name, const char* text, double left, double top, double width) {
        auto* b = place<QLineEdit>(form, name, left, top, width, 315);
        b->setText(QString::fromLatin1(text));
        setOutputBox(b);
        return b;
    };
    auto button = [&](int i, const char* caption, double left, double top, double width) {
        auto* b = place<QPushButton>(form, arrayName("Command1", i), left, top, width, 375);
        b->setText(QString::fromLatin1(caption));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    };

    placeLabel(form, QStringLiteral("Port"), 120, 165, 480);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 600, 120, 2160, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
    u->statusbox = output(QStringLiteral("statusbox"), "", 2880, 120, 4200);

    // Analog readings: Command and Tach, each negative and positive.
    placeLabel(form, QStringLiteral("Neg"), 1320, 600, 960);
    placeLabel(form, QStringLiteral("Pos"), 2400, 600, 960);
    const char* adcRows[2] = {"Command", "Tach"};
    for (int r = 0; r < 2; ++r) {
        const double top = 870 + r * 360;
        placeLabel(form, QString::fromLatin1(adcRows[r]), 120, top + 30, 1140);
        for (int c = 0; c < 2; ++c) {
            const int k = r * 2 + c;
            u->adc[std::size_t(k)] = output(arrayName("adc", k), "0.000", 1320 + c * 1080, top, 960);
        }
    }

    const char* bitCaptions[5] = {"Command", "Tach", "Trajectory", "Enabled", "GUI O/R"};
    for (int k = 0; k < 5; ++k) {
        const double top = 1680 + k * 360;
        placeLabel(form, QString::fromLatin1(bitCaptions[k]), 120, top + 30, 1140);
        u->xdir[std::size_t(k)] = output(arrayName("xdir", k), "0", 1320, top, 420);
        u->xdirtxt[std::size_t(k)] = output(arrayName("xdirtxt", k), "---", 1860, top, 1500);
    }

    const char* flagCaptions[8] = {"Slw", "Dir", "All", "CW", "CCW", "V", "T", "E"};
    const char* flagTips[8] = {"Slew Active: 1=Run / 0=Halt",
                               "Command Direction: 1=CW / 0=CCW",
                               "Master Inhibit: 0=Run / 1=Halt",
                               "CW Inhibit (Limit Switch): 0=Run / 1=No CW",
                               "CCW Inhibit (Limit Switch): 0=Run / 1=No CCW",
                               "Under/Over Voltage Error: 0=OK / 1=Halt",
                               "Over Temp Error: 0=OK / 1=Halt",
                               "General Error: 0=OK / 1=Halt"};
    for (int k = 0; k < 8; ++k) {
        const double left = 120 + k * 540;
        placeLabel(form, QString::fromLatin1(flagCaptions[k]), left, 3540, 480);
        auto* b = output(arrayName("inhibit", k), "0", left, 3810, 420);
        b->setToolTip(QString::fromLatin1(flagTips[k]));
        u->inhibit[std::size_t(k)] = b;
    }

    placeLabel(form, QStringLiteral("Manual control (Virtual)"), 120, 4320, 2400);
    u->speedset = place<QScrollBar>(form, QStringLiteral("speedset"), 120, 4620, 3240, 255);
    u->speedset->setOrientation(Qt::Horizontal);
    u->speedset->setRange(-100, 100);
    u->speedset->setSingleStep(1);
    u->speedset->setPageStep(10);
    u->speedset->setValue(0);
    u->speed = output(QStringLiteral("speed"), "0", 3480, 4590, 720);
    onScrollBar(
        *this, u->speedset, [this] { speedChange(); },
        [this] {
            Ui* v = ui();
            v->speed->setText(speedText(v->speedset->value()));
        });

    button(0, "Read Status", 120, 5040, 1320);
    button(1, "Auto Status On", 1500, 5040, 1380);
    button(2, "Auto Status Off", 2940, 5040, 1380);
    button(3, "Halt", 120, 5520, 1320);
    button(4, "VCmd(Real)/On", 1500, 5520, 1380);
    button(8, "VCmmd  (Virtual) / Stop", 2940, 5520, 2040);

    // Tuning values.
    const auto& fields = trimFields();
    for (int k = 0; k < 9; ++k) {
        const double top = 600 + k * 360;
        placeLabel(form, fields[std::size_t(k)].label, 5280, top + 30, 2760);
        auto* b = place<QLineEdit>(form, arrayName("calvalue", k), 8100, top, 960, 315);
        b->setText(QString::number(fields[std::size_t(k)].defaultValue));
        u->calvalue[std::size_t(k)] = b;
    }
    u->enablewrite = place<QCheckBox>(form, QStringLiteral("enablewrite"), 5280, 3900, 1500, 315);
    u->enablewrite->setText(QStringLiteral("Enable write"));
    button(5, "Write Tuning", 6840, 3870, 1440);
    button(6, "Read Tuning", 8400, 3870, 1440);
    placeLabel(form, QStringLiteral("Tuning file"), 5280, 4380, 1500);
    u->calfile = place<QLineEdit>(form, QStringLiteral("calfile"), 5280, 4620, 3060, 315);
    u->calfile->setText(joinpath(worktemp(), QStringLiteral("servotrim.txt")));
    button(9, "W", 8400, 4590, 450);
    button(10, "R", 8880, 4590, 450);
    button(7, "D", 9360, 4590, 450);
}

void Ctrl_8879_servoc::onLoad()
{
    initchars();
    serial.load();
}

void Ctrl_8879_servoc::onUnload()
{
    serial.unload();
}

bool Ctrl_8879_servoc::interrupted() const
{
    return !isLoaded() || aborted() || !serial.portopen;
}

void Ctrl_8879_servoc::Command1_Click(int index)
{
    Ui* u = ui();
    if (!u)
        return;
    switch (index) {
    case 0:
        comwrite(QStringLiteral("$0060") + cc.CRLF);
        break;
    case 1:
        comwrite(QStringLiteral("$002001") + cc.CRLF);
        break;
    case 2:
        comwrite(QStringLiteral("$002000") + cc.CRLF);
        break;
    case 3:
        comwrite(QStringLiteral("$0012") + cc.CRLF);
        break;
    case 4:
        // The board takes control back, then the halt is lifted once it
        // has had a second to settle.
        comwrite(QStringLiteral("$0016") + cc.CRLF);
        if (interrupted())
            return;
        delay(100);
        if (interrupted())
            return;
        comwrite(QStringLiteral("$0013") + cc.CRLF);
        break;
    case 5:
        writeTuning();
        break;
    case 6:
        comwrite(QStringLiteral("$0031") + cc.CRLF);
        break;
    case 7:
        setTrim(defaultTrim());
        break;
    case 8: {
        comwrite(speedCommand(QStringLiteral("0")));
        if (interrupted())
            return;
        delay(10);
        if (interrupted())
            return;
        comwrite(QStringLiteral("$0012") + cc.CRLF);
        if (!isLoaded() || aborted())
            return;
        m_resettingSpeed = true;
        u->speedset->setValue(0);
        m_resettingSpeed = false;
        u->speed->setText(QStringLiteral("0"));
        break;
    }
    case 9:
        saveTrimFile();
        break;
    case 10:
        loadTrimFile();
        break;
    default:
        break;
    }
}

// Every settled change first brings the speed box up to date, so the
// command always carries the value the bar shows.
void Ctrl_8879_servoc::speedChange()
{
    Ui* u = ui();
    u->speed->setText(speedText(u->speedset->value()));
    if (m_resettingSpeed)
        return;
    comwrite(speedCommand(u->speed->text()));
}

QStringList Ctrl_8879_servoc::trimBoxes() const
{
    QStringList out;
    for (QLineEdit* b : ui()->calvalue)
        out << b->text();
    return out;
}

void Ctrl_8879_servoc::setTrim(const QStringList& values)
{
    Ui* u = ui();
    for (std::size_t k = 0; k < u->calvalue.size() && qsizetype(k) < values.size(); ++k)
        u->calvalue[k]->setText(values[qsizetype(k)]);
}

void Ctrl_8879_servoc::writeTuning()
{
    if (!ui()->enablewrite->isChecked())
        return;
    const Command c = tuningWrite(trimBoxes());
    if (!c.ok()) {
        alertbox(QStringLiteral("Tuning value error"),
                 QStringLiteral("\"%1\" must be a whole number from 0 to %2; nothing was sent.")
                     .arg(trimFields()[std::size_t(c.badField)].label)
                     .arg(fieldMax(c.badField)),
                 0);
        return;
    }
    comwrite(c.text);
}

void Ctrl_8879_servoc::saveTrimFile()
{
    const Command c = trimFileLine(trimBoxes());
    if (!c.ok()) {
        alertbox(QStringLiteral("Tuning file error"),
                 QStringLiteral("\"%1\" is not a number; the tuning file was not written.").arg(trimFields()[std::size_t(c.badField)].label),
                 0);
        return;
    }
    writefile(ui()->calfile->text(), (c.text + cc.CRLF).toLatin1());
}

void Ctrl_8879_servoc::loadTrimFile()
{
    const TextLines file = readTextLines(ui()->calfile->text(), trimFileCap);
    const bool readable = file.status == TextLines::Ok || file.status == TextLines::TooLarge;
    const auto values = readable && !file.lines.isEmpty() ? trimFromLine(file.lines.first()) : std::nullopt;
    if (!values) {
        beep();
        return;
    }
    setTrim(*values);
}

void Ctrl_8879_servoc::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    const QString kind = replyKind(frame);
    if (kind == QLatin1String("00")) {
        u->statusbox->clear();
        delay(-1);
        if (!isLoaded())
            return;
        beep();
        ui()->statusbox->setText(QStringLiteral("Controller reset"));
    } else if (kind == QLatin1String("31")) {
        if (const auto values = tuningReply(frame))
            setTrim(*values);
    } else if (kind == QLatin1String("60")) {
        const auto s = statusReply(frame);
        if (!s)
            return;
        for (std::size_t k = 0; k < s->adc.size(); ++k)
            u->adc[k]->setText(s->adc[k]);
        for (std::size_t k = 0; k < s->xdir.size(); ++k) {
            u->xdir[k]->setText(s->xdir[k]);
            u->xdirtxt[k]->setText(s->xdirtxt[k]);
        }
        for (std::size_t k = 0; k < s->inhibit.size(); ++k)
            u->inhibit[k]->setText(s->inhibit[k]);
    } else {
        const QString message = replyMessage(frame);
        if (!message.isEmpty())
            u->statusbox->setText(message);
    }
}
