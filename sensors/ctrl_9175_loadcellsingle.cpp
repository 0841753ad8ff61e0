#include "ctrl_9175_loadcellsingle.h"
#include "loadcellsingle.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

using namespace loadcellsingle;

struct Ctrl_9175_loadcellsingle::Ui : Controls {
    QLineEdit* rawadc = nullptr;
    QLineEdit* diffadc = nullptr;
    QLineEdit* zeroval = nullptr;
    QLineEdit* threshold = nullptr;
    QLineEdit* tdelay = nullptr;
    QLineEdit* fdelay = nullptr;
    QLineEdit* tripped = nullptr;
    std::array<QPushButton*, 12> Command1{};
    QComboBox* portselect = nullptr;
};

Ctrl_9175_loadcellsingle::Ctrl_9175_loadcellsingle()
    : ToolWindow(QStringLiteral("Ctrl_9175_loadcellsingle"), QSize(5520, 4080)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_9175_loadcellsingle::Ui* Ctrl_9175_loadcellsingle::ui() const
{
    return controls<Ui>();
}

void Ctrl_9175_loadcellsingle::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Load Cell Controller"));
    auto* u = makeControls<Ui>();
    const QString tip = QStringLiteral("Red - Zero failed / Green - Zero succeeded / Blue - Zero read / Gray - Data error");
    const QFont fixed = fixedFont();
    auto box = [&](const char* name, const char* text, double top, bool locked, bool tipped) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), 120, top, 1560, 345);
        b->setText(QString::fromLatin1(text));
        b->setFont(fixed);
        b->setAlignment(Qt::AlignCenter);
        if (locked)
            setOutputBox(b);
        if (tipped)
            b->setToolTip(tip);
        return b;
    };

    const char* captions[12] = {"Report Raw ADC", "Stop", "Report Diff ADC", "Stop", "Zero Load Cell", "Read",
                                "Set Threshold",  "Read", "Set Trip Delay",  "Read", "Set Flash Delay", "Read"};
    for (int row = 0; row < 6; ++row) {
        const double top = 120 + row * 480;
        for (int k = 0; k < 2; ++k) {
            const int i = row * 2 + k;
            auto* b = place<QPushButton>(form, arrayName("Command1", i), k == 0 ? 2400 : 4080, top, k == 0 ? 1560 : 1200,
                                         375);
            b->setText(QString::fromLatin1(captions[i]));
            u->Command1[std::size_t(i)] = b;
            on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
        }
    }
    u->rawadc = box("rawadc", "---", 135, true, false);
    u->diffadc = box("diffadc", "---", 615, true, false);
    u->zeroval = box("zeroval", "---", 1095, true, true);
    u->threshold = box("threshold", "3.0", 1575, false, true);
    placeLabel(form, QStringLiteral("Lbs"), 1740, 1620, 600, 255, QStringLiteral("Label_lbs"));
    u->tdelay = box("tdelay", "3.5", 2055, false, true);
    placeLabel(form, QStringLiteral("Secs"), 1740, 2100, 600, 255, QStringLiteral("Label_tsecs"));
    u->fdelay = box("fdelay", "2.0", 2535, false, true);
    placeLabel(form, QStringLiteral("Secs"), 1740, 2580, 600, 255, QStringLiteral("Label_fsecs"));

    placeLabel(form, QStringLiteral("Trip"), 1740, 3105, 600, 255, QStringLiteral("Label_trip"));
    u->tripped = box("tripped", "", 3060, true, true);
    setBackColor(u->tripped, colors::green);

    placeLabel(form, QStringLiteral("Port"), 2400, 3105, 600, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 3060, 3060, 2220, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    for (QLineEdit* b : {u->threshold, u->tdelay, u->fdelay}) {
        auto reformat = [b] { b->setText(reformatParameter(b->text())); };
        onKeyPress(b, [reformat](int key) {
            key = keydecimal(key);
            if (key == 13) {
                reformat();
                return 0;
            }
            return key;
        });
        onFocusOut(b, reformat);
    }
}

void Ctrl_9175_loadcellsingle::onLoad()
{
    serial.load();
    initchars();
}

void Ctrl_9175_loadcellsingle::onUnload()
{
    serial.unload();
}

void Ctrl_9175_loadcellsingle::Command1_Click(int index)
{
    Ui* u = ui();
    if (!u || index < 0 || index > 11)
        return;
    static const char* codes[12] = {"0010", "0011", "0012", "0013", "0020", "0021",
                                    "0030", "0031", "0032", "0033", "0034", "0035"};
    const QString code = QString::fromLatin1(codes[index]);
    QLineEdit* parameter = index == 6 ? u->threshold : index == 8 ? u->tdelay : index == 10 ? u->fdelay : nullptr;
    if (!parameter) {
        serial.comwrite(command(code), 10);
        return;
    }
    const QString clamped = clampParameter(parameter->text());
    if (clamped != parameter->text())
        parameter->setText(clamped);
    serial.comwrite(parameterCommand(code, clamped), 10);
}

void Ctrl_9175_loadcellsingle::process(int what, const QString&)
{
    if (what != 255)
        return;
    QWidget* f = form();
    if (!f)
        return;
    const Reply r = decodeReply(serial.nextReply());
    if (!r.box.isEmpty())
        if (auto* b = f->findChild<QLineEdit*>(r.box))
            b->setText(r.text);
    if (!r.colorBox.isEmpty())
        if (auto* b = f->findChild<QLineEdit*>(r.colorBox))
            setBackColor(b, r.color);
}
