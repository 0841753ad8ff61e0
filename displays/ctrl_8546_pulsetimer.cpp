#include "ctrl_8546_pulsetimer.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/ft245.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/timeslice.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

#include <array>
#include <utility>

namespace {
// A board that keeps sending after "x" must not hold Stop for ever: this
// many reads (ftReadMax bytes at most each) are taken in before the file
// closes.
constexpr int StopReads = 64;
// The most undecoded bytes the poll lets pile up. Past it the poll leaves
// what arrives in the device, whose flow control then holds the board
// back, so a board faster than the window cannot use up the memory.
constexpr qsizetype BacklogLimit = qsizetype(StopReads) * ftReadMax;
} // namespace

struct Ctrl_8546_pulsetimer::Ui : Controls {
    QListWidget* list_fifos_list = nullptr;
    std::array<QPushButton*, 5> cmmd{};
    QCheckBox* recorder = nullptr;
    QCheckBox* diag = nullptr;
    QLineEdit* capturefile = nullptr;
    QLineEdit* pulsetimer = nullptr;
    QLineEdit* pulsecounter = nullptr;
    QTimer* Timer1 = nullptr;
};

Ctrl_8546_pulsetimer::Ctrl_8546_pulsetimer()
    : ToolWindow(QStringLiteral("Ctrl_8546_pulsetimer"), QSize(6480, 4080))
{
}

Ctrl_8546_pulsetimer::~Ctrl_8546_pulsetimer() = default;

Ctrl_8546_pulsetimer::Ui* Ctrl_8546_pulsetimer::ui() const
{
    return controls<Ui>();
}

void Ctrl_8546_pulsetimer::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("8546 Pulse position timer"));
    auto* u = makeControls<Ui>();

    placeLabel(form, QStringLiteral("FIFO devices"), 120, 120, 2400, 255, QStringLiteral("Label_fifos"));
    u->list_fifos_list = place<QListWidget>(form, QStringLiteral("list_fifos_list"), 120, 420, 6240, 1215);
    on(u->list_fifos_list, &QListWidget::currentRowChanged, [this] { list_fifos_list_Click(); });

    const char* captions[5] = {"Start", "Stop", "Dump Buffer", "500K Block", "500K Block"};
    for (int i = 0; i < 5; ++i) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("cmmd"), i), 120 + i * 1260, 1800, 1140, 375);
        b->setText(QString::fromLatin1(captions[i]));
        on(b, &QPushButton::clicked, [this, i] { cmmd_Click(i); });
        u->cmmd[size_t(i)] = b;
    }
    u->cmmd[1]->setEnabled(false);

    placeLabel(form, QStringLiteral("Interval (s)"), 120, 2385, 1200, 255, QStringLiteral("Label_interval"));
    u->pulsetimer = place<QLineEdit>(form, QStringLiteral("pulsetimer"), 1380, 2340, 1800, 315);
    setOutputBox(u->pulsetimer);
    placeLabel(form, QStringLiteral("Count"), 3420, 2385, 720, 255, QStringLiteral("Label_count"));
    u->pulsecounter = place<QLineEdit>(form, QStringLiteral("pulsecounter"), 4200, 2340, 1440, 315);
    setOutputBox(u->pulsecounter);
    u->diag = place<QCheckBox>(form, QStringLiteral("diag"), 5760, 2340, 660, 315);
    u->diag->setText(QStringLiteral("Diag"));
    on(u->diag, &QCheckBox::toggled, [this] { updatePoll(); });

    u->recorder = place<QCheckBox>(form, QStringLiteral("recorder"), 120, 2880, 1080, 315);
    u->recorder->setText(QStringLiteral("Record"));
    u->capturefile = place<QLineEdit>(form, QStringLiteral("capturefile"), 1380, 2880, 4980, 315);
    u->capturefile->setText(joinpath(worktemp(), QStringLiteral("Capture.csv")));

    u->Timer1 = new QTimer(form);
    u->Timer1->setObjectName(QStringLiteral("Timer1"));
    u->Timer1->setInterval(1);
    on(u->Timer1, &QTimer::timeout, [this] { Timer1_Timer(); });
}

