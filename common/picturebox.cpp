#include "picturebox.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {
// Coordinates far outside any image are held where painting stays exact.
double clampPx(double v)
{
    if (!std::isfinite(v))
        return v > 0 ? 1e6 : -1e6;
    return std::clamp(v, -1e6, 1e6);
}
int roundPx(double v)
{
    return int(std::floor(clampPx(v) + 0.5));
}
} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    ensureImage();
}

void PictureBox::ensureImage()
{
    const QSize want = size().expandedTo(QSize(1, 1));
    if (m_image.size() == want)
        return;
    // The image grows with the box and keeps what was drawn; it never
    // shrinks, so a box made smaller and larger again loses nothing.
    const QSize grown = want.expandedTo(m_image.size());
    if (grown == m_image.size())
        return;
    QImage next(grown, QImage::Format_RGB32);
    next.fill(m_back);
    if (!m_image.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, m_image);
    }
    m_image = next;
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    ensureImage();
    QWidget::resizeEvent(event);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    ensureImage();
    QPainter p(this);
    p.drawImage(event->rect(), m_image, event->rect());
}

const QImage& PictureBox::image()
{
    ensureImage();
    return m_image;
}

double PictureBox::scaleWidth() const
{
    return m_userScale ? m_width : double(width());
}

double PictureBox::scaleHeight() const
{
    return m_userScale ? m_height : double(height());
}

void PictureBox::setScale(double left, double top, double width, double height)
{
    // A zero extent has no mapping; keep the previous scale.
    if (width == 0 || height == 0 || !std::isfinite(width) || !std::isfinite(height) || !std::isfinite(left)
        || !std::isfinite(top))
        return;
    m_userScale = true;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_curX = left;
    m_curY = top;
}

void PictureBox::resetScale()
{
    m_userScale = false;
    m_left = m_top = 0;
    m_curX = m_curY = 0;
}

QPointF PictureBox::map(double x, double y)
{
    ensureImage();
    if (!m_userScale)
        return QPointF(clampPx(x), clampPx(y));
    const double px = (x - m_left) * width() / m_width;
    const double py = (y - m_top) * height() / m_height;
    return QPointF(clampPx(px), clampPx(py));
}

QPoint PictureBox::toPixel(double x, double y)
{
    const QPointF p = map(x, y);
    return QPoint(roundPx(p.x()), roundPx(p.y()));
}

QColor PictureBox::point(double x, double y)
{
    const QPoint p = toPixel(x, y);
    if (!m_image.rect().contains(p))
        return QColor();
    return m_image.pixelColor(p);
}

void PictureBox::setDrawWidth(int pixels)
{
    m_drawWidth = std::clamp(pixels, 1, 32767);
}

void PictureBox::setBackColor(const QColor& c)
{
    m_back = c;
    cls();
}

void PictureBox::cls()
{
    ensureImage();
    m_image.fill(m_back);
    if (!m_picture.isNull()) {
        QPainter p(&m_image);
        p.drawImage(QRect(0, 0, width(), height()), m_picture);
    }
    m_curX = m_userScale ? m_left : 0;
    m_curY = m_userScale ? m_top : 0;
    update();
}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    cls();
}

void PictureBox::line(double x1, double y1, double x2, double y2, const QColor& color)
{
    const QPoint a = toPixel(x1, y1);
    const QPoint b = toPixel(x2, y2);
    {
        QPainter p(&m_image);
        p.setPen(QPen(pick(color), m_drawWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawLine(a, b);
    }
    m_curX = x2;
    m_curY = y2;
    update();
}

void PictureBox::lineTo(double x, double y, const QColor& color)
{
    line(m_curX, m_curY, x, y, color);
}

void PictureBox::box(double x1, double y1, double x2, double y2, const QColor& color, bool filled)
{
    const QRect r = QRect(toPixel(x1, y1), toPixel(x2, y2)).normalized();
    {
        QPainter p(&m_image);
        if (filled) {
            p.fillRect(r, pick(color));
        } else {
            if (m_fillSolid)
                p.fillRect(r, m_fill);
            p.setPen(QPen(pick(color), m_drawWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            // drawRect covers one pixel more than the rectangle.
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    m_curX = x2;
    m_curY = y2;
    update();
}

void PictureBox::circle(double x, double y, double radius, const QColor& color)
{
    const QPointF c = map(x, y);
    const double r = std::abs(clampPx(m_userScale ? radius * width() / m_width : radius));
    {
        QPainter p(&m_image);
        p.setPen(QPen(pick(color), m_drawWidth));
        p.setBrush(m_fillSolid ? QBrush(m_fill) : QBrush(Qt::NoBrush));
        p.drawEllipse(QPointF(roundPx(c.x()), roundPx(c.y())), r, r);
    }
    m_curX = x;
    m_curY = y;
    update();
}

void PictureBox::pset(double x, double y, const QColor& color)
{
    const QPoint p = toPixel(x, y);
    if (m_drawWidth <= 1) {
        if (m_image.rect().contains(p))
            m_image.setPixelColor(p, pick(color));
    } else {
        QPainter painter(&m_image);
        const int w = m_drawWidth;
        painter.fillRect(QRect(p.x() - w / 2, p.y() - w / 2, w, w), pick(color));
    }
    m_curX = x;
    m_curY = y;
    update();
}

void PictureBox::print(const QString& text, bool newline)
{
    const QPoint at = toPixel(m_curX, m_curY);
    const QFontMetrics fm(font());
    {
        QPainter p(&m_image);
        p.setFont(font());
        p.setPen(m_fore);
        p.drawText(at.x(), at.y() + fm.ascent(), text);
    }
    // Back from pixels to the scale for the next position.
    const double ux = m_userScale ? m_width / width() : 1.0;
    const double uy = m_userScale ? m_height / height() : 1.0;
    if (newline) {
        m_curX = m_userScale ? m_left : 0;
        m_curY += fm.height() * uy;
    } else {
        m_curX += fm.horizontalAdvance(text) * ux;
    }
    update();
}
