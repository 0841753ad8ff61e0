#include "pic_picpins.h"
#include "common/charlimit.h"

#include "common/alert.h"
#include "common/owntext.h"
#include "common/boxtext.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/paths.h"
#include "common/savefile.h"
#include "common/textlines.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <array>

namespace {
// Pin files are a few kilobytes; the cap keeps a wrong pick from
// exhausting memory.
constexpr qint64 kMaxPinFileBytes = 16 * 1024 * 1024;

const char* const kButtons[6] = {"Process", "Write", "Load Raw", "Save Raw", "Help/About", "Clear"};
const char* const kModes[3] = {"Fast", "Fixed", "Standard"};

QString helpText()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("PIC PINS [CCS PICC] 1.00.00") + crlf + crlf +
           QStringLiteral("This program generates C code blocks to define port pin names and setup statements for PICC "
                          "hardware") +
           crlf +
           QStringLiteral("targets.  [Direction],[Initial Data],[Name] and [Comments] are processed from the port forms. "
                          " I/O Mode") +
           crlf +
           QStringLiteral("statements for each port are also generated to be placed in the source header file.  "
                          "Resulting data may be") +
           crlf +
           QStringLiteral("writen to a text file or cut-pasted directly from the procesor window.  A dropdown device "
                          "list limits input") +
           crlf + QStringLiteral("to I/O available to a particular processor.") + crlf;
}

// The name and comment boxes, by the names the user knows them by.
QList<BoxText> pinBoxes(const PinTable& t)
{
    QList<BoxText> boxes;
    for (int k = 0; k < PinTable::pins; ++k) {
        const QString pin = QStringLiteral("Port %1, bit %2, ").arg(QChar(u'A' + k / 8)).arg(k % 8);
        boxes.push_back({pin + QStringLiteral("NAME"), t.entry[size_t(k)].name});
        boxes.push_back({pin + QStringLiteral("COMMENT"), t.entry[size_t(k)].comment});
    }
    return boxes;
}

void fileWriteAlert(const QString& path)
{
    alertbox(QStringLiteral("File Access Error"), QStringLiteral("The file could not be written: ") + path, 0);
}
} // namespace

struct PIC_picpins::Ui : Controls {
    QTabWidget* SSTab1 = nullptr;
    QLineEdit* hider = nullptr;
    std::array<QFrame*, 10> portf{};
    std::array<QLineEdit*, 80> port{};
    std::array<QLineEdit*, 80> dat{};
    std::array<QLineEdit*, 80> zname{};
    std::array<QLineEdit*, 80> desc{};
    std::array<QRadioButton*, 30> iomode{};
    std::array<QPushButton*, 6> command{};
    QPlainTextEdit* helpbox = nullptr;
    QComboBox* device = nullptr;
    QLineEdit* filenme = nullptr;
    QPlainTextEdit* result = nullptr;
};

PIC_picpins::PIC_picpins() : ToolWindow(QStringLiteral("PIC_picpins"), QSize(10350, 6900))
{
}

PIC_picpins::Ui* PIC_picpins::ui() const
{
    return controls<Ui>();
}

