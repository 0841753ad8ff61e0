#include "termview.h"

#include "common/keycodes.h"
#include "termrules.h"
#include "common/formbuilder.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace {
constexpr char16_t CR = 13, LF = 10, DEL = 127;
}

TermView::TermView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(fixedFont());
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    m_tail = termrules::displayTail(QStringView());
    m_columns = columns();
}

void TermView::setBuffer(const QString* buffer)
{
    m_buffer = buffer;
    relayout();
}

qsizetype TermView::length() const
{
    return (m_buffer ? m_buffer->size() : 0) + m_tail.size();
}

QChar TermView::at(qsizetype i) const
{
    const qsizetype n = m_buffer ? m_buffer->size() : 0;
    return i < n ? m_buffer->at(i) : m_tail.at(i - n);
}

QString TermView::text() const
{
    return (m_buffer ? *m_buffer : QString()) + m_tail;
}

qsizetype TermView::lineLength(std::size_t i) const
{
    const qsizetype start = m_lineStart[i];
    if (i + 1 == m_lineStart.size())
        return length() - start;
    qsizetype end = m_lineStart[i + 1] - 1; // the LF
    if (end > start && at(end - 1) == QChar(CR))
        --end;
    return end - start;
}

qsizetype TermView::rowsOf(std::size_t i) const
{
    const qsizetype n = lineLength(i);
    return n == 0 ? 1 : (n + m_columns - 1) / m_columns;
}

int TermView::columns() const
{
    const int cw = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
    return std::max(1, (viewport()->width() - 4) / cw);
}

void TermView::scanFrom(qsizetype from)
{
    const QStringView buf = m_buffer ? QStringView(*m_buffer) : QStringView();
    from = std::clamp<qsizetype>(from, 0, buf.size());
    m_tail = termrules::displayTail(buf);
    // Lines starting after `from` follow an LF that may have changed.
    while (m_lineStart.size() > 1 && m_lineStart.back() > from)
        m_lineStart.pop_back();
    const std::size_t firstChanged = m_lineStart.size() - 1;
    for (qsizetype p = buf.indexOf(QChar(LF), from); p >= 0; p = buf.indexOf(QChar(LF), p + 1))
        m_lineStart.push_back(p + 1);
    for (qsizetype p = m_tail.indexOf(QChar(LF)); p >= 0; p = m_tail.indexOf(QChar(LF), p + 1))
        m_lineStart.push_back(buf.size() + p + 1);
    m_rowsBefore.resize(firstChanged + 1);
    for (std::size_t i = firstChanged; i < m_lineStart.size(); ++i)
        m_rowsBefore.push_back(m_rowsBefore[i] + rowsOf(i));
}

void TermView::bufferChanged(qsizetype from)
{
    scanFrom(from);
    m_anchor = m_caret = std::min(m_caret, length());
    updateScrollBar();
    viewport()->update();
}

void TermView::relayout()
{
    m_columns = columns();
    m_lineStart.assign(1, 0);
    m_rowsBefore.assign(1, 0);
    scanFrom(0);
    m_anchor = m_caret = std::min(m_caret, length());
    updateScrollBar();
    viewport()->update();
}

void TermView::setCaret(qsizetype pos)
{
    m_anchor = m_caret = std::clamp<qsizetype>(pos, 0, length());
    scrollToCaret();
    viewport()->update();
}

QString TermView::selectedText() const
{
    const qsizetype a = std::min(m_anchor, m_caret), b = std::max(m_anchor, m_caret);
    QString s;
    s.reserve(b - a);
    for (qsizetype i = a; i < b; ++i)
        s += at(i);
    return s;
}

void TermView::selectAll()
{
    m_anchor = 0;
    m_caret = length();
    viewport()->update();
}

void TermView::setBackground(const QColor& c)
{
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Window, c);
    viewport()->setPalette(p);
    viewport()->setAutoFillBackground(true);
    viewport()->update();
}

void TermView::updateScrollBar()
{
    const int lineH = std::max(1, fontMetrics().lineSpacing());
    const int visible = std::max(1, viewport()->height() / lineH);
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(visible);
    bar->setSingleStep(1);
    bar->setRange(0, int(std::min<qsizetype>(std::max<qsizetype>(0, rowCount() - visible), INT_MAX)));
}

