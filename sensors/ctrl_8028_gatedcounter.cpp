#include "ctrl_8028_gatedcounter.h"
#include "gatedcounter.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <array>

using namespace gatedcounter;

namespace {

// The board's 9-pin connector seen from its face: pins 1 to 5 in the lower
// row and 6 to 9 in the upper row, each row numbered from right to left.
class ConnectorDiagram : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        static const char* const signal[10] = {"", "X", "G", "G", "Z", "Mon", "G", "Y", "G", "G"};
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        const double w = width(), h = height();
        const double pitch = w / 7.0;
        const double r = std::min(pitch * 0.22, h * 0.07);
        const double upperY = h * 0.40, lowerY = h * 0.62;
        // The shell: a trapezoid, wider at the upper row.
        QPolygonF shell{{w * 0.5 - 2.9 * pitch, h * 0.26},
                        {w * 0.5 + 2.9 * pitch, h * 0.26},
                        {w * 0.5 + 2.4 * pitch, h * 0.76},
                        {w * 0.5 - 2.4 * pitch, h * 0.76}};
        p.setPen(QPen(Qt::black, 1.5));
        p.drawPolygon(shell);
        QFont f = font();
        p.setFont(f);
        auto pin = [&](int number, double x, double y, bool upper) {
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(x, y), r, r);
            p.setBrush(Qt::NoBrush);
            const QRectF numberBox(x - pitch / 2, upper ? y + r : y - r - 16, pitch, 16);
            const QRectF nameBox(x - pitch / 2, upper ? h * 0.05 : h * 0.80, pitch, 18);
            p.drawText(numberBox, Qt::AlignCenter, QString::number(number));
            p.drawText(nameBox, Qt::AlignCenter, QString::fromLatin1(signal[number]));
            p.drawLine(QPointF(x, upper ? nameBox.bottom() : nameBox.top()), QPointF(x, upper ? y - r : y + r));
        };
        for (int k = 0; k < 5; ++k) // pin 1 on the right
            pin(1 + k, w * 0.5 + (2 - k) * pitch, lowerY, false);
        for (int k = 0; k < 4; ++k) // pin 6 on the right
            pin(6 + k, w * 0.5 + (1.5 - k) * pitch, upperY, true);
    }
};

} // namespace

struct Ctrl_8028_gatedcounter::Ui : Controls {
    std::array<QComboBox*, 3> cconfig{};
    std::array<QLineEdit*, 3> cdata{};
    std::array<QPushButton*, 8> Command1{};
    QGroupBox* Frame1 = nullptr;
    QComboBox* portselect = nullptr;
};

Ctrl_8028_gatedcounter::Ctrl_8028_gatedcounter()
    : ToolWindow(QStringLiteral("Ctrl_8028_gatedcounter"), QSize(8520, 3720)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
    // A pseudo-terminal has no DTR; the port control ignores that.
    serial.setAfterOpen([this] { serial.rs232.setDtr(true); });
}

Ctrl_8028_gatedcounter::Ui* Ctrl_8028_gatedcounter::ui() const
{
    return controls<Ui>();
}

void Ctrl_8028_gatedcounter::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("8028 Gated counter controller"));
    auto* u = makeControls<Ui>();

    placeLabel(form, QStringLiteral("Com Port"), 120, 165, 900, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1080, 120, 1800, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    const QFont fixed = fixedFont(9.75);
    const char* names[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        const double top = 600 + i * 390;
        placeLabel(form, QString::fromLatin1(names[i]), 120, top + 45, 300, 255, arrayName("Label_config", i));
        auto* c = place<QComboBox>(form, arrayName("cconfig", i), 420, top, 2760, 315);
        c->addItems({"Active High 20MHz gate", "Active Low 20MHz gate", "Count Low-to-High edges",
                     "Count High-to-Low edges"});
        onKeyPress(c, [](int) { return 0; });
        u->cconfig[std::size_t(i)] = c;
        placeLabel(form, QString::fromLatin1(names[i]), 3360, top + 45, 300, 255, arrayName("Label_data", i));
        auto* d = place<QLineEdit>(form, arrayName("cdata", i), 3660, top, 1800, 315);
        d->setText(QStringLiteral("---"));
        d->setFont(fixed);
        setOutputBox(d, colors::white);
        u->cdata[std::size_t(i)] = d;
    }
    // Connected after every list is filled, so filling them sends nothing.
    // A choice made by code runs the list's click handling as a user's does.
    for (int i = 0; i < 3; ++i)
        on(u->cconfig[std::size_t(i)], &QComboBox::currentIndexChanged, [this, i] { cconfig_Click(i); });

    const char* captions[8] = {"Auto Display Update On", "Auto Display Update Off", "Clear Counters",
                               "Start Counters", "Stop Counters", "Read Counters", "Configure Counters",
                               "Connection"};
    for (int i = 0; i < 8; ++i) {
        auto* b = place<QPushButton>(form, arrayName("Command1", i), 5760, 120 + i * 435, 2640, 375);
        b->setText(QString::fromLatin1(captions[i]));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    }

    u->Frame1 = place<QGroupBox>(form, QStringLiteral("Frame1"), 120, 1800, 5520, 1800);
    u->Frame1->setTitle(QStringLiteral("Connection Diagram"));
    auto* diagram = new ConnectorDiagram(u->Frame1);
    diagram->setObjectName(QStringLiteral("Frame1_diagram"));
    diagram->setGeometry(twips(120), twips(300), twips(5280), twips(1380));
    u->Frame1->hide();
    onMouseDown(u->Frame1, [this] { ui()->Frame1->hide(); });
    onMouseDown(diagram, [this] { ui()->Frame1->hide(); });
}

void Ctrl_8028_gatedcounter::onLoad()
{
    loading = -1;
    serial.load();
    initchars();
    for (QComboBox* c : ui()->cconfig)
        c->setCurrentIndex(0);
    loading = 0;
}

void Ctrl_8028_gatedcounter::onUnload()
{
    serial.unload();
}

void Ctrl_8028_gatedcounter::cconfig_Click(int)
{
    if (!loading && ui())
        sendConfig();
}

void Ctrl_8028_gatedcounter::sendConfig()
{
    Ui* u = ui();
    serial.comwrite(configCommand(u->cconfig[0]->currentIndex(), u->cconfig[1]->currentIndex(),
                                  u->cconfig[2]->currentIndex()),
                    0);
}

void Ctrl_8028_gatedcounter::Command1_Click(int index)
{
    Ui* u = ui();
    if (!u)
        return;
    switch (index) {
    case Clear:
        for (QLineEdit* d : u->cdata)
            d->setText(QStringLiteral("00000000000"));
        serial.comwrite(buttonCommand(index), 0);
        break;
    case Configure:
        sendConfig();
        break;
    case Connection:
        // The frame's own state: the window itself may be minimised.
        u->Frame1->setHidden(!u->Frame1->isHidden());
        u->Frame1->raise();
        break;
    default:
        serial.comwrite(buttonCommand(index), 0);
        break;
    }
}

void Ctrl_8028_gatedcounter::process(int what, const QString&)
{
    if (what != 255 || !ui())
        return;
    const auto counts = parseCounts(serial.nextReply());
    if (!counts)
        return;
    for (int i = 0; i < 3; ++i)
        ui()->cdata[std::size_t(i)]->setText((*counts)[std::size_t(i)]);
}
