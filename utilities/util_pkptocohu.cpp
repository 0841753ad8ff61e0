#include "util_pkptocohu.h"
#include "boardfile.h"

#include "common/alert.h"
#include "common/busysign.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/slicedtext.h"
#include "common/timeslice.h"
#include "common/settingline.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {
QPlainTextEdit* listBox(QWidget* form, const QString& name, double left, double top, double width, double height)
{
    auto* box = place<QPlainTextEdit>(form, name, left, top, width, height);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}
} // namespace

Util_pkptocohu::Util_pkptocohu() : ToolWindow(QStringLiteral("Util_pkptocohu"), QSize(12000, 8220))
{
}

QString Util_pkptocohu::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("c_pkp.ini"));
}

void Util_pkptocohu::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Proteus PKP to SMT file converter"));
    auto* ui = makeControls<Ui>();

    const char* commands[] = {"Read Proteus .PKP", "Merge Part# .CSV", "Output to .TXT"};
    for (int i = 0; i < 3; ++i) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("Command1"), i), 120 + i * 2160, 120, 2040, 375);
        b->setText(QString::fromLatin1(commands[i]));
        ui->Command1[size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    }
    const char* offsets[] = {"Offset X", "Offset Y"};
    for (int i = 0; i < 2; ++i) {
        const double left = 6840 + i * 2580;
        placeLabel(form, QString::fromLatin1(offsets[i]), left, 165, 1020, 255, arrayName(QStringLiteral("Label_offset"), i));
        auto* box = place<QLineEdit>(form, arrayName(QStringLiteral("offset"), i), left + 1080, 120, 1320, 345);
        box->setText(QStringLiteral("0"));
        ui->offset[size_t(i)] = box;
        onKeyPress(box, [this, i](int key) {
            if (key != 13)
                return key;
            offsetSettle(i);
            return 0;
        });
        onFocusOut(box, [this, i] { offsetSettle(i); });
    }

    placeLabel(form, QStringLiteral("Suppression Settings"), 120, 660, 2400, 255, QStringLiteral("Label_suppression"));
    struct Option {
        QCheckBox* Ui::*member;
        const char* name;
        const char* caption;
        double left;
        double width;
    };
    const Option options[] = {
        {&Ui::suppressjx, "suppressjx", "Jx", 120, 780},
        {&Ui::suppresspx, "suppresspx", "Px", 960, 780},
        {&Ui::suppressex, "suppressex", "Ex", 1800, 780},
        {&Ui::suppressdni, "suppressdni", "DNI Parts", 2640, 1500},
        {&Ui::suppresssymb, "suppresssymb", "Symb in Output", 4200, 2100},
    };
    for (const Option& o : options) {
        auto* box = place<QCheckBox>(form, QString::fromLatin1(o.name), o.left, 930, o.width, 285);
        box->setText(QString::fromLatin1(o.caption));
        box->setChecked(true);
        ui->*o.member = box;
        on(box, &QCheckBox::clicked, [this] { redraw(); });
    }

    ui->topdata = listBox(form, QStringLiteral("topdata"), 120, 1320, 5820, 4320);
    ui->botdata = listBox(form, QStringLiteral("botdata"), 6060, 1320, 5820, 4320);
    placeLabel(form, QStringLiteral("Orphan RefDes from .CSV"), 120, 5760, 3000, 255, QStringLiteral("Label_orphans"));
    placeLabel(form, QStringLiteral("These are CSV references without matching PKP entries (Such as duplicate BOM entries)"),
               120, 6030, 11760, 255, QStringLiteral("Label_orphannote"));
    ui->orphans = listBox(form, QStringLiteral("orphans"), 120, 6330, 11760, 1770);
}

void Util_pkptocohu::onLoad()
{
    // An empty file, or one naming a folder that is gone, gives the work
    // folder.
    m_lastdir = readSettingLine(settingsPath());
    if (m_lastdir.isEmpty() || !direxists(m_lastdir))
        m_lastdir = worktemp();
}

void Util_pkptocohu::onUnload()
{
    if (!writeSettingLine(settingsPath(), m_lastdir))
        alertbox(QStringLiteral("File error"), QStringLiteral("Cannot write ") + settingsPath(), 0);
}

void Util_pkptocohu::Command1_Click(int index)
{
    // Reading, converting and showing serve the event loop: a press that
    // arrives meanwhile is ignored, as the running one owns the tables.
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    const BusySign busy(form());
    switch (index) {
    case 0:
        if (getpkp())
            showdata(0);
        break;
    case 1:
        if (getparts())
            showdata(0);
        break;
    case 2:
        showdata(1);
        break;
    default:
        break;
    }
    // A run that stopped short of showing (a parts list that cannot be
    // read) still owes the options changed meanwhile.
    if (m_redraw && !aborted() && !quitting())
        showdata(0);
}

void Util_pkptocohu::offsetSettle(int index)
{
    auto* ui = controls<Ui>();
    QLineEdit* box = ui->offset[size_t(index)];
    box->setText(fmt(numval(box->text()), QStringLiteral("0")));
    redraw();
}

void Util_pkptocohu::redraw()
{
    // The run under way owns the boxes: a second one started inside it
    // would leave them to the first with its older options. The run shows
    // the lists again when it ends.
    if (m_running) {
        m_redraw = true;
        return;
    }
    const QScopedValueRollback<bool> running(m_running, true);
    showdata(0);
}

