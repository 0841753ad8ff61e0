#include "util_netcruncher.h"
#include "boardfile.h"

#include "common/alert.h"
#include "common/busysign.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/slicedtext.h"
#include "common/timeslice.h"
#include "common/settingline.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
const QString loadPrompt = QStringLiteral("Load a netlist...");
}

Util_netcruncher::Util_netcruncher() : ToolWindow(QStringLiteral("Util_netcruncher"), QSize(9000, 6600))
{
}

QString Util_netcruncher::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("netcr.ini"));
}

void Util_netcruncher::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Netlist Statistics Extractor"));
    auto* ui = makeControls<Ui>();

    auto* go = place<QPushButton>(form, QStringLiteral("cmmd_0"), 120, 120, 2400, 375);
    go->setText(QStringLiteral("Process ARES SDF"));
    ui->cmmd[0] = go;
    on(go, &QPushButton::clicked, [this] { cmmd_Click(0); });
    ui->currdir = place<QLineEdit>(form, QStringLiteral("currdir"), 2640, 135, 6240, 345);
    ui->currdir->setText(worktemp());

    ui->asort = place<QCheckBox>(form, QStringLiteral("asort"), 120, 630, 1500, 285);
    ui->asort->setText(QStringLiteral("Alpha Sort"));
    ui->asort->setChecked(true);

    placeLabel(form, QStringLiteral("Net Count"), 1740, 660, 1080, 255, QStringLiteral("Label_netcount"));
    ui->netcount[0] = place<QLineEdit>(form, QStringLiteral("netspec_0"), 2880, 600, 1200, 345);
    placeLabel(form, QStringLiteral("Single Node Nets"), 4200, 660, 1680, 255, QStringLiteral("Label_singlenodes"));
    ui->netcount[1] = place<QLineEdit>(form, QStringLiteral("netspec_1"), 5940, 600, 1200, 345);

    placeLabel(form, QStringLiteral("Nets"), 120, 1140, 600, 255, QStringLiteral("Label_nets"));
    ui->netlister = place<QComboBox>(form, QStringLiteral("netlister"), 780, 1080, 3900, 345);
    ui->snnlist = place<QComboBox>(form, QStringLiteral("snnlist"), 4800, 1080, 4080, 345);
    for (QComboBox* list : {ui->netlister, ui->snnlist}) {
        list->setPlaceholderText(loadPrompt);
        // The lists are chosen from, never typed into.
        onKeyPress(list, [](int) { return 0; });
    }
    // A pick by the user and a selection made by the program alike; a
    // second run for the same pick shows the same lines again.
    on(ui->netlister, &QComboBox::currentIndexChanged, [this] { netlister_Click(); });
    on(ui->netlister, &QComboBox::activated, [this] { netlister_Click(); });
    on(ui->snnlist, &QComboBox::currentIndexChanged, [this] { snnlist_Click(); });
    on(ui->snnlist, &QComboBox::activated, [this] { snnlist_Click(); });

    for (int i = 0; i < 2; ++i) {
        auto* box = place<QPlainTextEdit>(form, arrayName(QStringLiteral("netspec"), i + 2), i == 0 ? 6240 : 120,
                                          1560, i == 0 ? 2640 : 6000, 4920);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        ui->netbox[size_t(i)] = box;
    }
}

void Util_netcruncher::onLoad()
{
    // An empty file, or one naming a folder that is gone, leaves the work
    // folder.
    const QString saved = readSettingLine(settingsPath());
    if (!saved.isEmpty() && direxists(saved))
        controls<Ui>()->currdir->setText(saved);
}

void Util_netcruncher::onUnload()
{
    if (!writeSettingLine(settingsPath(), controls<Ui>()->currdir->text()))
        alertbox(QStringLiteral("File error"), QStringLiteral("Cannot write ") + settingsPath(), 0);
}

void Util_netcruncher::cmmd_Click(int index)
{
    if (index == 0)
        process();
}

void Util_netcruncher::process()
{
    // Reading and listing serve the event loop: a press that arrives
    // meanwhile is ignored, as the running one owns the table.
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    const QString path = selectfile(QString(), QStringLiteral("*.TXT"), controls<Ui>()->currdir->text(),
                                    QStringLiteral("Select netlist to crunch"));
    if (path.isEmpty() || aborted())
        return;
    const BusySign busy(form());
    // A netlist that cannot be read leaves the last run's lists as they are.
    QStringList lines;
    TimeSlicer slicer;
    if (!readBoardFile(path, lines, slicer))
        return;
    auto* ui = controls<Ui>();
    if (!ui)
        return; // closed while the chooser was up
    for (QLineEdit* box : ui->netcount)
        box->clear();
    ++m_showSeq; // a net still being shown is of the old table
    for (QPlainTextEdit* box : ui->netbox)
        box->clear();
    m_nets.clear();
    ui->netlister->clear();
    ui->snnlist->clear();
    ui->currdir->setText(pathpart(path, 3));

    NetlistReader reader;
    for (const QString& line : std::as_const(lines)) {
        reader.add(line);
        if (!slicer.yield())
            return;
    }
    lines.clear();
    m_nets = reader.take();
    if (ui->asort->isChecked() && !sortNetlist(m_nets, [&slicer] { return slicer.yield(); }))
        return;
    ui->netcount[0]->setText(QString::number(m_nets.size()));

    QStringList all, single;
    all.reserve(qsizetype(m_nets.size()));
    for (const Net& n : m_nets) {
        if (n.count <= 1)
            single << n.name();
        all << n.name();
    }
    if (!single.isEmpty())
        ui->netcount[1]->setText(QString::number(single.size()));
    // The lists take their names a block at a time. Adding to an empty list
    // selects its first entry, as choosing it would; the lists' click
    // handling shows that net.
    for (auto [list, names] : {std::pair{ui->netlister, &all}, std::pair{ui->snnlist, &single}}) {
        for (qsizetype at = 0; at < names->size(); at += kNamesPerStep) {
            list->addItems(names->mid(at, kNamesPerStep));
            if (!slicer.yield())
                return;
        }
    }
    if (ui->snnlist->count() > 0 && ui->snnlist->currentIndex() != 0)
        ui->snnlist->setCurrentIndex(0);
    if (ui->netlister->count() > 0) {
        if (ui->netlister->currentIndex() != 0)
            ui->netlister->setCurrentIndex(0);
        else
            shownets(0);
    }
}

void Util_netcruncher::shownets(int index)
{
    auto* ui = controls<Ui>();
    if (!ui || index < 0 || size_t(index) >= m_nets.size())
        return;
    // The box fills while the event loop is served: a net picked meanwhile
    // (or a new table) ends this fill, so its rest never joins the next.
    const quint64 mine = ++m_showSeq;
    TimeSlicer slicer;
    fillTextBox(ui->netbox[1], m_nets[size_t(index)].nodes.join(u'\n'), slicer, [&, mine] { return m_showSeq != mine; });
}

void Util_netcruncher::netlister_Click()
{
    shownets(controls<Ui>()->netlister->currentIndex());
}

void Util_netcruncher::snnlist_Click()
{
    auto* ui = controls<Ui>();
    const QString name = ui->snnlist->currentText();
    if (name.isEmpty())
        return;
    const double shown = numval(ui->netcount[0]->text());
    const int last = int(std::min<double>(std::max(shown, 0.0), double(m_nets.size())));
    for (int i = 0; i < last; ++i) {
        if (m_nets[size_t(i)].name() != name)
            continue;
        if (ui->netlister->currentIndex() == i)
            shownets(i);
        else
            ui->netlister->setCurrentIndex(i);
        return;
    }
}
