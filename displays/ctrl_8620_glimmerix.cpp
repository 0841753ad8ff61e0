#include "ctrl_8620_glimmerix.h"

#include "common/alert.h"
#include "common/clock.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/logfile.h"
#include "common/owntext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/textlines.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <array>

using namespace glimmerix;

namespace {
const QString dumpCommand = QStringLiteral("$0011\r\n");

const char* const driverTips[12] = {
    "Q11, RC4, U1-6", "Q2, RB5, U1-12", "Q3, RA2, U1-17", "Q4, RC2, U1-14", "Q5, RC0, U1-16", "Q6, RC1, U1-15",
    "Q7, RC3, U1-7",  "Q8, RC6, U1-8",  "Q9, RC7, U1-9",  "Q10, RB7, U1-10", "Q1, RA4, U1-3 (P1-3)",
    "Q12, RC5, U1-5 (P1-4)",
};

QColor colorOf(Shade s)
{
    switch (s) {
    case Shade::Green:
        return colors::green;
    case Shade::Red:
        return colors::red;
    case Shade::White:
        break;
    }
    return colors::white;
}
} // namespace

struct Ctrl_8620_glimmerix::Ui : Controls {
    QComboBox* portselect = nullptr;
    std::array<QPushButton*, 6> Command1{};
    std::array<QLineEdit*, TestGrid::boxCount> xtest{};
    std::array<QLineEdit*, TestGrid::readingCount> mdata{};
    QPlainTextEdit* eeread = nullptr;
    QLineEdit* rvmblock = nullptr;
    QLineEdit* serialnumber = nullptr;
    QLineEdit* datestamp = nullptr;
    QComboBox* model = nullptr;
    QLineEdit* customer = nullptr;
    QLineEdit* rstat = nullptr;
};

Ctrl_8620_glimmerix::Ctrl_8620_glimmerix()
    : ToolWindow(QStringLiteral("Ctrl_8620_glimmerix"), QSize(8400, 7200)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
}

Ctrl_8620_glimmerix::Ui* Ctrl_8620_glimmerix::ui() const
{
    return controls<Ui>();
}

QString Ctrl_8620_glimmerix::recordPath()
{
    return joinpath(worktemp(), QStringLiteral("GlimmerixShipped.csv"));
}

QString Ctrl_8620_glimmerix::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("Glimmerix.cfg"));
}

