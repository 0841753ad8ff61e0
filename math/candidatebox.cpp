#include "candidatebox.h"

#include <QPainter>

CandidateBox::CandidateBox(QWidget* parent, const QString& name, const QString& text) : QWidget(parent), m_text(text)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CandidateBox::setBackColor(const QColor& c)
{
    if (c == m_back)
        return;
    m_back = c;
    update();
}

void CandidateBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // Dark legend colours take a light digit so the digit stays readable.
    p.setPen(m_back.lightness() < 110 ? Qt::white : Qt::black);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, m_text);
}
