#pragma once
// The plot surface of the tool windows: a widget that keeps what is drawn
// on it in a persistent image (repaints, hiding and covering lose nothing),
// drawn in a user scale.
//
// The scale maps the rectangle (left, top) .. (left + width, top + height)
// onto the whole box; a negative height puts top at the upper edge and lets
// y grow upwards, as plots want. Without a scale the units are pixels.
// Drawing calls take an optional colour; an invalid colour means the fore
// colour. Every call leaves the current position (currentX, currentY) at
// its end point, where print() writes next.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setScale(double left, double top, double width, double height);
    // Back to pixel units.
    void resetScale();
    double scaleLeft() const { return m_left; }
    double scaleTop() const { return m_top; }
    double scaleWidth() const;
    double scaleHeight() const;

    // Fills the box with the back colour (and the picture, when it has
    // one); the current position goes to the scale's top-left corner.
    void cls();
    // A background picture, scaled over the whole box. Setting one clears
    // the box to it (what was drawn before is gone); a null image removes it.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    void line(double x1, double y1, double x2, double y2, const QColor& color = QColor());
    // A line from the current position.
    void lineTo(double x, double y, const QColor& color = QColor());
    // A rectangle: filled with the colour, or outlined with it (and filled
    // with the fill colour when the fill style is solid).
    void box(double x1, double y1, double x2, double y2, const QColor& color = QColor(), bool filled = false);
    // A circle; the radius is measured in horizontal units.
    void circle(double x, double y, double radius, const QColor& color = QColor());
    void pset(double x, double y, const QColor& color = QColor());
    // Writes text at the current position in the fore colour and the box's
    // font; with newline the position moves to the start of the next line,
    // else to the end of the text.
    void print(const QString& text, bool newline = true);

    double currentX() const { return m_curX; }
    double currentY() const { return m_curY; }
    void setCurrentX(double x) { m_curX = x; }
    void setCurrentY(double y) { m_curY = y; }

    int drawWidth() const { return m_drawWidth; }
    void setDrawWidth(int pixels);
    QColor foreColor() const { return m_fore; }
    void setForeColor(const QColor& c) { m_fore = c; }
    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor& c) { m_fill = c; }
    bool fillSolid() const { return m_fillSolid; }
    void setFillSolid(bool solid) { m_fillSolid = solid; }
    QColor backColor() const { return m_back; }
    // A new back colour clears the box.
    void setBackColor(const QColor& c);

    // The persistent image (its pixels are what the box shows).
    const QImage& image();
    // The pixel of a point in the current scale.
    QPoint toPixel(double x, double y);
    // The colour at a point in the current scale.
    QColor point(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ensureImage();
    QPointF map(double x, double y);
    QColor pick(const QColor& c) const { return c.isValid() ? c : m_fore; }

    QImage m_image;
    QImage m_picture;
    bool m_userScale = false;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    double m_curX = 0, m_curY = 0;
    int m_drawWidth = 1;
    QColor m_fore = Qt::black;
    QColor m_fill = Qt::black;
    bool m_fillSolid = false;
    QColor m_back = Qt::white;
};