void PIC_picpins::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("PICC Pin setup"));
    auto* u = makeControls<Ui>();
    // Behind the tab control: takes the focus after a toggle click.
    u->hider = place<QLineEdit>(form, QStringLiteral("hider"), 60, 60, 300, 285);
    u->SSTab1 = place<QTabWidget>(form, QStringLiteral("SSTab1"), 0, 0, 10350, 6900);
    for (int p = 0; p < 10; ++p) {
        auto* page = new QWidget;
        page->setObjectName(arrayName(QStringLiteral("page"), p));
        buildPortPage(page, p);
        u->SSTab1->addTab(page, QStringLiteral("Port ") + QChar(u'A' + p));
    }
    auto* tools = new QWidget;
    tools->setObjectName(QStringLiteral("page_10"));
    buildToolsPage(tools);
    u->SSTab1->addTab(tools, QStringLiteral("Tools"));
    u->SSTab1->raise();

    const QFont f = uiFont(8.25);
    for (QWidget* w : form->findChildren<QWidget*>())
        w->setFont(f);
    const QFont fixed = fixedFont(8.25);
    u->result->setFont(fixed);

    for (int k = 0; k < PinTable::pins; ++k) {
        onMouseDown(u->port[size_t(k)], [this, k] { toggle(k, false); });
        onMouseDown(u->dat[size_t(k)], [this, k] { toggle(k, true); });
    }
    for (int i = 0; i < 6; ++i)
        on(u->command[size_t(i)], &QPushButton::clicked, [this, i] { command_Click(i); });
    on(u->device, &QComboBox::currentIndexChanged, [this] { selectdevice(QStringLiteral("apply")); });
    onMouseDown(u->helpbox->viewport(), [this] {
        if (Ui* u = ui())
            u->helpbox->hide();
    });
}

void PIC_picpins::buildPortPage(QWidget* page, int p)
{
    Ui* u = ui();
    auto* frame = place<QFrame>(page, arrayName(QStringLiteral("portf"), p), 120, 120, 10000, 5900);
    frame->setFrameShape(QFrame::StyledPanel);
    u->portf[size_t(p)] = frame;
    const struct {
        const char* text;
        double left, width;
    } heads[] = {{"DIR", 120, 480}, {"BIT", 660, 420}, {"DAT", 1080, 480},
                 {"NAME", 1620, 1800}, {"COMMENT", 3480, 4500}, {"I/O MODE", 8220, 1500}};
    for (const auto& h : heads)
        placeLabel(frame, QString::fromLatin1(h.text), h.left, 180, h.width);
    for (int b = 0; b < 8; ++b) {
        const int k = 8 * p + b;
        const double top = 540 + b * 450;
        auto* dir = place<QLineEdit>(frame, arrayName(QStringLiteral("port"), k), 120, top, 420, 315);
        placeLabel(frame, QString::number(b), 720, top + 30, 255);
        auto* dat = place<QLineEdit>(frame, arrayName(QStringLiteral("dat"), k), 1080, top, 420, 315);
        for (QLineEdit* box : {dir, dat}) {
            box->setReadOnly(true);
            box->setAlignment(Qt::AlignCenter);
            // A click toggles the box; it takes the focus only from the
            // keyboard.
            box->setFocusPolicy(Qt::TabFocus);
            box->setCursor(Qt::PointingHandCursor);
        }
        dir->setText(QStringLiteral("I"));
        dat->setText(QStringLiteral("0"));
        auto* name = place<QLineEdit>(frame, arrayName(QStringLiteral("zname"), k), 1620, top, 1800, 315);
        name->setValidator(new CharLimit(PinTable::nameLength, name));
        auto* desc = place<QLineEdit>(frame, arrayName(QStringLiteral("desc"), k), 3480, top, 4560, 315);
        u->port[size_t(k)] = dir;
        u->dat[size_t(k)] = dat;
        u->zname[size_t(k)] = name;
        u->desc[size_t(k)] = desc;
    }
    auto* group = new QButtonGroup(frame);
    for (int m = 0; m < 3; ++m) {
        auto* opt = place<QRadioButton>(frame, arrayName(QStringLiteral("iomode"), 3 * p + m), 8220, 540 + m * 400,
                                        1560, 315);
        opt->setText(QString::fromLatin1(kModes[m]));
        group->addButton(opt, m);
        u->iomode[size_t(3 * p + m)] = opt;
    }
    u->iomode[size_t(3 * p)]->setChecked(true);
}

