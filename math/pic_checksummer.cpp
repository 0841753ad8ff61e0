#include "pic_checksummer.h"
#include "slicing.h"

#include "common/boxtext.h"
#include "common/busysign.h"
#include "common/controlchars.h"
#include "common/fields.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/paths.h"
#include "common/sha1.h"
#include "common/slicedtext.h"
#include "common/textlines.h"
#include "common/timeslice.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <array>

namespace {
// HEX files for these parts are a few hundred kilobytes at most; the cap
// keeps a wrong pick (a disc image) from exhausting memory.
constexpr qint64 kMaxHexBytes = 64 * 1024 * 1024;
} // namespace

struct PIC_checksummer::Ui : Controls {
    QComboBox* deviceselector = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* loadedfile = nullptr;
    QLineEdit* hashtext = nullptr;
    QPlainTextEdit* comment = nullptr;
    QPlainTextEdit* errorbox = nullptr;
    QPlainTextEdit* orphanlist = nullptr;
    std::array<QCheckBox*, 2> pmode{};
    std::array<QLineEdit*, 2> pcs{};
    QLineEdit* configdata = nullptr;
};

PIC_checksummer::PIC_checksummer() : ToolWindow(QStringLiteral("PIC_checksummer"), QSize(9000, 6600))
{
}

PIC_checksummer::Ui* PIC_checksummer::ui() const
{
    return controls<Ui>();
}

QString PIC_checksummer::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("voltaris_cs.ini"));
}

void PIC_checksummer::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("PIC Checksum Calculator"));
    auto* u = makeControls<Ui>();
    u->deviceselector = place<QComboBox>(form, QStringLiteral("deviceselector"), 120, 120, 1800, 315);
    u->deviceselector->addItem(QStringLiteral("PIC12F510"));
    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 2040, 90, 3000, 375);
    u->Command1->setText(QStringLiteral("Load and Process Hex File"));

    placeLabel(form, QStringLiteral("Loaded File"), 120, 600, 1200);
    u->loadedfile = place<QLineEdit>(form, QStringLiteral("loadedfile"), 1320, 570, 7560, 315);
    placeLabel(form, QStringLiteral("Hash"), 120, 990, 1200);
    u->hashtext = place<QLineEdit>(form, QStringLiteral("hashtext"), 1320, 960, 7560, 315);
    for (QLineEdit* b : {u->loadedfile, u->hashtext})
        b->setReadOnly(true);

    placeLabel(form, QStringLiteral("File Comments"), 120, 1400, 4300);
    u->comment = place<QPlainTextEdit>(form, QStringLiteral("comment"), 120, 1650, 4300, 1900);
    placeLabel(form, QStringLiteral("File Errors"), 4580, 1400, 4300);
    u->errorbox = place<QPlainTextEdit>(form, QStringLiteral("errorbox"), 4580, 1650, 4300, 1900);
    placeLabel(form, QStringLiteral("Orphan data"), 120, 3700, 4300);
    u->orphanlist = place<QPlainTextEdit>(form, QStringLiteral("orphanlist"), 120, 3950, 4300, 2500);
    for (QPlainTextEdit* b : {u->comment, u->errorbox, u->orphanlist}) {
        b->setReadOnly(true);
        b->setLineWrapMode(QPlainTextEdit::NoWrap);
    }

    placeLabel(form, QStringLiteral("CS   NP"), 4580, 3990, 900);
    u->pmode[0] = place<QCheckBox>(form, arrayName(QStringLiteral("pmode"), 0), 5520, 3990, 255, 255);
    u->pcs[0] = place<QLineEdit>(form, arrayName(QStringLiteral("pcs"), 0), 5880, 3960, 1200, 315);
    placeLabel(form, QStringLiteral("P"), 4580, 4440, 900);
    u->pmode[1] = place<QCheckBox>(form, arrayName(QStringLiteral("pmode"), 1), 5520, 4440, 255, 255);
    u->pcs[1] = place<QLineEdit>(form, arrayName(QStringLiteral("pcs"), 1), 5880, 4410, 1200, 315);
    placeLabel(form, QStringLiteral("Config"), 4580, 4890, 900);
    u->configdata = place<QLineEdit>(form, QStringLiteral("configdata"), 5880, 4860, 1200, 315);
    for (QLineEdit* b : {u->pcs[0], u->pcs[1], u->configdata})
        b->setReadOnly(true);
    // The ticks report the configuration word; they are not settings.
    for (QCheckBox* c : u->pmode) {
        c->setAttribute(Qt::WA_TransparentForMouseEvents);
        c->setFocusPolicy(Qt::NoFocus);
    }

    for (QFont f = uiFont(8.25); QWidget* w : form->findChildren<QWidget*>())
        w->setFont(f);

    on(u->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
}

