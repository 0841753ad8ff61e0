#include "formbuilder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

QFont uiFont(double points, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qMax(1, qRound(points * 96.0 / 72.0)));
    f.setBold(bold);
    return f;
}

QFont fixedFont(double points)
{
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPixelSize(qMax(1, qRound(points * 96.0 / 72.0)));
    return f;
}

QFont formFont()
{
    return uiFont(8.25);
}

void setBackColor(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setForeColor(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

QLabel* placeLabel(QWidget* parent, const QString& text, double left, double top, double width, double height,
                   const QString& name)
{
    auto* label = place<QLabel>(parent, name, left, top, width, height);
    label->setText(text);
    return label;
}

void setOutputBox(QLineEdit* box, const QColor& tint)
{
    box->setReadOnly(true);
    setBackColor(box, tint);
}
