#include "psutil_flybacksch.h"

#include "common/formbuilder.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {

constexpr int picW = 400;
constexpr int picH = 283;
constexpr int groundY = 255;

// A winding between y0 and y1 at x, its turns bulging to the side dir (+1/-1).
void coil(QPainter& p, int x, int y0, int y1, int turns, int dir)
{
    const double h = double(y1 - y0) / turns;
    QPainterPath path(QPointF(x, y0));
    for (int k = 0; k < turns; ++k) {
        const QRectF r(x - h / 2, y0 + k * h, h, h);
        path.arcTo(r, 90, dir > 0 ? -180 : 180);
    }
    p.drawPath(path);
}

// A diode from (x, y) pointing right, 20 wide.
void diode(QPainter& p, int x, int y)
{
    QPolygonF tri;
    tri << QPointF(x, y - 8) << QPointF(x, y + 8) << QPointF(x + 14, y);
    p.setBrush(Qt::black);
    p.drawPolygon(tri);
    p.setBrush(Qt::NoBrush);
    p.drawLine(x + 14, y - 8, x + 14, y + 8);
}

// A capacitor standing between y0 (top lead) and the ground rail at x.
void capacitor(QPainter& p, int x, int y0)
{
    const int mid = (y0 + groundY) / 2;
    p.drawLine(x, y0, x, mid - 4);
    p.drawLine(x - 12, mid - 4, x + 12, mid - 4);
    p.drawLine(x - 12, mid + 4, x + 12, mid + 4);
    p.drawLine(x, mid + 4, x, groundY);
}

void dot(QPainter& p, int x, int y)
{
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(x, y), 3.5, 3.5);
    p.setBrush(Qt::NoBrush);
}

void node(QPainter& p, int x, int y)
{
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(x, y), 2.5, 2.5);
    p.setBrush(Qt::NoBrush);
}

class SchematicPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        drawFlybackSchematic(p);
    }
};

} // namespace

void drawFlybackSchematic(QPainter& p)
{
    p.fillRect(0, 0, picW, picH, Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::black, 1.6);
    p.setPen(pen);
    QFont f = p.font();
    f.setPixelSize(12);
    p.setFont(f);

    // Ground rail with its symbol.
    p.drawLine(40, groundY, 370, groundY);
    p.drawLine(195, groundY, 195, groundY + 8);
    p.drawLine(183, groundY + 8, 207, groundY + 8);
    p.drawLine(188, groundY + 13, 202, groundY + 13);
    p.drawLine(192, groundY + 18, 198, groundY + 18);

    // Input: VIN with its capacitor, feeding the top of the primary.
    p.drawText(20, 28, QStringLiteral("VIN"));
    node(p, 40, 40);
    p.drawLine(40, 40, 140, 40);
    capacitor(p, 40, 40);

    // Primary NP, its lower end VSW switched to ground.
    p.drawLine(140, 40, 140, 60);
    coil(p, 140, 60, 150, 4, +1);
    p.drawText(100, 110, QStringLiteral("NP"));
    dot(p, 128, 146);
    p.drawLine(140, 150, 140, 175);
    node(p, 140, 175);
    p.drawText(92, 180, QStringLiteral("VSW"));
    // The switch: a blade from VSW towards the ground contact.
    p.drawLine(140, 175, 140, 190);
    p.drawLine(140, 190, 158, 222);
    p.drawLine(140, 228, 140, groundY);
    node(p, 140, 228);

    // The core between the windings.
    p.drawLine(166, 35, 166, 215);
    p.drawLine(172, 35, 172, 215);

    // Secondary NS1 to VOUT1 through VF1.
    coil(p, 198, 40, 110, 3, -1);
    p.drawText(215, 80, QStringLiteral("NS1"));
    dot(p, 210, 44);
    p.drawLine(198, 40, 198, 30);
    p.drawLine(198, 30, 250, 30);
    diode(p, 250, 30);
    p.drawText(246, 20, QStringLiteral("VF1"));
    p.drawLine(264, 30, 320, 30);
    node(p, 320, 30);
    p.drawLine(320, 30, 360, 30);
    p.drawText(340, 22, QStringLiteral("VOUT1"));
    capacitor(p, 320, 30);
    // Its return runs down between the core and NS2.
    p.drawLine(198, 110, 198, 120);
    p.drawLine(198, 120, 179, 120);
    p.drawLine(179, 120, 179, groundY);

    // Secondary NS2 to VOUT2 through VF2.
    coil(p, 198, 150, 200, 2, -1);
    p.drawText(215, 185, QStringLiteral("NS2"));
    dot(p, 210, 154);
    p.drawLine(198, 150, 198, 140);
    p.drawLine(198, 140, 240, 140);
    p.drawLine(240, 140, 240, 160);
    p.drawLine(240, 160, 250, 160);
    diode(p, 250, 160);
    p.drawText(246, 150, QStringLiteral("VF2"));
    p.drawLine(264, 160, 350, 160);
    node(p, 350, 160);
    p.drawLine(350, 160, 375, 160);
    p.drawText(340, 150, QStringLiteral("VOUT2"));
    capacitor(p, 350, 160);
    p.drawLine(198, 200, 198, groundY);
}

PSUtil_flybacksch::PSUtil_flybacksch() : ToolWindow(QStringLiteral("PSUtil_flybacksch"), QSize(picW * 15, picH * 15))
{
}

void PSUtil_flybacksch::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Flyback basic schematic"));
    auto* pic = new SchematicPicture(form);
    pic->setObjectName(QStringLiteral("Picture1"));
    pic->setGeometry(0, 0, picW, picH);
    pic->setFixedSize(picW, picH);
}
