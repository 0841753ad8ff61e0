#include "newestfirstlog.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int margin = 3; // pixels left of the text
}

NewestFirstLog::NewestFirstLog(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateBars();
}

int NewestFirstLog::rowHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int NewestFirstLog::rowsInView() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

int NewestFirstLog::topRow() const
{
    return verticalScrollBar()->value();
}

QString NewestFirstLog::line(int row) const
{
    if (row < 0 || row >= count())
        return QString();
    return m_lines[size_t(rowOf(row))];
}

QStringList NewestFirstLog::lines() const
{
    QStringList out;
    out.reserve(count());
    for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it)
        out << *it;
    return out;
}

void NewestFirstLog::addLine(const QString& line)
{
    m_lines.push_back(line);
    m_widest = std::max(m_widest, fontMetrics().horizontalAdvance(line));
    QScrollBar* bar = verticalScrollBar();
    const int top = bar->value();
    updateBars();
    // Whoever reads older lines keeps them where they are.
    if (top > 0)
        bar->setValue(top + 1);
    viewport()->update();
}

void NewestFirstLog::setLine(const QString& line)
{
    clearSelection();
    m_lines.clear();
    m_widest = 0;
    addLine(line);
}

void NewestFirstLog::clear()
{
    clearSelection();
    m_lines.clear();
    m_widest = 0;
    updateBars();
    viewport()->update();
}

void NewestFirstLog::updateBars()
{
    const int rows = rowsInView();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, count() - rows));
    v->setPageStep(rows);
    v->setSingleStep(1);
    QScrollBar* h = horizontalScrollBar();
    const int width = viewport()->width();
    h->setRange(0, std::max(0, m_widest + 2 * margin - width));
    h->setPageStep(width);
    h->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
}

void NewestFirstLog::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.setClipRect(event->rect());
    p.setPen(palette().color(QPalette::Text));
    const int h = rowHeight();
    const int ascent = fontMetrics().ascent();
    const int x = margin - horizontalScrollBar()->value();
    const int first = topRow() + event->rect().top() / h;
    const int last = std::min(count() - 1, topRow() + event->rect().bottom() / h);
    for (int row = first; row <= last; ++row) {
        const int top = (row - topRow()) * h;
        const bool lit = selected(rowOf(row));
        if (lit) {
            p.fillRect(0, top, viewport()->width(), h, palette().color(QPalette::Highlight));
            p.setPen(palette().color(QPalette::HighlightedText));
        }
        p.drawText(x, top + ascent, line(row));
        if (lit)
            p.setPen(palette().color(QPalette::Text));
    }
}

bool NewestFirstLog::selected(qsizetype index) const
{
    return m_anchor >= 0 && index >= std::min(m_anchor, m_cursor) && index <= std::max(m_anchor, m_cursor);
}

void NewestFirstLog::clearSelection()
{
    m_anchor = m_cursor = -1;
}

QString NewestFirstLog::selectedText() const
{
    if (m_anchor < 0)
        return QString();
    QStringList out;
    for (qsizetype k = std::max(m_anchor, m_cursor); k >= std::min(m_anchor, m_cursor); --k)
        out << m_lines[size_t(k)];
    return out.join(u'\n');
}

void NewestFirstLog::selectAll()
{
    if (m_lines.empty())
        return;
    m_anchor = 0;
    m_cursor = count() - 1;
    viewport()->update();
}

void NewestFirstLog::copy()
{
    if (m_anchor >= 0)
        QApplication::clipboard()->setText(selectedText());
}

qsizetype NewestFirstLog::lineAt(const QPoint& pos) const
{
    const qsizetype row = std::clamp<qsizetype>(topRow() + std::max(0, pos.y()) / rowHeight(), 0, count() - 1);
    return rowOf(row);
}

void NewestFirstLog::moveTo(qsizetype index, bool extend)
{
    if (m_lines.empty())
        return;
    index = std::clamp<qsizetype>(index, 0, count() - 1);
    if (!extend || m_anchor < 0)
        m_anchor = index;
    m_cursor = index;
    const int row = int(rowOf(index));
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + rowsInView())
        bar->setValue(row - rowsInView() + 1);
    viewport()->update();
}

bool NewestFirstLog::event(QEvent* event)
{
    // Copy and select all are the box's own, before any shortcut of the
    // frame can take them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->matches(QKeySequence::Copy) || ke->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void NewestFirstLog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    // Rows run newest first: down the box is toward older lines.
    const qsizetype at = m_cursor >= 0 ? m_cursor : count();
    switch (event->key()) {
    case Qt::Key_Down: moveTo(m_cursor >= 0 ? at - 1 : count() - 1, extend); return;
    case Qt::Key_Up: moveTo(at + 1, extend); return;
    case Qt::Key_PageDown: moveTo(at - rowsInView(), extend); return;
    case Qt::Key_PageUp: moveTo(at + rowsInView(), extend); return;
    case Qt::Key_Home: moveTo(count() - 1, extend); return;
    case Qt::Key_End: moveTo(0, extend); return;
    default: QAbstractScrollArea::keyPressEvent(event);
    }
}

void NewestFirstLog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !m_lines.empty())
        moveTo(lineAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    else if (event->button() != Qt::RightButton)
        QAbstractScrollArea::mousePressEvent(event);
}

void NewestFirstLog::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_anchor >= 0)
        moveTo(lineAt(event->position().toPoint()), true);
}

void NewestFirstLog::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A line, never a word: the window's own double click (emptying the
    // logs) is what the user asks for.
    mousePressEvent(event);
}

void NewestFirstLog::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyAction = menu.addAction(QStringLiteral("Copy"), this, &NewestFirstLog::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(m_anchor >= 0);
    QAction* all = menu.addAction(QStringLiteral("Select All"), this, &NewestFirstLog::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!m_lines.empty());
    menu.exec(event->globalPos());
}

void NewestFirstLog::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateBars();
}

void NewestFirstLog::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_widest = 0;
        const QFontMetrics fm = fontMetrics();
        for (const QString& l : std::as_const(m_lines))
            m_widest = std::max(m_widest, fm.horizontalAdvance(l));
        updateBars();
        viewport()->update();
    }
}

void NewestFirstLog::scrollContentsBy(int, int)
{
    viewport()->update();
}