bool Util_pkptocohu::getpkp()
{
    auto* ui = controls<Ui>();
    ui->orphans->clear();
    ui->topdata->clear();
    ui->botdata->clear();
    const QString path =
        selectfile(QString(), QStringLiteral("*.pkp"), m_lastdir, QStringLiteral("Select Proteus Pick-and-Place file"));
    m_loaded = false;
    m_base.clear();
    if (path.isEmpty() || aborted())
        return !aborted();
    QStringList lines;
    TimeSlicer slicer;
    if (!readBoardFile(path, lines, slicer) || !controls<Ui>())
        return false; // unreadable, or the window was closed meanwhile
    // A block of lines at a time: the export's lines stand alone.
    PlacementSides sides;
    for (qsizetype at = 0; at < lines.size(); at += kLinesPerStep) {
        PlacementSides part = readPlacements(lines.mid(at, kLinesPerStep));
        for (auto [to, from] : {std::pair{&sides.top, &part.top}, std::pair{&sides.bottom, &part.bottom}})
            to->insert(to->end(), std::make_move_iterator(from->begin()), std::make_move_iterator(from->end()));
        if (!slicer.yield())
            return false;
    }
    m_lastdir = pathpart(path, 3);
    m_base = pathpart(path, 1);
    m_sides = std::move(sides);
    m_loaded = true;
    return true;
}

bool Util_pkptocohu::getparts()
{
    if (!m_loaded)
        return true;
    controls<Ui>()->orphans->clear();
    const QString path =
        selectfile(QString(), QStringLiteral("*.csv"), m_lastdir, QStringLiteral("Select .CSV file with Ref/Part# data"));
    if (path.isEmpty() || aborted())
        return !aborted();
    QStringList lines;
    TimeSlicer slicer;
    if (!readBoardFile(path, lines, slicer) || !controls<Ui>())
        return false;
    std::vector<PartsEntry> entries;
    for (qsizetype at = 0; at < lines.size(); at += kLinesPerStep) {
        std::vector<PartsEntry> part = readPartsList(lines.mid(at, kLinesPerStep));
        entries.insert(entries.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
        if (!slicer.yield())
            return false;
    }
    const std::vector<PartsEntry> orphans = mergePartNumbers(m_sides, entries, [&] { return slicer.yield(); });
    if (aborted() || quitting() || !controls<Ui>()) {
        m_loaded = false; // the placements may be part-merged: the board is read again
        return false;
    }
    return fillTextBox(controls<Ui>()->orphans, orphanLines(orphans).join(u'\n'), slicer);
}

void Util_pkptocohu::showdata(int mode)
{
    // Options changed while the lists were built are shown by building
    // them once more; the files keep the options they were asked with.
    const QScopedValueRollback<bool> running(m_running, true);
    do {
        m_redraw = false;
        if (!showonce(mode))
            return;
        mode = 0;
    } while (m_redraw);
}

bool Util_pkptocohu::showonce(int mode)
{
    auto* ui = controls<Ui>();
    if (!m_loaded || !ui)
        return false;
    ListOptions o;
    o.suppressJx = ui->suppressjx->isChecked();
    o.suppressPx = ui->suppresspx->isChecked();
    o.suppressEx = ui->suppressex->isChecked();
    o.suppressDni = ui->suppressdni->isChecked();
    o.offsetX = numval(ui->offset[0]->text());
    o.offsetY = numval(ui->offset[1]->text());
    const bool symbInFile = !ui->suppresssymb->isChecked();
    struct Side {
        const std::vector<Placement>& list;
        QString file, title1, title2;
        QPlainTextEdit* Ui::*box;
    };
    const Side sides[] = {
        {m_sides.top, m_base + QStringLiteral("_TOP.TXT"), QStringLiteral("TOP.XY"), topTitle(m_base), &Ui::topdata},
        {m_sides.bottom, m_base + QStringLiteral("_BOT.TXT"), QStringLiteral("BOTTOM.XY"), bottomTitle(m_base),
         &Ui::botdata},
    };
    TimeSlicer slicer;
    for (const Side& s : sides) {
        // The lines a placement at a time; the file's are built apart only
        // when they leave out the symbol column.
        const bool apart = mode == 1 && !symbInFile;
        QStringList shown = placementHeading(s.title1, s.title2, true);
        QStringList written = apart ? placementHeading(s.title1, s.title2, false) : QStringList();
        for (const Placement& p : s.list) {
            if (!suppressed(p, o)) {
                shown << placementLine(p, o, true);
                if (apart)
                    written << placementLine(p, o, false);
            }
            if (!slicer.yield())
                return false;
        }
        // A side whose file cannot be written still shows, and the other
        // side's file is still written.
        if (mode == 1) {
            writeBoardFile(joinpath(m_lastdir, s.file), apart ? written : shown, slicer);
            if (aborted() || quitting())
                return false;
        }
        ui = controls<Ui>(); // an alert may have outlived the form
        if (!ui)
            return false;
        if (!fillTextBox(ui->*s.box, shown.join(u'\n'), slicer))
            return false;
    }
    return true;
}
