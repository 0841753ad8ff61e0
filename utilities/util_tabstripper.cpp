#include "util_tabstripper.h"
#include "tabstrip.h"

#include "common/alert.h"
#include "common/busysign.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/slicedtext.h"
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
    m_result.clear();
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
    m_result.clear();
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
    const BusySign busy(form());
    u->Command2->setEnabled(true);
    u->Command1[0]->setEnabled(false);
    u->Command1[1]->setEnabled(false);
    u->lastfile->setText(path);

    int tabs = 0;
    TimeSlicer slicer;
    if (!convert(path, tabSize, tabs, slicer) || !show(slicer))
        return;
    u->sysstatus->setText(QStringLiteral("OK: ") + numstr(tabs) + QStringLiteral(" tabs stripped"));

    if (u->savewhendone->isChecked()) {
        bool ok = true;
        if (u->savebackup->isChecked()) {
            ok = makeBackup(path, slicer);
            if (ok) {
                appendStatus(QStringLiteral(", Original file backed up"));
                form()->repaint();
            }
        }
        if (ok && writeConverted(path, slicer))
            appendStatus(QStringLiteral(", Converted file saved"));
        if (aborted() || quitting())
            return;
    }
    beep();
    setIdle(true);
}

void Util_tabstripper::stopped()
{
    m_result.clear();
    ui()->processedfile->clear();
    setIdle(false);
}

bool Util_tabstripper::convert(const QString& path, int tabSize, int& tabs, TimeSlicer& slicer)
{
    auto* u = ui();
    m_result.clear();
    TextLineReader file(path, tabstrip::kMaxFileBytes);
    if (!file.prepare(slicer))
        return false; // closed or quitting
    // Written back in the form it was read, so every character goes back
    // as it came.
    m_utf8 = file.utf8();
    // A byte-order mark goes back in front, as the file had it; the box
    // shows what follows it.
    m_result = file.mark();
    m_markBytes = m_result.size();
    qsizetype n = 0;
    QString line;
    for (;;) {
        if (!u->Command2->isEnabled()) {
            stopped();
            return false;
        }
        if (!file.next(line))
            break;
        ++n;
        const QString converted = tabstrip::expandtabs(line, tabSize, tabs);
        if (converted.size() > tabstrip::kMaxLineChars) {
            m_result.clear();
            u->rlines->setText(QString::number(n));
            u->sysstatus->setText(QStringLiteral("Line") + numstr(double(n)) +
                                  QStringLiteral(" is too long to show, file not converted"));
            setIdle(false);
            return false;
        }
        m_result += m_utf8 ? converted.toUtf8() : converted.toLatin1();
        m_result += "\r\n";
        if (slicer.due())
            u->rlines->setText(QString::number(n));
        if (!slicer.yield())
            return false; // closed or quitting: the form is on its way out
    }
    if (file.status() != TextLines::Ok) {
        m_result.clear();
        u->sysstatus->setText(file.status() == TextLines::TooLarge ? toolargetext(path, tabstrip::kMaxFileBytes)
                                                                   : QStringLiteral("Cannot read ") + path);
        setIdle(false);
        return false;
    }
    m_result.squeeze();
    u->rlines->setText(QString::number(n));
    return true;
}

bool Util_tabstripper::show(TimeSlicer& slicer)
{
    // A view past the mark, not a copy of a result of many megabytes.
    const qsizetype skip = qMin(m_markBytes, m_result.size());
    const QByteArray text = QByteArray::fromRawData(m_result.constData() + skip, m_result.size() - skip);
    const bool shown =
        fillTextBox(ui()->processedfile, text, m_utf8, slicer, [this] { return !ui()->Command2->isEnabled(); });
    // Stop pressed meanwhile; closed or quitting leaves the form alone.
    if (!shown && !aborted() && !quitting())
        stopped();
    return shown;
}

void Util_tabstripper::failed(const QString& why)
{
    ui()->sysstatus->setText(why);
    alertbox(QStringLiteral("File error"), why, 0);
}

bool Util_tabstripper::makeBackup(const QString& target, TimeSlicer& slicer)
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
        // Closed or quitting meanwhile: neither file is touched.
        return writefileServing(backupPath(target), *old, slicer);
    } catch (const VError& e) {
        failed(QStringLiteral("No backup made, file not saved. ") + e.description());
        return false;
    }
}

bool Util_tabstripper::writeConverted(const QString& target, TimeSlicer& slicer)
{
    try {
        return writefileServing(target, m_result, slicer);
    } catch (const VError& e) {
        failed(e.description());
        return false;
    }
}

void Util_tabstripper::save()
{
    auto* u = ui();
    // Only a complete conversion on show can be saved.
    if (m_running || !u->Command1[1]->isEnabled())
        return;
    // A large file is written while the event loop is served: no second
    // run may start meanwhile.
    const QScopedValueRollback<bool> running(m_running, true);
    TimeSlicer slicer;
    u->sysstatus->clear();
    form()->repaint();
    const QString target = u->lastfile->text();
    u->sysstatus->setText(QStringLiteral("OK: "));
    if (u->savebackup->isChecked()) {
        if (!makeBackup(target, slicer))
            return;
        appendStatus(QStringLiteral("Original file backed up ,"));
        form()->repaint();
    }
    if (!writeConverted(target, slicer))
        return;
    appendStatus(QStringLiteral("Converted file saved"));
    form()->repaint();
    beep();
}
