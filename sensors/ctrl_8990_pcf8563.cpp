#include "ctrl_8990_pcf8563.h"

#include "common/alert.h"
#include "common/clock.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/pacing.h"
#include "common/paths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>

struct Ctrl_8990_pcf8563::Ui : Controls {
    std::array<QPushButton*, 4> cmmd{};
    std::array<QPushButton*, 3> cmmd2{}; // indices 1 and 2
    std::array<QLineEdit*, 9> timestamp{};
    std::array<QLineEdit*, 2> countresult{};
    std::array<QLineEdit*, 2> errorppm{};
    QCheckBox* autocheck = nullptr;
    QCheckBox* logtofile = nullptr;
    QLineEdit* comdelay = nullptr;
    QLineEdit* scaler = nullptr;
    QLineEdit* trimvalue = nullptr;
    QComboBox* portselect = nullptr;
    QComboBox* portselect2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};

namespace {
const QString settings = QStringLiteral("115200,n,8,1");
const QString logName = QStringLiteral("9915.csv");
} // namespace

Ctrl_8990_pcf8563::Ctrl_8990_pcf8563()
    : ToolWindow(QStringLiteral("Ctrl_8990_pcf8563"), QSize(8400, 4260)),
      serial(*this, [] { return settings; }, [this](int what, const QString& text) { process(what, text); }),
      serial2(*this, [] { return settings; }, [this](int what, const QString& text) { process2(what, text); },
              QStringLiteral("Secondary "))
{
}

Ctrl_8990_pcf8563::Ui* Ctrl_8990_pcf8563::ui() const
{
    return controls<Ui>();
}

QString Ctrl_8990_pcf8563::logPath()
{
    return joinpath(worktemp(), logName);
}