void PIC_picpins::buildToolsPage(QWidget* page)
{
    Ui* u = ui();
    u->device = place<QComboBox>(page, QStringLiteral("device"), 120, 120, 2400, 315);
    u->filenme = place<QLineEdit>(page, QStringLiteral("filenme"), 2640, 120, 7440, 315);
    for (int i = 0; i < 6; ++i) {
        auto* b = place<QPushButton>(page, arrayName(QStringLiteral("command"), i), 120 + i * 1680, 600, 1560, 375);
        b->setText(QString::fromLatin1(kButtons[i]));
        u->command[size_t(i)] = b;
    }
    u->result = place<QPlainTextEdit>(page, QStringLiteral("result"), 120, 1140, 9960, 5100);
    u->result->setLineWrapMode(QPlainTextEdit::NoWrap);
    u->helpbox = place<QPlainTextEdit>(page, QStringLiteral("helpbox"), 120, 1140, 9960, 5100);
    u->helpbox->setReadOnly(true);
    u->helpbox->setLineWrapMode(QPlainTextEdit::NoWrap);
}

void PIC_picpins::onLoad()
{
    Ui* u = ui();
    initchars();
    u->helpbox->setPlainText(boxtext(helpText()));
    u->helpbox->hide();
    u->filenme->setText(joinpath(worktemp(), QStringLiteral("picpins")));
    selectdevice(QStringLiteral("load"));
    u->device->setCurrentIndex(0);
    selectdevice(QStringLiteral("apply"));
}

void PIC_picpins::selectdevice(const QString& which)
{
    Ui* u = ui();
    if (!u)
        return;
    if (which == u"load") {
        const QSignalBlocker quiet(u->device);
        u->device->clear();
        u->device->addItems(pinDevices());
        return;
    }
    const QString entry = u->device->currentText();
    for (int k = 0; k < PinTable::pins; ++k) {
        const bool on = devicePin(entry, k);
        for (QLineEdit* box : {u->port[size_t(k)], u->dat[size_t(k)], u->zname[size_t(k)], u->desc[size_t(k)]})
            box->setEnabled(on);
    }
    for (int p = 0; p < PinTable::ports; ++p)
        setMode(p, PinTable::Fast);
}

void PIC_picpins::setMode(int port, int mode)
{
    ui()->iomode[size_t(3 * port + mode)]->setChecked(true);
}

void PIC_picpins::toggle(int k, bool dataBox)
{
    Ui* u = ui();
    QLineEdit* box = dataBox ? u->dat[size_t(k)] : u->port[size_t(k)];
    if (!box->isEnabled())
        return;
    const QString t = box->text();
    if (dataBox && (t == u"0" || t == u"1"))
        box->setText(t == u"0" ? QStringLiteral("1") : QStringLiteral("0"));
    else if (!dataBox && (t == u"I" || t == u"O"))
        box->setText(t == u"I" ? QStringLiteral("O") : QStringLiteral("I"));
    box->deselect();
    u->hider->setFocus();
}

PinTable PIC_picpins::table() const
{
    PinTable t;
    Ui* u = ui();
    if (!u)
        return t;
    for (int k = 0; k < PinTable::pins; ++k) {
        PinEntry& e = t.entry[size_t(k)];
        e.direction = u->port[size_t(k)]->text();
        e.data = u->dat[size_t(k)]->text();
        e.name = u->zname[size_t(k)]->text();
        e.comment = u->desc[size_t(k)]->text();
        e.enabled = u->port[size_t(k)]->isEnabled();
    }
    for (int p = 0; p < PinTable::ports; ++p)
        for (int m = 0; m < 3; ++m)
            if (u->iomode[size_t(3 * p + m)]->isChecked())
                t.mode[size_t(p)] = m;
    return t;
}

void PIC_picpins::showTable(const PinTable& t)
{
    Ui* u = ui();
    for (int k = 0; k < PinTable::pins; ++k) {
        const PinEntry& e = t.entry[size_t(k)];
        u->port[size_t(k)]->setText(e.direction);
        u->dat[size_t(k)]->setText(e.data);
        u->zname[size_t(k)]->setText(e.name);
        u->desc[size_t(k)]->setText(e.comment);
    }
    for (int p = 0; p < PinTable::ports; ++p)
        setMode(p, t.mode[size_t(p)]);
}

