#pragma once
// Small helpers for building forms from their design tables: positions and
// sizes in twips, control-array names, the program's fonts and colours.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include "toolwindow.h"

// The designs' "MS Sans Serif" at a point size. Their controls were sized
// for that narrow face at 96 dots per inch, where a twip is 1/15 pixel; the
// platform's default sans-serif is wider and cuts many captions. Liberation
// Sans has the advance widths of the Windows sans-serif face, and a pixel
// size (not a point size) keeps captions in step with the twips geometry
// whatever the display's resolution.
QFont uiFont(double points, bool bold = false);
// The font of every form, inherited by each control that sets none: the
// designs' default 8.25-point face.
QFont formFont();
// The one fixed-pitch face of lists, logs, terminals and code boxes, sized
// like uiFont. It is named rather than taken from the machine's "monospace"
// preference, which on some desktops resolves to a face that is not fixed
// pitch (or differs from machine to machine); Liberation Mono ships with
// the program's font packages.
QFont fixedFont(double points = 9);

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