void Ctrl_8990_pcf8563::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("RVM8990 RTC PCF8563 test utility"));
    auto* u = makeControls<Ui>();
    auto output = [&](const QString& name, const char* text, double left, double top, double width) {
        auto* b = place<QLineEdit>(form, name, left, top, width, 315);
        b->setText(QString::fromLatin1(text));
        setOutputBox(b);
        return b;
    };

    // The time row: Weekday, Months / Days / Years, Hours : Minutes : Seconds,
    // PC Sec, Delta-mS, each with its heading above.
    struct Cell {
        int index;
        const char* heading;
        double width;
        const char* after; // separator label after the box, or a gap
    };
    const Cell cells[] = {{3, "Weekday", 750, nullptr}, {1, "Months", 750, "/"}, {2, "Days", 750, "/"},
                          {0, "Years", 750, nullptr},   {4, "Hours", 750, ":"},  {5, "Minutes", 750, ":"},
                          {6, "Seconds", 750, nullptr}, {7, "PC Sec", 750, nullptr},
                          {8, "Delta-mS", 900, nullptr}};
    double x = 120;
    for (const Cell& c : cells) {
        auto* heading = placeLabel(form, QString::fromLatin1(c.heading), x, 120, c.width, 255,
                                   arrayName(QStringLiteral("Label_time"), c.index));
        heading->setAlignment(Qt::AlignHCenter);
        u->timestamp[std::size_t(c.index)] = output(arrayName(QStringLiteral("timestamp"), c.index), "", x, 405, c.width);
        u->timestamp[std::size_t(c.index)]->setAlignment(Qt::AlignHCenter);
        x += c.width;
        if (c.after) {
            auto* sep = placeLabel(form, QString::fromLatin1(c.after), x, 435, 150, 255,
                                   arrayName(QStringLiteral("Label_sep"), c.index));
            sep->setAlignment(Qt::AlignHCenter);
            x += 150;
        } else {
            x += 120;
        }
    }
    u->timestamp[8]->setToolTip(QStringLiteral(
        "Positive number means the RTC is leading the PC, a negative number means the RTC is lagging the PC"));

    const char* captions[4] = {"Read Time", "Sync Time", "1 Sec Clock On", "1 Sec Clock Off"};
    for (int i = 0; i < 4; ++i) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("cmmd"), i), 120 + i * 1920, 960, 1800, 375);
        b->setText(QString::fromLatin1(captions[i]));
        u->cmmd[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { cmmd_Click(i); });
    }

    u->autocheck = place<QCheckBox>(form, QStringLiteral("autocheck"), 120, 1560, 900, 315);
    u->autocheck->setText(QStringLiteral("Auto"));
    // Ticked or unticked, the next reading only sets the start of a
    // measurement: the seconds shown before are no change of the chip's.
    on(u->autocheck, &QCheckBox::toggled, [this] {
        m_meter.reset();
        scheduleTimers();
    });
    placeLabel(form, QStringLiteral("Delay"), 1200, 1590, 600, 255, QStringLiteral("Label_delay"));
    u->comdelay = place<QLineEdit>(form, QStringLiteral("comdelay"), 1800, 1560, 900, 315);
    u->comdelay->setText(QStringLiteral("0"));
    u->comdelay->setToolTip(QStringLiteral("Positive value lags PC / Negative value leads PC"));
    placeLabel(form, QStringLiteral("Sec"), 2760, 1590, 450, 255, QStringLiteral("Label_sec"));
    u->logtofile = place<QCheckBox>(form, QStringLiteral("logtofile"), 3960, 1560, 2100, 315);
    u->logtofile->setText(QStringLiteral("Log Delta to file"));

    // The crystal counter.
    const QString trimTip = QStringLiteral("Negative PPM gets bigger cap / Positive PPM gets smaller cap");
    placeLabel(form, QStringLiteral("Counts"), 2040, 2190, 1500, 255, QStringLiteral("Label_counts"));
    placeLabel(form, QStringLiteral("ErrPPM"), 3660, 2190, 1200, 255, QStringLiteral("Label_errppm"));
    placeLabel(form, QStringLiteral("Scale"), 5040, 2190, 1080, 255, QStringLiteral("Label_scale"));
    placeLabel(form, QStringLiteral("Trim Cap - pF"), 6300, 2190, 1500, 255, QStringLiteral("Label_trim"));
    const char* countCaptions[2] = {"Count 0pF", "Count 20pF"};
    for (int i = 1; i <= 2; ++i) {
        const double top = 2460 + (i - 1) * 480;
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("cmmd2"), i), 120, top, 1800, 375);
        b->setText(QString::fromLatin1(countCaptions[i - 1]));
        u->cmmd2[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { cmmd2_Click(i); });
        u->countresult[std::size_t(i - 1)] =
            output(arrayName(QStringLiteral("countresult"), i - 1), "0", 2040, top + 30, 1500);
        u->errorppm[std::size_t(i - 1)] = output(arrayName(QStringLiteral("errorppm"), i - 1), "0.00", 3660, top + 30, 1200);
    }
    u->scaler = place<QLineEdit>(form, QStringLiteral("scaler"), 5040, 2490, 1080, 315);
    u->scaler->setText(QStringLiteral("0.380"));
    u->scaler->setToolTip(trimTip);
    QLineEdit* scaler = u->scaler;
    onKeyPress(scaler, [scaler](int key) {
        key = keydecimal(key);
        if (key == 13) {
            scaler->setText(rtcclock::scaleText(scaler->text()));
            return 0;
        }
        return key;
    });
    onFocusOut(scaler, [scaler] { scaler->setText(rtcclock::scaleText(scaler->text())); });
    u->trimvalue = output(QStringLiteral("trimvalue"), "0.0", 6300, 2490, 1500);
    u->trimvalue->setToolTip(trimTip);

    // The ports.
    placeLabel(form, QStringLiteral("I2C Port"), 120, 3690, 900, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1080, 3660, 2280, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
    on(&serial.rs232, &PortController::openChanged, [this] { scheduleTimers(); });
    placeLabel(form, QStringLiteral("Counter Port"), 3720, 3690, 1200, 255, QStringLiteral("Label_port2"));
    u->portselect2 = place<QComboBox>(form, QStringLiteral("portselect2"), 4980, 3660, 2280, 315);
    u->portselect2->addItem(QStringLiteral("Select"));
    serial2.attach(u->portselect2);

    // The offset rests on timing: the poll and the measurement tick must
    // keep their periods, not the coarse timer's few percent. They run
    // only while they have work (scheduleTimers).
    auto timer = [&](const char* name, int ms) {
        auto* t = new QTimer(form);
        t->setObjectName(QString::fromLatin1(name));
        t->setTimerType(Qt::PreciseTimer);
        t->setInterval(ms);
        return t;
    };
    u->Timer1 = timer("Timer1", pollMs);
    on(u->Timer1, &QTimer::timeout, [this] { Timer1_Timer(); });
    u->Timer2 = timer("Timer2", measureMs);
    on(u->Timer2, &QTimer::timeout, [this] {
        Timer2_Timer();
        scheduleTimers();
    });
}

