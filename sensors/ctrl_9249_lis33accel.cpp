#include "ctrl_9249_lis33accel.h"
#include "lis33accel.h"
#include "common/newestfirstlog.h"

#include "common/alert.h"
#include "common/charlimit.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <tuple>

using namespace lis33accel;

struct Ctrl_9249_lis33accel::Ui : Controls {
    std::array<QPushButton*, 22> Command1{};
    QCheckBox* auto1 = nullptr;
    QCheckBox* auto2 = nullptr;
    QCheckBox* auto3 = nullptr;
    QCheckBox* dumplast = nullptr;
    QLineEdit* eereadaddr = nullptr;
    NewestFirstLog* xcommand = nullptr;
    NewestFirstLog* xresponse = nullptr;
    QComboBox* portselect = nullptr;
    QTimer* Timer1 = nullptr;
};

Ctrl_9249_lis33accel::Ctrl_9249_lis33accel()
    : ToolWindow(QStringLiteral("Ctrl_9249_lis33accel"), QSize(9840, 7440)),
      serial(*this, [] { return QStringLiteral("57600,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_9249_lis33accel::Ui* Ctrl_9249_lis33accel::ui() const
{
    return controls<Ui>();
}

void Ctrl_9249_lis33accel::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("LIS33 Accelerometer Controller"));
    auto* u = makeControls<Ui>();
    auto heading = [&](const char* name, const char* text, double left, double top, double width) {
        placeLabel(form, QString::fromLatin1(text), left, top, width, 255, QString::fromLatin1(name));
    };
    auto button = [&](int i, const char* caption, double left, double top, double width) {
        auto* b = place<QPushButton>(form, arrayName("Command1", i), left, top, width, 375);
        b->setText(QString::fromLatin1(caption));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    };
    auto output = [&](const QString& name, const char* text, double left, double top, double width,
                      const char* tip = nullptr) {
        auto* b = place<QLineEdit>(form, name, left, top, width, 315);
        b->setText(QString::fromLatin1(text));
        setOutputBox(b);
        if (tip)
            b->setToolTip(QString::fromLatin1(tip));
        return b;
    };
    auto hexbox = [&](const char* name, double left, double top, int maxLength, const char* tip) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), left, top, 600, 315);
        b->setText(QStringLiteral("0"));
        b->setToolTip(QString::fromLatin1(tip));
        if (maxLength)
            b->setValidator(new CharLimit(maxLength, b));
        onKeyPress(b, [b](int key) {
            key = keyhex(key);
            if (key == 13) {
                b->setText(hexEnter(b->text()));
                return 0;
            }
            return key;
        });
        onFocusOut(b, [b] { b->setText(hexLeave(b->text())); });
        return b;
    };
    auto check = [&](const char* name, const char* caption, double left, double top, double width) {
        auto* c = place<QCheckBox>(form, QString::fromLatin1(name), left, top, width, 315);
        c->setText(QString::fromLatin1(caption));
        return c;
    };

    // LIS33 Raw.
    heading("Label_raw", "LIS33 Raw", 120, 120, 2000);
    button(0, "Ping LIS33 ID", 120, 420, 1800);
    output(QStringLiteral("pingresult"), "---", 2040, 450, 900, "This is the ID register, should be 0x32");
    button(1, "Enable LIS33", 120, 900, 1800);
    button(2, "X-axis", 120, 1380, 1800);
    output(QStringLiteral("xaxis"), "0", 2040, 1410, 900, "Raw X-Axis data from LIS33");
    button(3, "Y-axis", 120, 1860, 1800);
    output(QStringLiteral("yaxis"), "0", 2040, 1890, 900, "Raw Y-Axis data from LIS33");
    button(4, "Z-axis", 120, 2340, 1800);
    output(QStringLiteral("zaxis"), "0", 2040, 2370, 900, "Raw Z-Axis data from LIS33");
    button(5, "Read X,Y,Z", 120, 2820, 1800);

    // Register boxes.
    heading("Label_register", "Register", 120, 3360, 2000);
    hexbox("readaddr", 120, 3660, 2, "Hex address of register to read");
    output(QStringLiteral("readdata"), "0", 780, 3660, 600);
    button(11, "Read", 1440, 3630, 900);
    hexbox("writeaddr", 120, 4080, 2, "Hex address of register to write");
    hexbox("writedata", 780, 4080, 0, "Hex data to write to register");
    button(12, "Write", 1440, 4050, 900);

    // Main System Controller.
    heading("Label_main", "Main System Controller", 3240, 120, 3000);
    button(6, "Ping Unit", 3240, 420, 1500);
    output(QStringLiteral("comtest"), "---", 4860, 450, 1500, "This is the FW ID");
    heading("Label_sync", "Sync Detect", 3240, 945, 1100);
    button(7, "Enable", 4440, 900, 900);
    button(8, "Disable", 5400, 900, 960);
    heading("Label_accel", "Accel Reads", 3240, 1425, 1100);
    button(9, "Enable", 4440, 1380, 900);
    button(10, "Disable", 5400, 1380, 960);
    button(13, "Soft Reset", 3240, 1860, 1500);
    button(14, "", 4860, 1860, 1500);
    const char* rows[3] = {"positions", "offsets", "scaled_positions"};
    const int rowButtons[3] = {17, 18, 21};
    const char* rowCaptions[3] = {"Read offset adjusted positions", "Read all offsets",
                                  "Read interrupt scaled positions"};
    for (int r = 0; r < 3; ++r) {
        const double top = 2340 + r * 480;
        button(rowButtons[r], rowCaptions[r], 3240, top, 3120);
        for (int k = 0; k < 3; ++k)
            output(arrayName(QString::fromLatin1(rows[r]), k), "0", 6480 + k * 780, top + 30, 720);
    }
    u->auto1 = check("auto1", "Auto", 8880, 2370, 800);
    u->auto2 = check("auto2", "Auto2", 8880, 2850, 800);
    u->auto3 = check("auto3", "Auto", 8880, 3330, 800);
    button(19, "Re-Level", 3240, 3780, 1500);
    button(20, "Zero Offsets", 4860, 3780, 1500);

    // EEPROM Controller.
    heading("Label_eeprom", "EEPROM Controller", 6480, 120, 3000);
    u->eereadaddr = hexbox("eereadaddr", 6480, 450, 2, "Hex address of EEPROM to read");
    output(QStringLiteral("eereaddata"), "0", 7140, 450, 600);
    button(15, "Read", 7800, 420, 900);
    hexbox("eewriteaddr", 6480, 900, 2, "Hex address of EEPROM to write");
    hexbox("eewritedata", 7140, 900, 2, "Hex data to write to EEPROM");
    button(16, "Write", 7800, 870, 900);

    heading("Label_comport", "ComPort", 6480, 1425, 800);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 7320, 1380, 2280, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    // The logs.
    heading("Label_commands", "Commands", 120, 4560, 2000);
    heading("Label_responses", "Responses", 4920, 4560, 2000);
    u->dumplast = check("dumplast", "Dump Last", 8280, 4530, 1320);
    const QFont fixed = fixedFont();
    for (auto [log, name, left] : {std::tuple{&u->xcommand, "xcommand", 120.0}, std::tuple{&u->xresponse, "xresponse", 4920.0}}) {
        auto* t = place<NewestFirstLog>(form, QString::fromLatin1(name), left, 4860, 4680, 2400);
        t->setFont(fixed);
        onDoubleClick(t->viewport(), [this] {
            ui()->xcommand->clear();
            ui()->xresponse->clear();
        });
        *log = t;
    }

    u->Timer1 = new QTimer(form);
    u->Timer1->setObjectName(QStringLiteral("Timer1"));
    u->Timer1->setInterval(100);
    on(u->Timer1, &QTimer::timeout, [this] { Timer1_Timer(); });
    // The poll ticks only while it has something to send.
    for (QCheckBox* c : {u->auto1, u->auto2, u->auto3})
        on(c, &QCheckBox::toggled, [this] { pollWhenNeeded(); });
    on(&serial.rs232, &PortController::openChanged, [this] { pollWhenNeeded(); });
}