void Ctrl_8546_pulsetimer::onLoad()
{
    initchars();
    m_buffer.clear();
    m_decoded = 0;
    m_stamps.restart();
    ui()->pulsetimer->setText(QStringLiteral("---"));
    ui()->pulsecounter->setText(QStringLiteral("---"));
    list_fifos();
}

void Ctrl_8546_pulsetimer::onUnload()
{
    ftclose();
    closeCapture();
    m_busy.clear();
}

void Ctrl_8546_pulsetimer::updatePoll()
{
    Ui* u = ui();
    if (!u)
        return;
    const bool work = ftisopen() || (!u->diag->isChecked() && pending() >= pulseRecordBytes);
    if (!work)
        u->Timer1->stop();
    else if (!u->Timer1->isActive())
        u->Timer1->start();
}

void Ctrl_8546_pulsetimer::list_fifos()
{
    QListWidget* list = ui()->list_fifos_list;
    const int n = ftcount();
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItem(QStringLiteral("Select"));
        for (int i = 0; i <= n; ++i) {
            const QString d = ftlist(i);
            if (d.isEmpty())
                continue;
            // The item keeps its device's index: an unreadable device
            // leaves no item, and must not shift the choice onto the next.
            auto* item = new QListWidgetItem(u'[' + QString::number(i).rightJustified(3) + QStringLiteral("] ") + d);
            item->setData(Qt::UserRole, i);
            list->addItem(item);
        }
    }
    list->setCurrentRow(0);
    list_fifos_list_Click();
}

void Ctrl_8546_pulsetimer::list_fifos_list_Click()
{
    ftclose();
    updatePoll();
    QListWidgetItem* item = ui()->list_fifos_list->currentItem();
    if (!item || ui()->list_fifos_list->currentRow() <= 0)
        return;
    ftopen(item->data(Qt::UserRole).toInt());
    ftlatency(1);
    ftusbparams(63448, 4096);
    ftpurge();
    updatePoll();
}

void Ctrl_8546_pulsetimer::cmmd_Click(int index)
{
    switch (index) {
    case 0: start(); return;
    case 1: stop(); return;
    case 2: dump(); return;
    case 3:
        dump();
        ftwrite(QStringLiteral("!"));
        return;
    default: return; // the second "500K Block" has no action
    }
}

void Ctrl_8546_pulsetimer::start()
{
    Ui* u = ui();
    closeCapture();
    if (u->recorder->isChecked() && !openCapture(u->capturefile->text()))
        return;
    u->cmmd[0]->setEnabled(false);
    u->cmmd[1]->setEnabled(true);
    u->recorder->setEnabled(false);
    u->pulsetimer->setText(QStringLiteral("---"));
    u->pulsecounter->setText(QStringLiteral("---"));
    dump();
    m_stamps.restart();
    ftpurge();
    ftwrite(QStringLiteral("T"));
}

void Ctrl_8546_pulsetimer::dump()
{
    m_buffer.clear();
    m_decoded = 0;
    m_busy.clear();
    updatePoll();
}

void Ctrl_8546_pulsetimer::stop()
{
    Ui* u = ui();
    if (m_stopping)
        return;
    const QScopedValueRollback<bool> stopping(m_stopping, true);
    u->cmmd[1]->setEnabled(false);
    ftwrite(QStringLiteral("x"));
    // Every pulse that came before the stop belongs in the file, whether
    // "Diag" held the decoding back or not.
    m_busy.show(form());
    TimeSlicer slicer;
    // One bounded step at a time, the event loop served after each: a
    // slice of decoding, or, once the backlog is decoded, one read of what
    // the device still holds. The buffer so stays short, and appending to
    // it never moves megabytes.
    int reads = 0;
    bool more = true;
    for (;;) {
        if (pending() < pulseRecordBytes) {
            if (!more || reads == StopReads)
                break;
            const QString got = ftread();
            ++reads;
            more = !got.isEmpty();
            m_buffer += got;
            continue;
        }
        pulsetimer48();
        if (!slicer.serve())
            return; // closed or quitting: the file holds whole lines only
    }
    m_busy.clear();
    u->cmmd[0]->setEnabled(true);
    u->recorder->setEnabled(true);
    closeCapture();
    updatePoll();
}

