#include "ctrl_8546_rs232sniffer.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/framer.h"
#include "common/numtext.h"
#include "common/scrollnotify.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <array>

namespace {
constexpr int SnifferBaud = 256000;
const int depths[] = {1024, 2048, 4096, 8192, 16384, 32768};

// Row of each buffdata box.
constexpr SnifferRows::Row boxRow[6] = {SnifferRows::AText, SnifferRows::BText, SnifferRows::AHigh,
                                        SnifferRows::ALow,  SnifferRows::BHigh, SnifferRows::BLow};

QString recordText(std::initializer_list<int> bytes, int times = 1)
{
    QString one;
    for (int b : bytes)
        one += QChar(b);
    return one.repeated(times);
}
} // namespace

struct Ctrl_8546_rs232sniffer::Ui : Controls {
    std::array<QLineEdit*, 6> buffdata{};
    QComboBox* portselect = nullptr;
    QComboBox* bdepth = nullptr;
    QScrollBar* bposition = nullptr;
    QLabel* showoffset = nullptr;
    QLabel* charcount = nullptr;
    QTimer* redrawTimer = nullptr;
};

Ctrl_8546_rs232sniffer::Ctrl_8546_rs232sniffer()
    : ToolWindow(QStringLiteral("Ctrl_8546_rs232sniffer"), QSize(15600, 4440)),
      serial(*this, [] { return numstr(SnifferBaud) + QStringLiteral(",n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
    serial.setAfterOpen([this] { afterOpen(); });
}

Ctrl_8546_rs232sniffer::Ui* Ctrl_8546_rs232sniffer::ui() const
{
    return controls<Ui>();
}

void Ctrl_8546_rs232sniffer::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("RS232 Rx/Tx Port Sniffer"));
    auto* u = makeControls<Ui>();

    placeLabel(form, QStringLiteral("ComPort"), 120, 165, 780, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 960, 120, 2280, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    placeLabel(form, QStringLiteral("Buffer depth"), 3480, 165, 1080, 255, QStringLiteral("Label_depth"));
    u->bdepth = place<QComboBox>(form, QStringLiteral("bdepth"), 4620, 120, 1200, 315);
    for (int d : depths)
        u->bdepth->addItem(QString::number(d), d);
    on(u->bdepth, &QComboBox::currentIndexChanged, [this] { depthChosen(); });
    onKeyPress(u->bdepth, [](int) { return 0; });

    placeLabel(form, QStringLiteral("Offset"), 6120, 165, 600, 255, QStringLiteral("Label_offset"));
    u->showoffset = placeLabel(form, QStringLiteral("1"), 6780, 165, 900, 255, QStringLiteral("showoffset"));
    placeLabel(form, QStringLiteral("Count"), 7800, 165, 600, 255, QStringLiteral("Label_count"));
    u->charcount = placeLabel(form, QStringLiteral("0"), 8460, 165, 900, 255, QStringLiteral("charcount"));

    // Top to bottom: A high, A low, A text, B text, B high, B low, so the
    // two text rows sit together.
    const QFont fixed = fixedFont(8.25);
    const int textWidth = QFontMetrics(fixed).horizontalAdvance(QString(SnifferRows::pageWidth, u'M'));
    const double boxWidth = (textWidth + 12) * 15.0;
    const int order[6] = {2, 3, 0, 1, 4, 5};
    const char* labels[6] = {"Hex", "", "Tx", "Rx", "Hex", ""};
    for (int k = 0; k < 6; ++k) {
        const double top = 600 + k * 330 + (k >= 2 ? 120 : 0) + (k >= 4 ? 120 : 0);
        if (*labels[k])
            placeLabel(form, QString::fromLatin1(labels[k]), 120, top + 30, 420, 255,
                       QStringLiteral("Label_row%1").arg(k));
        auto* box = place<QLineEdit>(form, arrayName(QStringLiteral("buffdata"), order[k]), 600, top, boxWidth, 315);
        box->setFont(fixed);
        box->setReadOnly(true);
        u->buffdata[size_t(order[k])] = box;
    }

    u->bposition = place<QScrollBar>(form, QStringLiteral("bposition"), 600, 2880, boxWidth, 255);
    u->bposition->setOrientation(Qt::Horizontal);
    u->bposition->setMinimum(1);
    u->bposition->setPageStep(SnifferRows::pageWidth);
    onScrollBar(*this, u->bposition, [this] { update(257, 257); }, [this] { update(257, 257); });

    const char* captions[7] = {"Clear Buffers", "ab", "[a]b", "a[b]", "[  ]b", "a[  ]", "a...a[   ] / [   ]b...b"};
    const double widths[7] = {1440, 840, 840, 840, 840, 840, 2520};
    double left = 600;
    for (int i = 0; i < 7; ++i) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("Command1"), i), left, 3360, widths[i], 375);
        b->setText(QString::fromLatin1(captions[i]));
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
        left += widths[i] + 120;
    }

    u->redrawTimer = new QTimer(form);
    u->redrawTimer->setSingleShot(true);
    u->redrawTimer->setInterval(redrawInterval);
    on(u->redrawTimer, &QTimer::timeout, [this] { redraw(); });
}