void PIC_checksummer::onLoad()
{
    ui()->deviceselector->setCurrentIndex(0);
    initchars();
    m_settings = QStringList();
    filelines(QStringLiteral("load"), settingsPath(), m_settings);
    lastfolder = m_settings.value(1);
    if (!direxists(lastfolder))
        lastfolder = worktemp();
}

void PIC_checksummer::onUnload()
{
    while (m_settings.size() < 101)
        m_settings << QString();
    m_settings[1] = lastfolder;
    filelines(QStringLiteral("save"), settingsPath(), m_settings);
}

void PIC_checksummer::Command1_Click()
{
    // A press that the event loop delivers while a file is processed is
    // ignored: the running load owns the image and the boxes.
    if (m_running)
        return;
    const QString path = selectfile(QString(), QStringLiteral("*.hex"), lastfolder, QStringLiteral("Select file to process"));
    if (path.isEmpty() || aborted())
        return;
    process(path);
}

void PIC_checksummer::process(const QString& path)
{
    Ui* u = ui();
    if (!u || m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    lastfolder = pathpart(path, 3);
    for (QPlainTextEdit* b : {u->comment, u->errorbox, u->orphanlist})
        b->clear();
    for (QLineEdit* b : {u->pcs[0], u->pcs[1], u->configdata, u->hashtext})
        b->clear();
    for (QCheckBox* c : u->pmode)
        c->setChecked(false);
    u->loadedfile->setText(path);

    m_image.setupdevice(QStringLiteral("12F510"));
    m_image.erase();

    // Every step serves the event loop as it goes: the hash, the records
    // and the boxes. A window closed meanwhile is left alone.
    const BusySign busy(form());
    TimeSlicer slicer(workSliceMs());
    const QString unreadable = QStringLiteral("The file cannot be read: ") + path;
    // The hash covers every byte of the file, a byte-order mark included,
    // taken in the reader's first pass rather than by a read of its own.
    Sha1Stream hash;
    TextLineReader text(path, kMaxHexBytes);
    if (!text.prepare(slicer, [&hash](const QByteArray& block) { hash.add(block); }))
        return;
    if (text.status() == TextLines::Ok)
        u->hashtext->setText(hash.digest());
    QString line;
    bool any = false;
    while (text.next(line)) {
        any = true;
        m_image.processLine(line);
        if (!slicer.yield())
            return;
    }
    if (text.status() != TextLines::Ok) {
        u->errorbox->setPlainText(text.status() == TextLines::TooLarge ? toolargetext(path, kMaxHexBytes) : unreadable);
        return;
    }
    if (!any) {
        u->errorbox->setPlainText(QStringLiteral("The file is empty: ") + path);
        return;
    }

    if (!fillTextBox(u->comment, m_image.comment, slicer) || !fillTextBox(u->orphanlist, m_image.orphans, slicer))
        return;
    if (m_image.error) {
        fillTextBox(u->errorbox, m_image.errors, slicer);
        return;
    }
    u->errorbox->setPlainText(boxtext(hexSummary(m_image)));
    const DeviceChecksums cs = computechecksum(m_image, QStringLiteral("12F510"));
    u->pcs[0]->setText(QStringLiteral("0x") + hexpad(cs.unprotected, 4));
    u->pcs[1]->setText(QStringLiteral("0x") + hexpad(cs.codeProtected, 4));
    u->pmode[0]->setChecked(cs.notProtected);
    u->pmode[1]->setChecked(!cs.notProtected);
    u->configdata->setText(QStringLiteral("0x") + hexpad(cs.config, 2));
}
