#pragma once
// The display of one terminal of the dual serial terminal: shows a terminal
// buffer followed by its cursor tail (termrules::displayText) in a fixed
// face, wrapped at the window's width.
//
// A text box re-lays out a whole paragraph on every append; a terminal in
// hexadecimal mode is one paragraph that grows without end, so a stream
// would cost ever more per byte. This view reads the buffer in place and
// keeps only the offsets where lines start and how many wrapped rows lie
// before each line: an append scans just the new characters, and painting
// looks up the first visible line by binary search, so the cost of an event
// does not grow with the buffer.

#include <QAbstractScrollArea>
#include <QString>

#include <vector>

class TermView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TermView(QWidget* parent = nullptr);

    // The buffer shown; it must outlive the view (the window owns it).
    // Lays out the whole text again.
    void setBuffer(const QString* buffer);
    // The buffer was cut back to, or grew from, offset `from` (characters
    // before it unchanged). Lays out only what follows.
    void bufferChanged(qsizetype from);

    // The text shown: the buffer and its cursor tail.
    QString text() const;
    // Caret position and selection, as offsets into text().
    qsizetype caret() const { return m_caret; }
    void setCaret(qsizetype pos);
    bool hasSelection() const { return m_anchor != m_caret; }
    QString selectedText() const;
    void selectAll();
    // Puts the selection on the clipboard (nothing when none is selected).
    void copy();

    void setBackground(const QColor& c);
    // Wrapped rows of the whole text at the current width.
    qsizetype rowCount() const { return m_rowsBefore.empty() ? 0 : m_rowsBefore.back(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    qsizetype length() const;
    QChar at(qsizetype i) const;
    // Characters of line i that are drawn (its LF and a CR before it left out).
    qsizetype lineLength(std::size_t i) const;
    qsizetype rowsOf(std::size_t i) const;
    void scanFrom(qsizetype from);
    void relayout();
    void updateScrollBar();
    void scrollToCaret();
    qsizetype offsetAt(const QPoint& p) const;
    int columns() const;

    const QString* m_buffer = nullptr;
    QString m_tail;
    // Offset of each line's first character; line 0 starts at 0.
    std::vector<qsizetype> m_lineStart{0};
    // m_rowsBefore[i]: wrapped rows of lines 0..i-1; one more entry than lines.
    std::vector<qsizetype> m_rowsBefore{0, 1};
    int m_columns = 1;
    qsizetype m_caret = 0;
    qsizetype m_anchor = 0;
};