void Ctrl_8546_rs232sniffer::onLoad()
{
    initchars();
    serial.load();
    clearbuffer();
    ui()->bdepth->setCurrentIndex(0);
    depthChosen();
}

void Ctrl_8546_rs232sniffer::onUnload()
{
    serial.unload();
}

void Ctrl_8546_rs232sniffer::afterOpen()
{
    if (serial.rs232.speed() < SnifferBaud) {
        // A port that runs slower than the board would only show garbage.
        serial.noPort();
        return;
    }
    serial.rs232.setDtr(true);
}

void Ctrl_8546_rs232sniffer::process(int what, const QString&)
{
    if (what != 255)
        return;
    for (;;) {
        const QString record = bitframer(0x80, 2, serial.ReceiveBuffer);
        if (record.isEmpty())
            break;
        int a = 0, b = 0;
        if (snifferChannels(record, a, b))
            update(a, b);
    }
    // What lies before the next record start can never become part of one.
    QString& buffer = serial.ReceiveBuffer;
    qsizetype start = 0;
    while (start < buffer.size() && (buffer.at(start).unicode() & 0x80) == 0)
        ++start;
    if (start > 0)
        buffer.remove(0, start);
}

void Ctrl_8546_rs232sniffer::update(int valueA, int valueB)
{
    if (!isLoaded() || ui()->bdepth->currentIndex() < 0)
        return;
    if (valueA <= 256 || valueB <= 256) {
        rows.append(valueA, valueB);
        if (!ui()->redrawTimer->isActive())
            ui()->redrawTimer->start();
        return;
    }
    redraw();
}

void Ctrl_8546_rs232sniffer::redraw()
{
    if (!isLoaded())
        return;
    Ui* u = ui();
    u->redrawTimer->stop();
    const int p = u->bposition->value();
    u->showoffset->setText(QString::number(p));
    u->charcount->setText(QString::number(rows.count()));
    for (int i = 0; i < 6; ++i)
        u->buffdata[size_t(i)]->setText(rows.page(boxRow[i], p));
}

void Ctrl_8546_rs232sniffer::clearbuffer()
{
    rows.clear();
    if (!isLoaded())
        return;
    Ui* u = ui();
    u->redrawTimer->stop();
    u->bposition->setValue(1);
    for (QLineEdit* box : u->buffdata)
        box->clear();
    u->showoffset->setText(QStringLiteral("1"));
    u->charcount->setText(QStringLiteral("0"));
}

void Ctrl_8546_rs232sniffer::depthChosen()
{
    const int index = ui()->bdepth->currentIndex();
    if (index < 0)
        return;
    const int depth = ui()->bdepth->itemData(index).toInt();
    rows.setDepth(depth);
    ui()->bposition->setMaximum(depth - SnifferRows::pageWidth);
}

void Ctrl_8546_rs232sniffer::Command1_Click(int index)
{
    switch (index) {
    case 0: clearbuffer(); return;
    case 1: serial.comwrite(recordText({0x80, 'a', 'b'}), 0); return;
    case 2: serial.comwrite(recordText({0x84, 'a', 'b'}), 0); return;
    case 3: serial.comwrite(recordText({0x81, 'a', 'b'}), 0); return;
    case 4: serial.comwrite(recordText({0x88, 0x00, 'b'}), 0); return;
    case 5: serial.comwrite(recordText({0x82, 'a', 0x00}), 0); return;
    case 6: serial.comwrite(recordText({0x82, 'a', 0x00}, 10) + recordText({0x88, 0x00, 'b'}, 10), 0); return;
    default: return;
    }
}
