#include "linestroke.h"

#include "common/toolwindow.h"

#include <QPainter>

LineStroke::LineStroke(QWidget* parent, const QString& name, QLineF twipsLine, int widthPx, QColor color)
    : QWidget(parent),
      m_line(twips(twipsLine.x1()), twips(twipsLine.y1()), twips(twipsLine.x2()), twips(twipsLine.y2())),
      m_width(widthPx), m_color(color)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int pad = widthPx / 2 + 1;
    const QRect box = QRectF(m_line.p1(), m_line.p2()).normalized().toAlignedRect().adjusted(-pad, -pad, pad, pad);
    setGeometry(box);
}

void LineStroke::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void LineStroke::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(m_color, m_width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(m_line.translated(-pos()));
}
