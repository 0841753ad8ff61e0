#include "ctrl_9730_linearstage.h"
#include "linearstage.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/paths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>

using namespace linearstage;

struct Ctrl_9730_linearstage::Ui : Controls {
    std::array<QPushButton*, 8> Command1{};
    std::array<QLineEdit*, 3> position{};
    std::array<QLineEdit*, 2> speed{};
    QCheckBox* enableset = nullptr;
    QCheckBox* bounce = nullptr;
    QComboBox* portselect = nullptr;
};

Ctrl_9730_linearstage::Ctrl_9730_linearstage()
    : ToolWindow(QStringLiteral("Ctrl_9730_linearstage"), QSize(6360, 2700)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_9730_linearstage::Ui* Ctrl_9730_linearstage::ui() const
{
    return controls<Ui>();
}

QString Ctrl_9730_linearstage::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("voltaris.ini"));
}

void Ctrl_9730_linearstage::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Linear stage controller"));
    auto* u = makeControls<Ui>();
    auto button = [&](int i, const char* caption, double left, double top, double width) {
        auto* b = place<QPushButton>(form, arrayName("Command1", i), left, top, width, 375);
        b->setText(QString::fromLatin1(caption));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    };
    // Enter and leaving a box tidy its number; speed boxes are also held
    // to 100 %.
    auto numberBox = [&](const QString& name, double left, double top, bool isSpeed) {
        auto* b = place<QLineEdit>(form, name, left, top, 1080, 315);
        b->setText(isSpeed ? QStringLiteral("18") : QStringLiteral("0"));
        auto tidy = [b, isSpeed] { b->setText(isSpeed ? limitedSpeed(b->text()) : normalised(b->text())); };
        onKeyPress(b, [tidy](int key) {
            key = keydecimal(key);
            if (key == 13) {
                tidy();
                return 0;
            }
            return key;
        });
        onFocusOut(b, tidy);
        return b;
    };

    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 120, 120, 2160, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
    u->enableset = place<QCheckBox>(form, QStringLiteral("enableset"), 2520, 120, 1320, 315);
    u->enableset->setText(QStringLiteral("Enable Set"));
    u->bounce = place<QCheckBox>(form, QStringLiteral("bounce"), 4080, 120, 1200, 315);
    u->bounce->setText(QStringLiteral("Bounce"));

    button(0, "Current Position", 120, 600, 1680);
    u->position[0] = numberBox(arrayName("position", 0), 1920, 630, false);
    button(1, "Set Left", 120, 1080, 1680);
    u->position[1] = numberBox(arrayName("position", 1), 1920, 1110, false);
    button(2, "Set Right", 3120, 1080, 1680);
    u->position[2] = numberBox(arrayName("position", 2), 4920, 1110, false);

    button(5, "Left", 120, 1560, 1200);
    button(3, "Stop", 1440, 1560, 1200);
    button(4, "Right", 2760, 1560, 1200);
    button(6, "Go Left", 120, 2040, 1200);
    button(7, "Go Right", 2760, 2040, 1200);
    const char* tips[2] = {"Manual slew speed in percent", "Goto slew speed in percent"};
    for (int k = 0; k < 2; ++k) {
        const double top = 1590 + k * 480;
        placeLabel(form, QStringLiteral("Spd"), 4200, top + 30, 480);
        auto* b = numberBox(arrayName("speed", k), 4800, top, true);
        b->setToolTip(QString::fromLatin1(tips[k]));
        u->speed[std::size_t(k)] = b;
    }
}

void Ctrl_9730_linearstage::onLoad()
{
    Ui* u = ui();
    serial.load();
    initchars();
    movemode = 0;
    settings = QStringList(101);
    try {
        filelines(QStringLiteral("load"), settingsPath(), settings);
    } catch (const VError& e) {
        // An unreadable file is reported and left as it is: the boxes keep
        // their defaults and nothing is written over it at close.
        settings.clear();
        setHandledError(e);
        alertbox(caption(), QString(), 2);
        return;
    }
    for (int k = 0; k < 2; ++k) {
        if (const auto v = setPointFromLine(settings[k + 1]))
            u->position[std::size_t(k + 1)]->setText(*v);
        if (const auto v = speedFromLine(settings[k + 3]))
            u->speed[std::size_t(k)]->setText(*v);
    }
}

void Ctrl_9730_linearstage::onUnload()
{
    Ui* u = ui();
    serial.unload();
    if (settings.size() <= 100)
        return; // never loaded: nothing to write back
    settings[1] = settingLine(u->position[1]->text());
    settings[2] = settingLine(u->position[2]->text());
    settings[3] = settingLine(u->speed[0]->text());
    settings[4] = settingLine(u->speed[1]->text());
    filelines(QStringLiteral("save"), settingsPath(), settings);
}

bool Ctrl_9730_linearstage::comwrite(const QString& text, int wait)
{
    serial.comwrite(text, wait);
    return isLoaded() && !aborted() && serial.portopen;
}

void Ctrl_9730_linearstage::goTo(int box)
{
    Ui* u = ui();
    const auto target = setPoint(u->position[std::size_t(box)]->text());
    if (!target) {
        // A refused move also ends a bounce: the stage stays where it is.
        movemode = 0;
        u->bounce->setChecked(false);
        alertbox(QStringLiteral("Set point error"),
                 QStringLiteral("The %1 set point must lie between 0 and 65535; the stage was not moved.")
                     .arg(box == 1 ? QStringLiteral("left") : QStringLiteral("right")),
                 0);
        return;
    }
    movemode = box == 1 ? 6 : 7;
    comwrite(linearstage::goTo(*target, u->speed[1]->text()), 10);
}

void Ctrl_9730_linearstage::Command1_Click(int index)
{
    Ui* u = ui();
    if (!u)
        return;
    switch (index) {
    case 0:
        movemode = 0;
        u->position[0]->setText(QStringLiteral("---"));
        comwrite(positionCommand(), 10);
        break;
    case 1:
    case 2:
        if (!u->enableset->isChecked())
            return;
        movemode = index;
        comwrite(positionCommand(), 10);
        break;
    case 3:
        movemode = 0;
        if (!comwrite(stopCommand(), 20))
            return;
        ui()->position[0]->setText(QStringLiteral("---"));
        comwrite(positionCommand(), 10);
        break;
    case 4:
        movemode = 0;
        comwrite(jogRight(u->speed[0]->text()), 10);
        break;
    case 5:
        movemode = 0;
        comwrite(jogLeft(u->speed[0]->text()), 10);
        break;
    case 6:
        goTo(1);
        break;
    case 7:
        goTo(2);
        break;
    default:
        break;
    }
}

void Ctrl_9730_linearstage::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    form()->update();
    const Reply r = decodeReply(frame);
    if (r.kind == Reply::Position) {
        // While a move runs (6, 7) the position shows as the current one.
        const int box = movemode == 1 || movemode == 2 ? movemode : 0;
        u->position[std::size_t(box)]->setText(QString::number(r.position));
    } else if (r.kind == Reply::Arrival) {
        u->position[0]->setText(QString::number(r.position));
        if (!u->bounce->isChecked())
            return;
        if (movemode == 7)
            goTo(1);
        else if (movemode == 6)
            goTo(2);
    }
}
