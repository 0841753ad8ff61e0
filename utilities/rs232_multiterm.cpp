#include "rs232_multiterm.h"
#include "termrules.h"
#include "termview.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/rs232_comportscanner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

struct RS232_multiterm::Ui : Controls {
    std::array<TermView*, 2> terminal{};
    std::array<QLineEdit*, 2> commandbox{};
    std::array<QPushButton*, 2> command{};
    std::array<QCheckBox*, 2> hexdisplay{};
    std::array<QComboBox*, 2> portselect{};
    std::array<QComboBox*, 2> baudrateselect{};
    QCheckBox* singleterm = nullptr;
};

namespace {
const QColor inactiveGrey(225, 225, 225);
}

RS232_multiterm::RS232_multiterm() : ToolWindow(QStringLiteral("RS232_multiterm"), QSize(12480, 6300)) {}

RS232_multiterm::Ui* RS232_multiterm::ui() const
{
    return controls<Ui>();
}

void RS232_multiterm::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Dual RS232 Terminal"));
    auto* u = makeControls<Ui>();
    const QFont fixed = fixedFont();
    const char* const rates[12] = {"19200", "300",   "600",   "1200",   "2400",   "4800",
                                   "9600",  "19200", "38400", "57600", "115200", "230400"};

    for (int k = 0; k < 2; ++k) {
        const std::size_t i = std::size_t(k);
        const double x = 120 + k * 6240;
        auto* t = place<TermView>(form, arrayName(QStringLiteral("terminal"), k), x, 120, 6000, 4560);
        t->setFont(fixed);
        t->setBuffer(&buffer[i]);
        u->terminal[i] = t;

        auto* c = place<QLineEdit>(form, arrayName(QStringLiteral("commandbox"), k), x, 4800, 4800, 315);
        c->setFont(fixed);
        u->commandbox[i] = c;
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("command"), k), x + 4920, 4770, 1080, 375);
        b->setText(QStringLiteral("Transmit"));
        u->command[i] = b;

        placeLabel(form, QStringLiteral("Com Port"), x, 5325, 900, 255, arrayName(QStringLiteral("Label_port"), k));
        auto* ps = place<QComboBox>(form, arrayName(QStringLiteral("portselect"), k), x + 960, 5280, 1920, 315);
        u->portselect[i] = ps;
        placeLabel(form, QStringLiteral("Baud Rate"), x + 3000, 5325, 900, 255,
                   arrayName(QStringLiteral("Label_baud"), k));
        auto* br = place<QComboBox>(form, arrayName(QStringLiteral("baudrateselect"), k), x + 3960, 5280, 1080, 315);
        for (const char* r : rates)
            br->addItem(QString::fromLatin1(r));
        u->baudrateselect[i] = br;
        auto* h = place<QCheckBox>(form, arrayName(QStringLiteral("hexdisplay"), k), x, 5760, 1500, 255);
        h->setText(QStringLiteral("Hexadecimal"));
        u->hexdisplay[i] = h;

        // Control keys (Ctrl+C is 3) go to the port like any other.
        onKeyPress(
            t,
            [this, k](int key) {
                process(k, 0, QString(QChar(char16_t(key))));
                return 0;
            },
            KeyPressScope::ControlKeysToo);
        onFocusIn(t, [this, k] { focusset(k); });
        onDoubleClick(t->viewport(), [this, k] { process(k, 254, QString()); });
        onFocusIn(c, [this, k] { focusset(k); });
        onKeyPress(c, [this, k](int key) {
            if (key != 13)
                return key;
            process(k, 3, QString());
            return 0;
        });
        on(b, &QPushButton::clicked, [this, k] {
            focusset(k);
            process(k, 3, QString());
        });
        // Only listed values can be chosen.
        onKeyPress(ps, [](int) { return 0; });
        onKeyPress(br, [](int) { return 0; });
        on(ps, &QComboBox::currentIndexChanged, [this, k] { process(k, 255, QString()); });
        on(&rs232[i], &PortController::dataArrived, [this, k] {
            const QString got = rs232[std::size_t(k)].read();
            if (!got.isEmpty())
                process(k, 1, got);
        });
        on(&rs232[i], &PortController::failed,
           [this, k](int number, const QString& description) { portFailed(k, number, description); });
    }
    // Beside terminal 2's "Hexadecimal", not over it.
    u->singleterm = place<QCheckBox>(form, QStringLiteral("singleterm"), 8040, 5760, 1800, 255);
    u->singleterm->setText(QStringLiteral("Single Terminal"));
    on(u->singleterm, &QCheckBox::toggled, [this] { singletermClick(); });
}

void RS232_multiterm::onLoad()
{
    initchars();
    // A fixed list: the ports this system could have, none opened or probed.
    const QStringList ports = portCandidates();
    for (std::size_t i = 0; i < 2; ++i) {
        rs232[i].close();
        portopen[i] = false;
        buffer[i].clear();
        QComboBox* ps = ui()->portselect[i];
        const QSignalBlocker quiet(ps);
        ps->clear();
        ps->addItem(QStringLiteral("Select"));
        ps->addItems(ports);
        ps->setCurrentIndex(0);
        ui()->baudrateselect[i]->setCurrentIndex(0);
    }
    update();
}

void RS232_multiterm::onUnload()
{
    for (std::size_t i = 0; i < 2; ++i) {
        rs232[i].close();
        portopen[i] = false;
    }
}