void Ctrl_8990_pcf8563::scheduleTimers()
{
    Ui* u = ui();
    if (!u)
        return;
    // The poll has work only while "Auto" asks for readings from an open
    // bridge port.
    // The port's own state: openChanged comes before the controller marks
    // the port open.
    const bool polling = u->autocheck->isChecked() && serial.rs232.isOpen();
    if (polling && !u->Timer1->isActive())
        u->Timer1->start(pollMs);
    else if (!polling)
        u->Timer1->stop();
    // While polling (or with a change captured) the measurement tick keeps
    // its period; otherwise all it does is show "PC Sec", which changes once
    // a second: wake just after the next change.
    int next = measureMs;
    if (!polling && !m_meter.pending())
        next = 1001 - currentClock().now().time().msec();
    if (!u->Timer2->isActive() || u->Timer2->interval() != next || next != measureMs)
        u->Timer2->start(next);
}

void Ctrl_8990_pcf8563::onLoad()
{
    serial.load();
    serial2.load();
    initchars();
    m_meter.reset();
    m_setting = false;
    countSlot = 0;
    // "PC Sec" shows at once, then follows the schedule.
    if (Ui* u = ui()) {
        u->Timer1->stop();
        u->Timer2->start(0);
    }
}

void Ctrl_8990_pcf8563::onUnload()
{
    serial.unload();
    serial2.unload();
}

void Ctrl_8990_pcf8563::command(const QString& name)
{
    if (!serial.portopen)
        return;
    const QString n = name.toLower();
    if (n == QLatin1String("timecheck"))
        serial.comwrite(rtcclock::timeCheckScript(), 0);
    else if (n == QLatin1String("clockon") || n == QLatin1String("clockoff"))
        serial.comwrite(rtcclock::clockOutScript(n == QLatin1String("clockon")), 0);
    else if (n == QLatin1String("timeset"))
        timeSet();
}

void Ctrl_8990_pcf8563::cmmd_Click(int index)
{
    Ui* u = ui();
    if (!u || index < 0 || index > 3)
        return;
    if (index <= 1)
        u->autocheck->setChecked(false);
    static const char* const names[4] = {"timecheck", "timeset", "clockon", "clockoff"};
    command(QString::fromLatin1(names[index]));
}

void Ctrl_8990_pcf8563::holdControls(bool held)
{
    Ui* u = ui();
    if (!u)
        return;
    // The counter's paced commands too: a handler waiting inside this wait
    // would hold the script back past its moment.
    for (QPushButton* b : {u->cmmd[0], u->cmmd[1], u->cmmd[2], u->cmmd[3], u->cmmd2[1], u->cmmd2[2]})
        b->setEnabled(!held);
    u->autocheck->setEnabled(!held);
}