void Ctrl_8620_glimmerix::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("RVM Glimmerix automated test and configurator"));
    auto* u = makeControls<Ui>();

    auto button = [&](int i, const char* caption, double left, double top, double width, double height) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("Command1"), i), left, top, width, height);
        b->setText(QString::fromLatin1(caption));
        u->Command1[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    };
    auto output = [](QWidget* parent, const QString& name, double left, double top, double width) {
        auto* b = place<QLineEdit>(parent, name, left, top, width, 315);
        b->setReadOnly(true);
        setBackColor(b, colors::white);
        return b;
    };
    auto group = [&](const char* caption, double left, double top, double width, double height) {
        auto* g = place<QGroupBox>(form, QStringLiteral("Frame_") + QString::fromLatin1(caption).remove(u' '), left,
                                   top, width, height);
        g->setTitle(QString::fromLatin1(caption));
        return g;
    };
    auto resultBox = [&](QWidget* parent, int i, double left, double top, const QString& tip = QString()) {
        auto* b = place<QLineEdit>(parent, arrayName(QStringLiteral("xtest"), i), left, top, 255, 285);
        b->setReadOnly(true);
        b->setAlignment(Qt::AlignCenter);
        b->setTextMargins(0, 0, 0, 0);
        setBackColor(b, colors::white);
        b->setToolTip(tip);
        u->xtest[std::size_t(i)] = b;
    };
    auto label = [](QWidget* parent, const QString& text, double left, double top, double width, const QString& name,
                    const QString& tip = QString()) {
        QLabel* l = placeLabel(parent, text, left, top, width, 255, name);
        l->setToolTip(tip);
        return l;
    };

    // The link and the two test commands.
    label(form, QStringLiteral("Port"), 120, 165, 420, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 600, 120, 2040, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
    // Writes sent on the port that was left can never be answered; an
    // answer on the port chosen now belongs to none of them.
    on(u->portselect, &QComboBox::currentIndexChanged, [this] { m_pending.clear(); });
    button(0, "Full Module Test", 2880, 90, 1680, 375);
    button(1, "EEPROM Dump", 4680, 90, 1440, 375);
    label(form, QStringLiteral("Result"), 6360, 165, 600, QStringLiteral("Label_result"));
    u->mdata[2] = output(form, arrayName(QStringLiteral("mdata"), 2), 7080, 120, 1080);

    // The grid.
    QGroupBox* g = group("FW Test", 120, 600, 2400, 660);
    resultBox(g, 0, 120, 285);
    u->mdata[0] = output(g, arrayName(QStringLiteral("mdata"), 0), 480, 270, 1800);

    const QString a2tip = QStringLiteral("P3-3, RA3, U1-4");
    g = group("A2 Pullup", 120, 1380, 2400, 660);
    g->setToolTip(a2tip);
    resultBox(g, 13, 120, 285, a2tip);
    u->mdata[1] = output(g, arrayName(QStringLiteral("mdata"), 1), 480, 270, 720);
    u->mdata[1]->setToolTip(a2tip);

    g = group("Anode Resistor", 120, 2160, 2400, 1140);
    resultBox(g, 33, 120, 300);
    const QString lowTip = QStringLiteral("1/4 Vdd, 64 counts optimal +/-7 counts");
    const QString highTip = QStringLiteral("3/4 Vdd, 192 counts optimal +/-7 counts");
    label(g, QStringLiteral("Low"), 480, 330, 540, QStringLiteral("Label_low"), lowTip);
    u->mdata[3] = output(g, arrayName(QStringLiteral("mdata"), 3), 1080, 300, 720);
    u->mdata[3]->setToolTip(lowTip);
    label(g, QStringLiteral("High"), 480, 750, 540, QStringLiteral("Label_high"), highTip);
    u->mdata[4] = output(g, arrayName(QStringLiteral("mdata"), 4), 1080, 720, 720);
    u->mdata[4]->setToolTip(highTip);

    g = group("Drivers", 2640, 600, 1560, 2700);
    for (int d = 0; d < 12; ++d) {
        const double left = 120 + (d / 6) * 720;
        const double top = 300 + (d % 6) * 390;
        const QString tip = QString::fromLatin1(driverTips[d]);
        label(g, QString::number(d), left, top + 15, 300, arrayName(QStringLiteral("Label_driver"), d), tip);
        resultBox(g, 1 + d, left + 330, top, tip);
    }

    // The address and mode boxes carry four-character codes: "0" and the
    // key for the digital addresses, "1" and the key for the others.
    const auto& steps = stepKeys();
    const char* captions[3] = {"Dig Addr", "Ana Addr", "Mstr Mode"};
    for (int s = 1; s < 4; ++s) {
        const StepKeys& k = steps[std::size_t(s)];
        g = group(captions[s - 1], 4320 + (s - 1) * 1320, 600, 1200, 2700);
        for (int i = 0; i < k.count; ++i) {
            const double top = 300 + i * 300;
            const QString code = (s == 1 ? QStringLiteral("0") : QStringLiteral("1")) + QLatin1String(k.keys[std::size_t(i)]);
            label(g, code, 120, top + 15, 540, QStringLiteral("Label_") + arrayName(QStringLiteral("xtest"), k.firstBox + i));
            resultBox(g, k.firstBox + i, 780, top);
        }
    }

    // The configuration block and the record.
    label(form, QStringLiteral("Serial #"), 120, 3465, 780, QStringLiteral("Label_serial"));
    u->serialnumber = place<QLineEdit>(form, QStringLiteral("serialnumber"), 960, 3420, 1200, 315);
    u->serialnumber->setText(QStringLiteral("00000000"));
    onKeyPress(u->serialnumber, [this](int key) {
        key = keyinteger(key);
        if (key == 13) {
            if (Ui* v = ui())
                setSerial(eightDigits(v->serialnumber->text()));
            return 0;
        }
        return key;
    });
    onFocusOut(u->serialnumber, [this] {
        if (Ui* v = ui())
            setSerial(eightDigits(v->serialnumber->text()));
    });
    button(3, "+", 2220, 3420, 375, 315);
    button(4, "-", 2640, 3420, 375, 315);
    label(form, QStringLiteral("Date"), 3180, 3465, 480, QStringLiteral("Label_date"));
    u->datestamp = place<QLineEdit>(form, QStringLiteral("datestamp"), 3720, 3420, 1200, 315);
    u->datestamp->setText(QStringLiteral("2008/01/01"));
    label(form, QStringLiteral("Model"), 5100, 3465, 600, QStringLiteral("Label_model"));
    u->model = place<QComboBox>(form, QStringLiteral("model"), 5760, 3420, 2400, 315);
    u->model->addItems({QStringLiteral("GX-100"), QStringLiteral("GX-200"), QStringLiteral("GX-400")});
    label(form, QStringLiteral("Customer"), 120, 3885, 780, QStringLiteral("Label_customer"));
    u->customer = place<QLineEdit>(form, QStringLiteral("customer"), 960, 3840, 3960, 315);
    button(2, "Write", 5100, 3810, 900, 375);
    button(5, "Write+", 6060, 3810, 900, 375);
    u->rstat = output(form, QStringLiteral("rstat"), 7080, 3840, 1080);

    // The dump and the block decoded from it.
    u->eeread = place<QPlainTextEdit>(form, QStringLiteral("eeread"), 120, 4320, 8040, 2280);
    u->eeread->setReadOnly(true);
    u->eeread->setLineWrapMode(QPlainTextEdit::NoWrap);
    u->eeread->setFont(fixedFont());
    u->rvmblock = place<QLineEdit>(form, QStringLiteral("rvmblock"), 120, 6720, 8040, 315);
    u->rvmblock->setReadOnly(true);
}

