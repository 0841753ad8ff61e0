#pragma once
// A read-only log box that shows its newest line on top.
//
//   auto* log = place<NewestFirstLog>(form, "rxdata", ...);
//   log->addLine(frame);       // on top; the rest moves down one row
//   log->setLine(frame);       // the log holds only this line
//   log->clear();
//
// Lines are kept in arrival order in one list and painted reversed, one
// row each, and only the rows in view are painted. Adding a line therefore
// costs the same after hours of lines as at the start, and the memory is
// that of the kept lines. No line is ever dropped.
//
// A reader scrolled down to older lines keeps them in view while new ones
// arrive; at the top, the newest line stays in view.
//
// Whole lines are selected with the mouse (click, drag, Shift+click) and
// the keyboard (the arrows, Page Up/Down, Home/End, Shift to extend,
// Ctrl+A) and copied with Ctrl+C or the right-click menu, newest first as
// shown. A selection holds lines, not rows, so it stays on them as new
// lines arrive and costs nothing per line. A double click selects its line
// only (no word), leaving it to the window.

#include <QAbstractScrollArea>
#include <QStringList>

#include <deque>

class NewestFirstLog : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit NewestFirstLog(QWidget* parent = nullptr);

    void addLine(const QString& line);
    // Empties the log, then holds only this line.
    void setLine(const QString& line);
    void clear();
    int count() const { return int(m_lines.size()); }
    // Row 0 is the newest line.
    QString line(int row) const;
    // Newest first, as shown.
    QStringList lines() const;
    // The row shown at the top of the box.
    int topRow() const;

    // The selected lines, newest first, one per line of the text.
    QString selectedText() const;
    void selectAll();
    // Puts the selected lines on the clipboard (nothing when none is).
    void copy();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int rowHeight() const;
    int rowsInView() const;
    void updateBars();
    // The line shown at a point of the viewport, clamped to the kept ones.
    qsizetype lineAt(const QPoint& pos) const;
    qsizetype rowOf(qsizetype index) const { return qsizetype(m_lines.size()) - 1 - index; }
    // Moves the cursor to line index (extending the selection or not) and
    // scrolls it into view.
    void moveTo(qsizetype index, bool extend);
    void clearSelection();
    bool selected(qsizetype index) const;

    // Oldest first; a deque grows without moving the lines it holds, so
    // no line ever costs a copy of all the others.
    std::deque<QString> m_lines;
    int m_widest = 0;    // pixels, of the widest kept line
    // The selection runs from the anchor line to the cursor line (indices
    // in arrival order); -1 when nothing is selected.
    qsizetype m_anchor = -1;
    qsizetype m_cursor = -1;
};