void Ctrl_9249_lis33accel::pollWhenNeeded()
{
    Ui* u = ui();
    if (!u)
        return;
    const bool work = serial.rs232.isOpen()
                      && (u->auto1->isChecked() || u->auto2->isChecked() || u->auto3->isChecked());
    if (!work)
        u->Timer1->stop();
    else if (!u->Timer1->isActive())
        u->Timer1->start();
}

void Ctrl_9249_lis33accel::onLoad()
{
    phase = 0;
    m_polling = false;
    m_pollQueued.clear();
    serial.load();
    initchars();
}

void Ctrl_9249_lis33accel::onUnload()
{
    serial.unload();
}

void Ctrl_9249_lis33accel::addLogLine(NewestFirstLog* log, const QString& line)
{
    if (ui()->dumplast->isChecked())
        log->setLine(line);
    else
        log->addLine(line);
}

void Ctrl_9249_lis33accel::comwrite(const QString& text, int wait)
{
    Ui* u = ui();
    if (u && serial.portopen)
        addLogLine(u->xcommand, commandLogLine(text));
    serial.comwrite(text, wait);
}

void Ctrl_9249_lis33accel::setBoxes(const QStringList& names, const QString& text)
{
    for (const QString& name : names)
        if (auto* b = form()->findChild<QLineEdit*>(name))
            b->setText(text);
}