void Ctrl_8620_glimmerix::onLoad()
{
    m_grid = TestGrid{};
    serial.load();
    initchars();
    Ui* u = ui();
    u->datestamp->setText(datestampFor(today()));
    u->model->setCurrentIndex(0);
    m_pending.clear();
    loadSettings();
}

void Ctrl_8620_glimmerix::onUnload()
{
    saveSettings();
    serial.unload();
}

void Ctrl_8620_glimmerix::loadSettings()
{
    // An empty, garbled or binary file gives what digits its first line
    // holds; a missing one the design's 00000000.
    const TextLines file = readTextLines(settingsPath(), 64 * 1024);
    setSerial(settingsSerial(file.lines));
}

void Ctrl_8620_glimmerix::saveSettings()
{
    Ui* u = ui();
    if (!u)
        return;
    try {
        writefile(settingsPath(), encodeOwnText(eightDigits(u->serialnumber->text()) + QStringLiteral("\r\n")));
    } catch (const VError& e) {
        setHandledError(e);
        alertbox(QStringLiteral("Settings file error"), QString(), 2);
    }
}

void Ctrl_8620_glimmerix::setSerial(const QString& text)
{
    if (Ui* u = ui())
        if (u->serialnumber->text() != text)
            u->serialnumber->setText(text);
}

void Ctrl_8620_glimmerix::showGrid()
{
    Ui* u = ui();
    if (!u)
        return;
    auto show = [](QLineEdit* box, const Cell& c) {
        box->setText(c.text);
        setBackColor(box, colorOf(c.shade));
    };
    for (int i = 0; i < TestGrid::boxCount; ++i)
        show(u->xtest[std::size_t(i)], m_grid.xtest[std::size_t(i)]);
    for (int i = 0; i < TestGrid::readingCount; ++i)
        show(u->mdata[std::size_t(i)], m_grid.mdata[std::size_t(i)]);
}

void Ctrl_8620_glimmerix::Command1_Click(int index)
{
    switch (index) {
    case 0:
        fullTest();
        break;
    case 1:
        dump();
        break;
    case 2:
    case 5:
        write(index == 5);
        break;
    case 3:
    case 4: {
        Ui* u = ui();
        const QString text = u->serialnumber->text();
        if (const auto next = index == 3 ? nextSerial(text) : previousSerial(text))
            setSerial(*next);
        break;
    }
    default:
        break;
    }
}

void Ctrl_8620_glimmerix::fullTest()
{
    Ui* u = ui();
    u->eeread->clear();
    u->rvmblock->clear();
    m_grid.startTest();
    showGrid();
    // Let the cleared grid show before the board's answers pour in.
    delay(-1);
    if (!ui() || aborted())
        return;
    serial.comwrite(QStringLiteral("$0010\r\n"), 0);
}

void Ctrl_8620_glimmerix::dump()
{
    Ui* u = ui();
    u->eeread->clear();
    u->rvmblock->clear();
    serial.comwrite(dumpCommand, 0);
}

