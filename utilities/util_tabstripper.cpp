#include "util_tabstripper.h"
#include "tabstrip.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/textlines.h"
#include "common/timeslice.h"
#include "common/verror.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <array>

struct Util_tabstripper::Ui : Controls {
    std::array<QPushButton*, 2> Command1{};
    QPushButton* Command2 = nullptr;
    QLineEdit* lastfile = nullptr;
    QLineEdit* tabsize = nullptr;
    QLineEdit* rlines = nullptr;
    QLineEdit* sysstatus = nullptr;
    QPlainTextEdit* processedfile = nullptr;
    QCheckBox* savewhendone = nullptr;
    QCheckBox* savebackup = nullptr;
};

Util_tabstripper::Util_tabstripper() : ToolWindow(QStringLiteral("Util_tabstripper"), QSize(9600, 7200)) {}

QString Util_tabstripper::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("voltaris_ts.ini"));
}

QString Util_tabstripper::backupPath(const QString& path)
{
    return path + QStringLiteral("bak");
}

Util_tabstripper::Ui* Util_tabstripper::ui() const
{
    return controls<Ui>();
}

void Util_tabstripper::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Tab to space converter"));
    auto* u = makeControls<Ui>();

    const char* const captions[2] = {"Load/Process", "Save"};
    for (int i = 0; i < 2; ++i) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("Command1"), i), 120 + i * 1560, 120, 1440, 375);
        b->setText(QString::fromLatin1(captions[i]));
        u->Command1[size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command1_Click(i); });
    }
    u->Command1[1]->setEnabled(false);
    u->Command2 = place<QPushButton>(form, QStringLiteral("Command2"), 3240, 120, 1200, 375);
    u->Command2->setText(QStringLiteral("Stop"));
    u->Command2->setEnabled(false);
    on(u->Command2, &QPushButton::clicked, [this] { Command2_Click(); });

    u->savewhendone = place<QCheckBox>(form, QStringLiteral("savewhendone"), 4680, 165, 2160, 285);
    u->savewhendone->setText(QStringLiteral("Save after process"));
    u->savebackup = place<QCheckBox>(form, QStringLiteral("savebackup"), 6960, 165, 2160, 285);
    u->savebackup->setText(QStringLiteral("Save with backup"));

    placeLabel(form, QStringLiteral("Filename"), 120, 660, 960, 255, QStringLiteral("Label1"));
    u->lastfile = place<QLineEdit>(form, QStringLiteral("lastfile"), 1140, 600, 8340, 345);

    placeLabel(form, QStringLiteral("Tab Size"), 120, 1140, 960, 255, QStringLiteral("Label2"));
    u->tabsize = place<QLineEdit>(form, QStringLiteral("tabsize"), 1140, 1080, 615, 345);
    u->tabsize->setText(QStringLiteral("4"));
    placeLabel(form, QStringLiteral("Lines Read"), 1920, 1140, 1020, 255, QStringLiteral("Label3"));
    u->rlines = place<QLineEdit>(form, QStringLiteral("rlines"), 2940, 1080, 1200, 345);
    placeLabel(form, QStringLiteral("Status"), 4320, 1140, 720, 255, QStringLiteral("Label4"));
    u->sysstatus = place<QLineEdit>(form, QStringLiteral("sysstatus"), 5040, 1080, 4440, 345);
    u->sysstatus->setText(QStringLiteral("Select first file to strip"));

    u->processedfile = place<QPlainTextEdit>(form, QStringLiteral("processedfile"), 120, 1560, 9360, 5520);
    const QFont fixed = fixedFont(9);
    u->processedfile->setFont(fixed);
    u->processedfile->setLineWrapMode(QPlainTextEdit::NoWrap);
    // What Save writes is what was converted: an edit here would be lost.
    u->processedfile->setReadOnly(true);
}

void Util_tabstripper::onLoad()
{
    initchars();
    m_lines.clear();
    QStringList lines;
    try {
        filelines(QStringLiteral("load"), settingsPath(), lines);
    } catch (const VError&) {
        return; // an unreadable settings file: the window opens without a last file
    }
    ui()->lastfile->setText(lines.value(1));
}

void Util_tabstripper::onUnload()
{
    QStringList lines(101);
    lines[1] = ui()->lastfile->text();
    try {
        filelines(QStringLiteral("save"), settingsPath(), lines);
    } catch (const VError& e) {
        alertbox(QStringLiteral("File error"), e.description(), 0);
    }
}

void Util_tabstripper::Command1_Click(int index)
{
    if (index == 0)
        process();
    else
        save();
}

void Util_tabstripper::Command2_Click()
{
    ui()->Command2->setEnabled(false);
}

void Util_tabstripper::appendStatus(const QString& text)
{
    ui()->sysstatus->setText(ui()->sysstatus->text() + text);
}

void Util_tabstripper::setIdle(bool canSave)
{
    auto* u = ui();
    u->Command2->setEnabled(false);
    u->Command1[0]->setEnabled(true);
    u->Command1[1]->setEnabled(canSave);
}