void Ctrl_8546_pulsetimer::Timer1_Timer()
{
    // Stop reads and decodes on its own until the last stamp is in.
    if (m_stopping)
        return;
    if (pending() < BacklogLimit)
        m_buffer += ftread();
    if (ui()->diag->isChecked()) {
        ui()->pulsetimer->setText(QString::number(pending()));
        updatePoll();
        return;
    }
    // A backlog (after "Diag", or pulses faster than the window) is
    // decoded a slice per tick, so the window stays responsive meanwhile.
    if (pulsetimer48())
        m_busy.show(form());
    else
        m_busy.clear();
    updatePoll();
}

bool Ctrl_8546_pulsetimer::pulsetimer48()
{
    // A shorter slice than most: the 1 ms poll runs one tick after another
    // while a backlog lasts, and the window's other events go in between.
    const TimeSlicer slice(10);
    // The decoded front goes once it is the larger part of the buffer:
    // each byte is moved at most a few times, whatever the backlog. Done
    // first, so that the slice's time includes it.
    if (m_decoded > 4096 && m_decoded * 2 > m_buffer.size()) {
        m_buffer.remove(0, m_decoded);
        m_decoded = 0;
    }
    const qsizetype end = m_buffer.size();
    QByteArray lines;
    bool any = false;
    while (end - m_decoded >= pulseRecordBytes) {
        m_stamps.advance(pulseCount(m_buffer, m_decoded));
        m_decoded += pulseRecordBytes;
        any = true;
        if (m_capture) {
            lines += m_stamps.csvLine().toLatin1();
            lines += "\r\n";
        }
        // The clock is read every 64 stamps: cheap, and well inside a slice.
        if ((m_decoded / pulseRecordBytes) % 64 == 0 && slice.due())
            break;
    }
    if (!any)
        return false;
    if (m_capture && !lines.isEmpty())
        writeCapture(lines);
    const PulseShown shown = m_stamps.shown();
    ui()->pulsetimer->setText(shown.interval);
    ui()->pulsecounter->setText(shown.count);
    // Told once the buffer is consistent: the alert serves the event loop,
    // and the poll goes on meanwhile.
    if (!m_failedCapture.isEmpty()) {
        const QString path = std::exchange(m_failedCapture, QString());
        alertbox(QStringLiteral("Capture file error"),
                 QStringLiteral("Cannot write the capture file ") + path + QStringLiteral("; recording stopped."), 0);
    }
    return pending() >= pulseRecordBytes;
}

bool Ctrl_8546_pulsetimer::openCapture(const QString& path)
{
    // Only a regular file (or none yet) may be truncated: a FIFO would
    // block the window and a device would take the pulses.
    bool ok = !path.trimmed().isEmpty() && (!QFileInfo::exists(path) || isregularfile(path));
    if (ok) {
        auto file = std::make_unique<QFile>(path);
        ok = file->open(QIODevice::WriteOnly | QIODevice::Truncate);
        if (ok)
            m_capture = std::move(file);
    }
    if (!ok)
        alertbox(QStringLiteral("Capture file error"), QStringLiteral("Cannot create the capture file ") + path, 0);
    return ok;
}

void Ctrl_8546_pulsetimer::writeCapture(const QByteArray& lines)
{
    // A slice's lines go out together and are flushed at once: the file
    // keeps up with the board, and holds only whole lines at any moment
    // the window could be closed.
    const qint64 whole = m_capture->pos();
    if (m_capture->write(lines) == lines.size() && m_capture->flush())
        return;
    m_failedCapture = m_capture->fileName();
    closeCapture();
    // What went out of the failed slice may end inside a line: the file
    // keeps the slice's whole lines that reached it, and no part of one.
    const qint64 reached = QFileInfo(m_failedCapture).size() - whole;
    const qsizetype end = reached >= 2 ? lines.lastIndexOf("\r\n", qsizetype(qMin<qint64>(reached, lines.size())) - 2) : -1;
    QFile::resize(m_failedCapture, end < 0 ? whole : whole + end + 2);
}

void Ctrl_8546_pulsetimer::closeCapture()
{
    if (m_capture)
        m_capture->close();
    m_capture.reset();
}
