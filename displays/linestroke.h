#pragma once
// A line control: one straight stroke between two points given in twips of
// its parent's client area, with a width in pixels and a colour. It takes
// no mouse input; a click target laid over it does.

#include <QColor>
#include <QLineF>
#include <QWidget>

class LineStroke : public QWidget {
    Q_OBJECT
public:
    LineStroke(QWidget* parent, const QString& name, QLineF twipsLine, int widthPx, QColor color);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // The end points in the parent's pixels.
    QLineF line() const { return m_line; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineF m_line;
    int m_width;
    QColor m_color;
};

#include <QLabel>
#include <QMouseEvent>

// The click target laid over a stroke: it keeps the mouse press, so a click
// neither moves the focus nor reaches the window behind.
class StrokeTarget : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
};