void Ctrl_8620_glimmerix::write(bool advance)
{
    Ui* u = ui();
    setSerial(eightDigits(u->serialnumber->text()));
    const auto command = writeCommand(blockText(u->datestamp->text(), u->serialnumber->text()));
    if (!command) {
        u->rstat->clear();
        setBackColor(u->rstat, colors::white);
        alertbox(QStringLiteral("Configuration block error"),
                 QStringLiteral("The date holds a character that cannot be written into the board. "
                                "Nothing was sent."),
                 0);
        return;
    }
    // The record is one byte per character; a customer it cannot hold is
    // refused before the board is written, so board and record agree.
    if (!singlebytefits(QStringLiteral("the shipped-boards record ") + recordPath(),
                        {{QStringLiteral("Customer"), u->customer->text()},
                         {QStringLiteral("Model"), u->model->currentText()}}))
        return;
    u->rstat->setText(QStringLiteral("Wait"));
    setBackColor(u->rstat, colors::white);
    PendingWrite sent{u->customer->text(), m_grid.mdata[0].text, u->model->currentText(), u->datestamp->text(),
                      u->serialnumber->text(), advance, currentClock().tickMs()};
    // With no wait after it, the answer cannot be handled before the write
    // joins the queue. Nothing went out without a port: no answer is due.
    serial.comwrite(*command, 0);
    if (ui() && serial.portopen != 0) {
        forgetUnanswered();
        m_pending.push_back(std::move(sent));
    }
}

void Ctrl_8620_glimmerix::forgetUnanswered()
{
    // Left in line, a write the board never answered would take the answer
    // to the next one, and that board would be recorded under its block.
    const qint64 now = currentClock().tickMs();
    while (!m_pending.empty() && now - m_pending.front().sentMs > answerWindowMs)
        m_pending.pop_front();
}

void Ctrl_8620_glimmerix::process(int what, const QString&)
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
    if (kind == QLatin1String("10")) {
        const bool passed = m_grid.apply(frame);
        showGrid();
        // A passing board's EEPROM is dumped at once.
        if (passed)
            serial.comwrite(dumpCommand, 0);
    } else if (kind == QLatin1String("11")) {
        const DumpLine line = decodeDump(frame);
        QTextCursor end(u->eeread->document());
        end.movePosition(QTextCursor::End);
        end.insertText(QString(line.listing).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        if (!line.block.isEmpty())
            u->rvmblock->setText(u->rvmblock->text() + line.block);
    } else if (kind == QLatin1String("12")) {
        writeAnswer(frame);
    }
}

void Ctrl_8620_glimmerix::writeAnswer(const QString& frame)
{
    Ui* u = ui();
    forgetUnanswered();
    // An answer to no write still waited for names no board: nothing is
    // recorded, advanced or dumped.
    if (m_pending.empty())
        return;
    const PendingWrite written = m_pending.front();
    m_pending.pop_front();
    // Only the answer to the last write outstanding tells what the board
    // holds now; until it comes the status stays "Wait".
    const bool last = m_pending.empty();
    const bool accepted = writeAccepted(frame);
    if (last) {
        u->rstat->setText(accepted ? QStringLiteral("OK") : QStringLiteral("?"));
        setBackColor(u->rstat, accepted ? colors::green : colors::red);
    }
    if (!accepted)
        return;
    if (last) {
        u->eeread->clear();
        u->rvmblock->clear();
    }
    recordBoard(written);
    if (!ui() || aborted())
        return;
    // A dump now would show a block a later write is about to replace.
    if (last) {
        serial.comwrite(dumpCommand, 0);
        if (!ui() || aborted())
            return;
    }
    const QString number = eightDigits(written.serial);
    if (!written.advance || number.toLongLong() == 0)
        return;
    if (const auto next = nextSerial(number)) {
        setSerial(*next);
        return;
    }
    // Wrapping round would hand the next board a number already shipped.
    alertbox(QStringLiteral("Serial number"),
             QStringLiteral("The last serial number, 99999999, has been reached. The serial number was not "
                            "advanced."),
             0);
}

void Ctrl_8620_glimmerix::recordBoard(const PendingWrite& written)
{
    const QString line =
        recordLine(written.customer, written.version, written.model, written.datestamp, written.serial);
    const QString path = recordPath();
    if (appendLog(path, recordHeader(), line))
        return;
    // The board holds its block already: the operator must be able to put
    // the line into the record by hand.
    alertbox(QStringLiteral("Shipped boards record error"),
             QStringLiteral("Cannot write the shipped-boards record ") + path
                 + QStringLiteral("\r\n\r\nThe board was written. Add this line to the record by hand:\r\n\r\n") + line,
             1);
}