void Ctrl_8990_pcf8563::timeSet()
{
    if (m_setting)
        return;
    auto refuse = [] {
        alertbox(QStringLiteral("Delay error"),
                 QStringLiteral("The delay must be a number of seconds, such as 0.5 or -1.5, "
                                "and small enough to add to the date and time."),
                 0);
    };
    const auto delaySeconds = rtcclock::parseDelay(ui()->comdelay->text());
    if (!delaySeconds) {
        refuse();
        return;
    }
    for (int i = 0; i <= 6; ++i)
        ui()->timestamp[std::size_t(i)]->setText(QStringLiteral("---"));
    m_meter.reset();
    delay(-1);
    if (!isLoaded() || waitAborted())
        return;

    const QDateTime written = rtcclock::timeToWrite(currentClock().now());
    const auto at = rtcclock::sendMoment(written, *delaySeconds);
    if (!at) {
        refuse();
        return;
    }
    const QString script = rtcclock::timeSetScript(written);

    // The wait compares date-times, so a target past midnight is reached
    // like any other; it serves the event loop, with the buttons held off.
    // A lost bridge ends it at once: there is nothing left to wait for.
    m_setting = true;
    holdControls(true);
    bool reached = false;
    for (;;) {
        const qint64 left = currentClock().now().msecsTo(*at);
        if (left <= 0) {
            reached = true;
            break;
        }
        if (!isLoaded() || waitAborted() || !serial.portopen)
            break;
        waitfor([&] { return !serial.portopen || currentClock().now() >= *at; }, int(std::min<qint64>(left, 1000)));
    }
    m_setting = false;
    if (!isLoaded())
        return;
    holdControls(false);
    if (!reached || !serial.portopen)
        return;
    serial.comwrite(script, 0);
    if (!serial.portopen)
        return;
    delay(100);
    if (!isLoaded() || waitAborted())
        return;
    ui()->autocheck->setChecked(true);
}

void Ctrl_8990_pcf8563::cmmd2_Click(int index)
{
    Ui* u = ui();
    if (!u || (index != 1 && index != 2))
        return;
    countSlot = index - 1;
    u->countresult[std::size_t(countSlot)]->setText(QStringLiteral("---"));
    u->errorppm[std::size_t(countSlot)]->setText(QStringLiteral("---"));
    const bool wasOpen = serial2.portopen != 0;
    serial2.comwrite(QStringLiteral("$002082") + cc.CR, 20);
    // A port lost on the first command (or a closed window) ends the count.
    if (!isLoaded() || waitAborted() || (wasOpen && !serial2.portopen))
        return;
    serial2.comwrite(QStringLiteral("$002001") + cc.CR, 10);
}

void Ctrl_8990_pcf8563::Timer1_Timer()
{
    Ui* u = ui();
    if (u && u->autocheck->isChecked() && serial.portopen)
        command(QStringLiteral("timecheck"));
}

void Ctrl_8990_pcf8563::Timer2_Timer()
{
    Ui* u = ui();
    if (!u)
        return;
    const QString pcSeconds = QString::number(currentClock().now().time().second());
    if (u->timestamp[7]->text() != pcSeconds)
        u->timestamp[7]->setText(pcSeconds);
    if (!u->autocheck->isChecked()) {
        m_meter.reset();
        return;
    }
    const auto offset = m_meter.tick();
    if (!offset)
        return;
    const QString delta = QString::number(*offset);
    u->timestamp[8]->setText(delta);
    if (!u->logtofile->isChecked())
        return;
    const QString path = logPath();
    if (m_log.append(path, QString(), rtcclock::logLine(currentClock().now(), delta)) == LogSequence::Failed)
        alertbox(QStringLiteral("Log file error"), QStringLiteral("Cannot write ") + path, 0);
}

void Ctrl_8990_pcf8563::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const auto chip = rtcclock::decodeReply(serial.nextReply());
    if (!chip)
        return;
    for (const int i : {6, 5, 4})
        u->timestamp[std::size_t(i)]->setText(chip->boxes[std::size_t(i)]);
    chipTime = chip->timeOfDay;
    if (chip->registersHex)
        m_meter.reading(*chip, timer());
    for (const int i : {3, 2, 1, 0})
        u->timestamp[std::size_t(i)]->setText(chip->boxes[std::size_t(i)]);
}

void Ctrl_8990_pcf8563::process2(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const auto count = rtcclock::parseCount(serial2.nextReply());
    if (!count)
        return;
    const std::size_t slot = std::size_t(countSlot);
    u->countresult[slot]->setText(QString::number(*count));
    u->errorppm[slot]->setText(rtcclock::errorPpmText(*count));
    if (slot == 1)
        u->trimvalue->setText(
            rtcclock::trimText(u->countresult[0]->text(), u->countresult[1]->text(), u->scaler->text()));
}