void TermView::scrollToCaret()
{
    const auto it = std::upper_bound(m_lineStart.begin(), m_lineStart.end(), m_caret);
    const std::size_t line = std::size_t(it - m_lineStart.begin()) - 1;
    const qsizetype row =
        m_rowsBefore[line] + std::min((m_caret - m_lineStart[line]) / m_columns, rowsOf(line) - 1);
    QScrollBar* bar = verticalScrollBar();
    const int visible = bar->pageStep();
    if (row < bar->value())
        bar->setValue(int(row));
    else if (row >= bar->value() + visible)
        bar->setValue(int(std::min<qsizetype>(row - visible + 1, INT_MAX)));
}

void TermView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    if (columns() != m_columns)
        relayout();
    else
        updateScrollBar();
}

void TermView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const QFontMetrics fm = fontMetrics();
    const int lineH = std::max(1, fm.lineSpacing());
    const int cw = std::max(1, fm.horizontalAdvance(QLatin1Char('M')));
    const qsizetype selA = std::min(m_anchor, m_caret), selB = std::max(m_anchor, m_caret);
    const QPalette& pal = palette();

    const qsizetype firstRow = verticalScrollBar()->value();
    auto it = std::upper_bound(m_rowsBefore.begin(), m_rowsBefore.end() - 1, firstRow);
    std::size_t line = std::size_t(it - m_rowsBefore.begin()) - 1;
    qsizetype row = firstRow - m_rowsBefore[line];
    const int x0 = 2;
    QString seg;
    for (int y = 0; y < viewport()->height() && line < m_lineStart.size(); y += lineH) {
        const qsizetype len = lineLength(line);
        const qsizetype from = m_lineStart[line] + row * m_columns;
        const qsizetype n = std::min<qsizetype>(m_columns, len - row * m_columns);
        seg.resize(std::max<qsizetype>(0, n));
        for (qsizetype k = 0; k < n; ++k) {
            const QChar c = at(from + k);
            seg[k] = c.unicode() < 32 ? QChar(0xB7) : c;
            const bool selected = from + k >= selA && from + k < selB;
            if (selected)
                p.fillRect(x0 + int(k) * cw, y, cw, lineH, pal.highlight());
            if (c.unicode() == DEL) {
                // The cursor character, drawn as a block as the platform's
                // terminal face did.
                seg[k] = QChar(u' ');
                p.fillRect(x0 + int(k) * cw + 1, y + 1, cw - 2, lineH - 2, selected ? pal.highlightedText() : pal.text());
            }
        }
        // One run per row: the face is fixed-pitch and every character is
        // Latin-1, so the columns stay aligned.
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QPoint(x0, y + fm.ascent()), seg);
        if (++row >= rowsOf(line)) {
            ++line;
            row = 0;
        }
    }
}

qsizetype TermView::offsetAt(const QPoint& pt) const
{
    const int lineH = std::max(1, fontMetrics().lineSpacing());
    const int cw = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
    const qsizetype wanted = verticalScrollBar()->value() + std::max(0, pt.y()) / lineH;
    if (wanted >= rowCount())
        return length();
    auto it = std::upper_bound(m_rowsBefore.begin(), m_rowsBefore.end() - 1, wanted);
    const std::size_t line = std::size_t(it - m_rowsBefore.begin()) - 1;
    const qsizetype row = wanted - m_rowsBefore[line];
    const qsizetype n = std::min<qsizetype>(m_columns, lineLength(line) - row * m_columns);
    const qsizetype col = std::clamp<qsizetype>((pt.x() - 2 + cw / 2) / cw, 0, std::max<qsizetype>(0, n));
    return m_lineStart[line] + row * m_columns + col;
}

void TermView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_caret = offsetAt(e->position().toPoint());
    if (!(e->modifiers() & Qt::ShiftModifier))
        m_anchor = m_caret;
    viewport()->update();
}

void TermView::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton))
        return;
    m_caret = offsetAt(e->position().toPoint());
    viewport()->update();
}

void TermView::copy()
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

void TermView::keyPressEvent(QKeyEvent* e)
{
    // Ctrl+C and Ctrl+A are characters for the far end; copying has the
    // gestures that type none.
    if (isCopyGesture(e)) {
        copy();
        return;
    }
    QAbstractScrollArea::keyPressEvent(e);
}

void TermView::contextMenuEvent(QContextMenuEvent* e)
{
    // Shown without a loop of its own, so the window may close meanwhile;
    // the menu goes with the view.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copyAction = menu->addAction(tr("&Copy"), this, &TermView::copy);
    copyAction->setObjectName(QStringLiteral("copy"));
    copyAction->setEnabled(hasSelection());
    menu->addAction(tr("Select &All"), this, &TermView::selectAll)->setObjectName(QStringLiteral("selectAll"));
    menu->popup(e->globalPos());
}
