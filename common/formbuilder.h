#pragma once
// Small helpers for building forms from their design tables: positions and
// sizes in twips, control-array names, the program's fonts and colours.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include "toolwindow.h"

// "MS Sans Serif" of the designs becomes the platform's default sans-serif.
QFont uiFont(double points, bool bold = false);

// The object name of element i of a control array: "spec_3".
inline QString arrayName(const QString& name, int index)
{
    return name + u'_' + QString::number(index);
}

// Creates a control on parent with an object name and a twips rectangle.
template <class W>
W* place(QWidget* parent, const QString& name, double left, double top, double width, double height)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return w;
}

class QLabel;
// A caption label with its text, one text line high unless told otherwise.
QLabel* placeLabel(QWidget* parent, const QString& text, double left, double top, double width,
                   double height = 255, const QString& name = QString());

class QLineEdit;
// Makes a box an output: read-only with the pale background of results.
void setOutputBox(QLineEdit* box, const QColor& tint = QColor(192, 255, 255));

// Sets a widget's background colour (text boxes, labels, pictures).
void setBackColor(QWidget* w, const QColor& c);
void setForeColor(QWidget* w, const QColor& c);

// Colours the Parts name.
namespace colors {
const QColor paleCyan(192, 255, 255);
const QColor green(0, 255, 0);
const QColor red(255, 0, 0);
const QColor grey(128, 128, 128);
const QColor white(255, 255, 255);
const QColor black(0, 0, 0);
} // namespace colors