void RS232_multiterm::onActivate()
{
    ui()->terminal[0]->setFocus();
    focusset(0);
    update();
}

void RS232_multiterm::process(int index, int mode, const QString& data)
{
    if ((index != 0 && index != 1) || !isLoaded())
        return;
    Ui* u = ui();
    std::size_t i = std::size_t(index);
    switch (mode) {
    case 0: {
        if (!portopen[i] || data.isEmpty())
            return;
        const termrules::Piece piece = termrules::typedKey(data.at(0), u->hexdisplay[i]->isChecked());
        if (piece.sent.isEmpty())
            return;
        const qsizetype from = buffer[i].size();
        buffer[i] += piece.shown;
        shown(index, from);
        send(index, piece.sent);
        return;
    }
    case 1: {
        if (u->singleterm->isChecked())
            i = 1;
        const qsizetype from = buffer[i].size();
        termrules::appendReceived(buffer[i], data, u->hexdisplay[i]->isChecked());
        shown(int(i), from);
        return;
    }
    case 3: {
        if (!portopen[i])
            return;
        const QString line = u->commandbox[i]->text();
        if (line.isEmpty())
            return;
        const bool hex = u->hexdisplay[i]->isChecked();
        const QList<termrules::Piece> pieces = termrules::commandPieces(line, hex);
        if (pieces.isEmpty()) {
            if (hex)
                beep();
            return;
        }
        const qsizetype from = buffer[i].size();
        // One write per piece, as the far end may time each; the display is
        // refreshed once for the whole line.
        for (const termrules::Piece& p : pieces) {
            buffer[i] += p.shown;
            if (!send(index, p.sent))
                break;
        }
        if (isLoaded() && !aborted())
            shown(index, from);
        return;
    }
    case 254:
        buffer[i].clear();
        shown(index, 0);
        return;
    case 255:
        portinit(index);
        return;
    default:
        return;
    }
}

void RS232_multiterm::shown(int index, qsizetype from)
{
    TermView* t = ui()->terminal[std::size_t(index)];
    t->bufferChanged(from);
    t->setCaret(buffer[std::size_t(index)].size());
}

void RS232_multiterm::update()
{
    for (std::size_t i = 0; i < 2; ++i) {
        TermView* t = ui()->terminal[i];
        t->setBuffer(&buffer[i]);
        t->setCaret(buffer[i].size());
    }
}

bool RS232_multiterm::send(int index, const QString& bytes)
{
    const std::size_t i = std::size_t(index);
    if (!portopen[i])
        return false;
    try {
        rs232[i].write(bytes);
        return true;
    } catch (const VError& e) {
        portFailed(index, e.number(), e.description());
        return false;
    }
}

void RS232_multiterm::closePort(int index)
{
    const std::size_t i = std::size_t(index);
    rs232[i].close();
    portopen[i] = false;
    if (!isLoaded())
        return;
    Ui* u = ui();
    if (u->portselect[i]->currentIndex() != 0) {
        const QSignalBlocker quiet(u->portselect[i]);
        u->portselect[i]->setCurrentIndex(0);
    }
    u->baudrateselect[i]->setEnabled(true);
    if (index == 1)
        u->singleterm->setEnabled(true);
}

void RS232_multiterm::portinit(int index)
{
    Ui* u = ui();
    const std::size_t i = std::size_t(index);
    if (index == 1 && u->singleterm->isChecked())
        return;
    const int choice = u->portselect[i]->currentIndex();
    if (choice <= 0) {
        if (portopen[i])
            closePort(index);
        return;
    }
    try {
        rs232[i].close();
        portopen[i] = false;
        rs232[i].open(u->portselect[i]->itemText(choice), u->baudrateselect[i]->currentText() + QStringLiteral(",n,8,1"));
        rs232[i].setDtr(true);
        rs232[i].setRts(false);
        portopen[i] = true;
        u->baudrateselect[i]->setEnabled(false);
        if (index == 1)
            u->singleterm->setEnabled(false);
    } catch (const VError& e) {
        setHandledError(e);
        closePort(index);
        alertbox(QStringLiteral("Com port open error"), e.description(), 0);
    }
}

void RS232_multiterm::portFailed(int index, int number, const QString& description)
{
    if (!portopen[std::size_t(index)])
        return;
    setHandledError(VError(number, description));
    // Closed before the alert, so nothing more comes from this port while it
    // is up; the other terminal carries on.
    closePort(index);
    alertbox(QStringLiteral("Com port error"), QString(), 2);
}

void RS232_multiterm::focusset(int index)
{
    if ((index != 0 && index != 1) || !isLoaded())
        return;
    Ui* u = ui();
    for (std::size_t i = 0; i < 2; ++i) {
        const QColor c = int(i) == index ? colors::white : inactiveGrey;
        u->terminal[i]->setBackground(c);
        setBackColor(u->commandbox[i], c);
    }
    u->terminal[std::size_t(index)]->setCaret(buffer[std::size_t(index)].size());
}

void RS232_multiterm::singletermClick()
{
    Ui* u = ui();
    const bool single = u->singleterm->isChecked();
    u->portselect[1]->setEnabled(!single);
    u->baudrateselect[1]->setEnabled(!single && !portopen[1]);
    u->commandbox[1]->setEnabled(!single);
    // The receive pane is no tab stop; it still shows what port 1 receives.
    u->terminal[1]->setFocusPolicy(single ? Qt::ClickFocus : Qt::StrongFocus);
}
