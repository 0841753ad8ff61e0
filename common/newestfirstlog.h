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

#include <QAbstractScrollArea>
#include <QStringList>

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int rowHeight() const;
    int rowsInView() const;
    void updateBars();

    QStringList m_lines; // oldest first
    int m_widest = 0;    // pixels, of the widest kept line
};