bool PIC_picpins::writeFile(const QString& path, const QByteArray& bytes)
{
    if (savebytes(path, bytes))
        return true;
    fileWriteAlert(path);
    return false;
}

void PIC_picpins::writedata(const QString& mode)
{
    Ui* u = ui();
    if (!u)
        return;
    const bool toFile = mode.toLower() == u"tofile";
    const QString path = u->filenme->text() + QStringLiteral(".txt");
    if (toFile && fileexists(path) &&
        alertbox(QStringLiteral("File overwrite warning!"),
                 QStringLiteral("A file with this name (.TXT) already exists, do you want to overwrite?"), 0) != -1)
        return;
    const PinTable t = table();
    if (toFile && !owntextfits(path, pinBoxes(t)))
        return;
    const QString text = pinDefinitions(t);
    u->result->setPlainText(boxtext(text));
    if (toFile)
        writeFile(path, encodeOwnText(text + cc.CRLF));
}

void PIC_picpins::filesave()
{
    Ui* u = ui();
    if (!u)
        return;
    const QString path = u->filenme->text() + QStringLiteral(".pin");
    if (fileexists(path) &&
        alertbox(QStringLiteral("File overwrite warning!"),
                 QStringLiteral("A file with this name (.PIN) already exists, do you want to overwrite?"), 0) != -1)
        return;
    const PinTable t = table();
    if (!owntextfits(path, pinBoxes(t)))
        return;
    if (writeFile(path, pinFile(u->device->currentText(), t)))
        beep();
}

void PIC_picpins::fileload()
{
    Ui* u = ui();
    if (!u)
        return;
    const QString path = u->filenme->text() + QStringLiteral(".pin");
    if (!fileexists(path)) {
        alertbox(QStringLiteral("File Access Error"), QStringLiteral("The file selected does not exist, fix and re-try"),
                 0);
        return;
    }
    const TextLines file = readTextLines(path, kMaxPinFileBytes, TextLines::NoLines);
    if (!file.ok()) {
        alertbox(QStringLiteral("File Access Error"),
                 file.status == TextLines::TooLarge ? toolargetext(path, kMaxPinFileBytes)
                                                    : QStringLiteral("The file could not be read: ") + path,
                 0);
        return;
    }
    const PinFileData d = readPinFile(file.lines);
    const int found = u->device->findText(d.device, Qt::MatchExactly);
    if (found >= 0) {
        {
            const QSignalBlocker quiet(u->device);
            u->device->setCurrentIndex(found);
        }
        selectdevice(QStringLiteral("apply"));
    }
    showTable(d.table);
    beep();
    if (!d.complete)
        alertbox(QStringLiteral("File Access Error"),
                 QStringLiteral("The file was incomplete; missing entries have their defaults: ") + path, 0);
}

void PIC_picpins::clearall()
{
    Ui* u = ui();
    if (!u)
        return;
    if (alertbox(QStringLiteral("Data loss warning!"), QStringLiteral("Are you sure you want to clear the workspace?"),
                 0) != -1)
        return;
    u->result->clear();
    showTable(PinTable());
}

void PIC_picpins::command_Click(int index)
{
    Ui* u = ui();
    switch (index) {
    case 0:
        writedata(QStringLiteral("none"));
        break;
    case 1:
        writedata(QStringLiteral("tofile"));
        break;
    case 2:
        fileload();
        break;
    case 3:
        filesave();
        break;
    case 4:
        u->helpbox->show();
        u->helpbox->raise();
        u->hider->setFocus();
        break;
    case 5:
        clearall();
        break;
    default:
        break;
    }
}
