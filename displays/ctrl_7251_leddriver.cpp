#include "ctrl_7251_leddriver.h"
#include "frontpanel.h"

#include "common/formbuilder.h"
#include "common/scrollnotify.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

#include <array>

struct Ctrl_7251_leddriver::Ui : Controls {
    std::array<QScrollBar*, 3> dutycycle{};
    std::array<QScrollBar*, 2> prescale{};
    std::array<QScrollBar*, 2> period{};
    std::array<QLineEdit*, 3> dcdisp{};
    std::array<QLineEdit*, 2> psdisp{};
    std::array<QLineEdit*, 2> pdisp{};
    QComboBox* portselect = nullptr;
};

Ctrl_7251_leddriver::Ctrl_7251_leddriver()
    : ToolWindow(QStringLiteral("Ctrl_7251_leddriver"), QSize(6000, 4440))
{
}

Ctrl_7251_leddriver::Ui* Ctrl_7251_leddriver::ui() const
{
    return controls<Ui>();
}

int Ctrl_7251_leddriver::dutyMax(int periodValue)
{
    const int max = 256 - periodValue;
    return max >= 256 ? 255 : max;
}

void Ctrl_7251_leddriver::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("7251B Dual Color LED controller"));
    auto* u = makeControls<Ui>();
    // One column: its label, the slider and the count box under it.
    auto slider = [&](const char* name, int index, double left, const char* caption, QLineEdit*& display,
                      const char* displayName, bool period) {
        placeLabel(form, QString::fromLatin1(caption), left, 420, 660,
                   255, arrayName(QStringLiteral("Label_") + QString::fromLatin1(name), index));
        auto* bar = place<QScrollBar>(form, arrayName(QString::fromLatin1(name), index), left + 180, 720, 300, 2400);
        bar->setOrientation(Qt::Vertical);
        bar->setRange(0, 255);
        display = place<QLineEdit>(form, arrayName(QString::fromLatin1(displayName), index), left, 3240, 660, 315);
        display->setText(QStringLiteral("0"));
        const auto moved = period ? std::function<void()>([this] {
            adjustdc();
            upddisp();
        })
                                  : std::function<void()>([this] { upddisp(); });
        onScrollBar(*this, bar, moved, moved);
        return bar;
    };
    placeLabel(form, QStringLiteral("DUTY CYCLE"), 240, 120, 2100, 255, QStringLiteral("Label_duty"));
    placeLabel(form, QStringLiteral("PRESCALER"), 2640, 120, 1380, 255, QStringLiteral("Label_prescale"));
    placeLabel(form, QStringLiteral("PERIOD"), 4320, 120, 1380, 255, QStringLiteral("Label_period"));
    const char* duty[3] = {"ALL", "RED", "GREEN"};
    for (int i = 0; i < 3; ++i)
        u->dutycycle[size_t(i)] = slider("dutycycle", i, 240 + i * 720, duty[i], u->dcdisp[size_t(i)], "dcdisp", false);
    const char* pair[2] = {"ALL", "R/G"};
    for (int i = 0; i < 2; ++i)
        u->prescale[size_t(i)] = slider("prescale", i, 2640 + i * 720, pair[i], u->psdisp[size_t(i)], "psdisp", false);
    for (int i = 0; i < 2; ++i)
        u->period[size_t(i)] = slider("period", i, 4320 + i * 720, pair[i], u->pdisp[size_t(i)], "pdisp", true);

    placeLabel(form, QStringLiteral("Port"), 240, 3885, 600);
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 840, 3840, 2040, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    onKeyPress(u->portselect, [](int) { return 0; });
}

void Ctrl_7251_leddriver::onLoad()
{
    Ui* u = ui();
    fillPortList(u->portselect);
    u->prescale[0]->setValue(254);
    u->prescale[1]->setValue(252);
    u->period[0]->setValue(0);
    u->period[1]->setValue(0);
    for (QScrollBar* bar : u->dutycycle)
        bar->setValue(bar->maximum());
    adjustdc();
    upddisp();
}

void Ctrl_7251_leddriver::adjustdc()
{
    Ui* u = ui();
    if (!u)
        return;
    u->dutycycle[0]->setMaximum(dutyMax(u->period[0]->value()));
    u->dutycycle[1]->setMaximum(dutyMax(u->period[1]->value()));
    u->dutycycle[2]->setMaximum(dutyMax(u->period[1]->value()));
}

void Ctrl_7251_leddriver::upddisp()
{
    Ui* u = ui();
    if (!u)
        return;
    for (int i = 0; i < 2; ++i) {
        u->psdisp[size_t(i)]->setText(QString::number(255 - u->prescale[size_t(i)]->value()));
        u->pdisp[size_t(i)]->setText(QString::number(255 - u->period[size_t(i)]->value()));
    }
    for (int i = 0; i < 3; ++i) {
        const QScrollBar* bar = u->dutycycle[size_t(i)];
        u->dcdisp[size_t(i)]->setText(QString::number(bar->maximum() - bar->value()));
    }
}