void Util_tabstripper::process()
{
    // A press delivered while a run is under way is ignored.
    if (m_running)
        return;
    auto* u = ui();
    u->rlines->setText(QStringLiteral("0"));
    const int tabSize = tabstrip::tabsize(u->tabsize->text());
    u->tabsize->setText(QString::number(tabSize));
    m_lines.clear();
    u->processedfile->clear();
    u->sysstatus->clear();
    // Nothing is on show now, so there is nothing Save could write.
    u->Command1[1]->setEnabled(false);
    form()->repaint();

    const QString path = selectfile(QString(), QStringLiteral("*.*"), pathpart(u->lastfile->text(), 3),
                                    QStringLiteral("Select file to convert tabs"));
    if (aborted())
        return;
    if (path.isEmpty() || !fileexists(path)) {
        u->sysstatus->setText(path.isEmpty() ? QStringLiteral("No file selected")
                                             : QStringLiteral("File selected does not exist, unknown reason"));
        form()->repaint();
        return;
    }

    const QScopedValueRollback<bool> running(m_running, true);
    u->Command2->setEnabled(true);
    u->Command1[0]->setEnabled(false);
    u->Command1[1]->setEnabled(false);
    u->lastfile->setText(path);

    const TextLines file = readTextLines(path, tabstrip::kMaxFileBytes);
    if (!file.ok()) {
        u->sysstatus->setText(file.status == TextLines::TooLarge
                                  ? QStringLiteral("File too large to strip (over 64 MB): ") + path
                                  : QStringLiteral("Cannot read ") + path);
        setIdle(false);
        return;
    }
    int tabs = 0;
    if (!convert(file.lines, tabSize, tabs)) {
        if (!aborted())
            setIdle(false);
        return;
    }

    QString shown = m_lines.join(u'\n');
    if (!m_lines.isEmpty())
        shown += u'\n';
    u->processedfile->setPlainText(shown);
    shown.clear();
    u->sysstatus->setText(QStringLiteral("OK: ") + numstr(tabs) + QStringLiteral(" tabs stripped"));

    if (u->savewhendone->isChecked()) {
        bool ok = true;
        if (u->savebackup->isChecked()) {
            ok = makeBackup(path);
            if (ok) {
                appendStatus(QStringLiteral(", Original file backed up"));
                form()->repaint();
            }
        }
        if (ok && writeConverted(path))
            appendStatus(QStringLiteral(", Converted file saved"));
    }
    beep();
    setIdle(true);
}

bool Util_tabstripper::convert(const QStringList& lines, int tabSize, int& tabs)
{
    auto* u = ui();
    m_lines.reserve(lines.size());
    TimeSlicer slicer;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!u->Command2->isEnabled()) {
            m_lines.clear(); // stopped: nothing is shown, nothing can be saved
            return false;
        }
        QString line = tabstrip::expandtabs(lines[i], tabSize, tabs);
        if (line.size() > tabstrip::kMaxLineChars) {
            m_lines.clear();
            u->rlines->setText(QString::number(i + 1));
            u->sysstatus->setText(QStringLiteral("Line") + numstr(double(i + 1)) +
                                  QStringLiteral(" is too long to show, file not converted"));
            return false;
        }
        m_lines << std::move(line);
        if (slicer.due())
            u->rlines->setText(QString::number(i + 1));
        if (!slicer.yield())
            return false; // closed or quitting: the form is on its way out
    }
    u->rlines->setText(QString::number(lines.size()));
    return true;
}

void Util_tabstripper::failed(const QString& why)
{
    ui()->sysstatus->setText(why);
    alertbox(QStringLiteral("File error"), why, 0);
}

bool Util_tabstripper::makeBackup(const QString& target)
{
    // The file stays where it is until its replacement is complete; the
    // backup is a copy, itself replaced whole, so no failure on the way
    // leaves either without its last good content.
    const QString why = notafile(target);
    if (!why.isEmpty()) {
        failed(QStringLiteral("Cannot save ") + target + QStringLiteral(": ") + why + u'.');
        return false;
    }
    const QFileInfo fi(target);
    const std::optional<QByteArray> old = fi.exists() ? readfile(target, fi.size() + 1) : std::nullopt;
    if (!old || old->size() != fi.size()) {
        failed(QStringLiteral("Cannot back up ") + target + QStringLiteral(": it cannot be read."));
        return false;
    }
    try {
        writefile(backupPath(target), *old);
    } catch (const VError& e) {
        failed(QStringLiteral("No backup made, file not saved. ") + e.description());
        return false;
    }
    return true;
}

bool Util_tabstripper::writeConverted(const QString& target)
{
    try {
        writefile(target, tabstrip::filebytes(m_lines));
    } catch (const VError& e) {
        failed(e.description());
        return false;
    }
    return true;
}

void Util_tabstripper::save()
{
    auto* u = ui();
    // Only a complete conversion on show can be saved.
    if (m_running || !u->Command1[1]->isEnabled())
        return;
    u->sysstatus->clear();
    form()->repaint();
    const QString target = u->lastfile->text();
    u->sysstatus->setText(QStringLiteral("OK: "));
    if (u->savebackup->isChecked()) {
        if (!makeBackup(target))
            return;
        appendStatus(QStringLiteral("Original file backed up ,"));
        form()->repaint();
    }
    if (!writeConverted(target))
        return;
    appendStatus(QStringLiteral("Converted file saved"));
    form()->repaint();
    beep();
}
