#include "ctrl_7510_dualpot.h"
#include "frontpanel.h"

#include "common/formbuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSlider>

#include <array>

namespace {
// A switch: two options in a frame of their own.
using Switch = std::array<QRadioButton*, 2>;
} // namespace

struct Ctrl_7510_dualpot::Ui : Controls {
    std::array<QSlider*, 2> pot{};
    Switch mute0{}, mute1{}, zc0{}, zc1{}, apwr{}, ampen{};
    QComboBox* portselect = nullptr;
};

Ctrl_7510_dualpot::Ctrl_7510_dualpot()
    : ToolWindow(QStringLiteral("Ctrl_7510_dualpot"), QSize(6600, 5160))
{
}

Ctrl_7510_dualpot::Ui* Ctrl_7510_dualpot::ui() const
{
    return controls<Ui>();
}

void Ctrl_7510_dualpot::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("MAX5408 Dual pot driver (7510 platform)"));
    auto* u = makeControls<Ui>();
    auto frame = [&](QWidget* parent, const QString& name, const char* caption, double left, double top, double width,
                     double height) {
        auto* f = place<QGroupBox>(parent, name, left, top, width, height);
        f->setTitle(QString::fromLatin1(caption));
        return f;
    };
    // The two options keep each other's opposite, whichever is clicked.
    auto pair = [&](Switch& sw, const char* name, QWidget* parent, const char* caption, double left, double top,
                    const char* off, const char* on_) {
        QGroupBox* f = frame(parent, QStringLiteral("Frame_") + QString::fromLatin1(name), caption, left, top, 1800, 1080);
        const char* captions[2] = {off, on_};
        for (int i = 0; i < 2; ++i) {
            sw[size_t(i)] = place<QRadioButton>(f, arrayName(QString::fromLatin1(name), i), 120, 300 + i * 360, 1560, 255);
            sw[size_t(i)]->setText(QString::fromLatin1(captions[i]));
        }
        sw[0]->setChecked(true);
        for (QRadioButton* b : sw)
            on(b, &QRadioButton::clicked, [&sw] { sw[1]->setChecked(!sw[0]->isChecked()); });
    };

    const char* potFrames[2] = {"pot1", "pot2"};
    const char* potCaptions[2] = {"Pot - 0", "Pot - 1"};
    Switch* mutes[2] = {&u->mute0, &u->mute1};
    Switch* zcs[2] = {&u->zc0, &u->zc1};
    const char* muteNames[2] = {"mute0", "mute1"};
    const char* zcNames[2] = {"zc0", "zc1"};
    const char* muteOff[2] = {"Off", "Mute Off"};
    const char* muteOn[2] = {"On", "Mute On"};
    for (int i = 0; i < 2; ++i) {
        QGroupBox* f = frame(form, QString::fromLatin1(potFrames[i]), potCaptions[i], 120 + i * 3240, 120, 3120, 3000);
        auto* pot = place<QSlider>(f, arrayName(QStringLiteral("pot"), i), 240, 600, 375, 2160);
        pot->setOrientation(Qt::Vertical);
        pot->setRange(0, 31);
        u->pot[size_t(i)] = pot;
        placeLabel(f, QStringLiteral("Max"), 660, 600, 480, 255, arrayName(QStringLiteral("Label_max"), i));
        placeLabel(f, QStringLiteral("Min"), 660, 2505, 480, 255, arrayName(QStringLiteral("Label_min"), i));
        pair(*mutes[i], muteNames[i], f, "Mute", 1200, 360, muteOff[i], muteOn[i]);
        pair(*zcs[i], zcNames[i], f, "Zero Cross Det", 1200, 1680, "Off", "On");
    }
    pair(u->apwr, "apwr", form, "Analog Power", 120, 3240, "Up", "Down");
    pair(u->ampen, "ampen", form, "Audio Amp", 2040, 3240, "En", "Dis");

    placeLabel(form, QStringLiteral("Port"), 4200, 3540, 600);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 4200, 3810, 2040, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    onKeyPress(u->portselect, [](int) { return 0; });
}

void Ctrl_7510_dualpot::onLoad()
{
    Ui* u = ui();
    fillPortList(u->portselect);
    for (QSlider* pot : u->pot)
        pot->setValue(31);
}