void Ctrl_9249_lis33accel::Command1_Click(int index)
{
    Ui* u = ui();
    if (!u || index < 0 || index > 21)
        return;
    const auto texts = commands(index, u->eereadaddr->text());
    if (!texts) {
        alertbox(QStringLiteral("EEPROM address error"),
                 QStringLiteral("The EEPROM address must be two hexadecimal digits."), 0);
        return;
    }
    setBoxes(clears(index), QStringLiteral("---"));
    if (index == 0)
        setBackColor(form()->findChild<QLineEdit*>(QStringLiteral("pingresult")), colors::white);
    const int wait = texts->size() > 1 ? 4 : 10;
    for (const QString& t : *texts) {
        comwrite(t, wait);
        // A failed write or a closed window ends the sequence.
        if (!isLoaded() || !serial.portopen)
            break;
    }
}

void Ctrl_9249_lis33accel::Timer1_Timer()
{
    Ui* u = ui();
    if (!u || !serial.portopen)
        return;
    QCheckBox* enabled[3] = {u->auto1, u->auto3, u->auto2};
    const int step = phase;
    phase = (phase + 1) % 3;
    if (!enabled[step]->isChecked())
        return;
    static const char* cleared[3] = {"positions", "scaled_positions", "offsets"};
    const QString name = QString::fromLatin1(cleared[step]);
    setBoxes({arrayName(name, 0), arrayName(name, 1), arrayName(name, 2)}, QStringLiteral("---"));
    // A tick during the previous tick's pacing wait keeps its place in the
    // rotation but is sent when that wait ends, so waits never nest
    // without bound.
    if (m_polling) {
        m_pollQueued = pollCommand(step);
        return;
    }
    m_polling = true;
    QString next = pollCommand(step);
    while (!next.isEmpty() && isLoaded() && serial.portopen) {
        m_pollQueued.clear();
        comwrite(next, 10);
        next = m_pollQueued;
    }
    m_polling = false;
    m_pollQueued.clear();
}

void Ctrl_9249_lis33accel::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    addLogLine(u->xresponse, u'!' + frame + QStringLiteral("[cr]"));
    const Reply r = decodeReply(frame);
    for (const auto& [name, text] : r.texts)
        setBoxes({name}, text);
    if (!r.colorBox.isEmpty())
        setBackColor(form()->findChild<QLineEdit*>(r.colorBox), r.color);
}
