#include "newestfirstlog.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int margin = 3; // pixels left of the text
}

NewestFirstLog::NewestFirstLog(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::NoFocus);
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
    if (row < 0 || row >= m_lines.size())
        return QString();
    return m_lines[m_lines.size() - 1 - row];
}

QStringList NewestFirstLog::lines() const
{
    QStringList out;
    out.reserve(m_lines.size());
    for (qsizetype k = m_lines.size() - 1; k >= 0; --k)
        out << m_lines[k];
    return out;
}

void NewestFirstLog::addLine(const QString& line)
{
    m_lines.append(line);
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
    m_lines.clear();
    m_widest = 0;
    addLine(line);
}

void NewestFirstLog::clear()
{
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
    for (int row = first; row <= last; ++row)
        p.drawText(x, (row - topRow()) * h + ascent, line(row));
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
