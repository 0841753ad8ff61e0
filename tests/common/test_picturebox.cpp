#include "support/testmain.h"

#include "common/picturebox.h"

#include <QTest>
#include <limits>

namespace {
const QColor white(255, 255, 255);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);

QColor px(PictureBox& b, int x, int y)
{
    return b.image().pixelColor(x, y);
}
} // namespace

class TestPictureBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 200 x 100 pixels showing x 0..100 and y 0..10 with y growing upwards.
    void flippedScale()
    {
        PictureBox b;
        b.resize(200, 100);
        b.setScale(0, 10, 100, -10);
        b.cls();
        QCOMPARE(b.toPixel(50, 5), QPoint(100, 50));
        QCOMPARE(b.toPixel(0, 10), QPoint(0, 0));
        QCOMPARE(b.toPixel(25, 8), QPoint(50, 20));

        b.pset(50, 5, red);
        QCOMPARE(px(b, 100, 50), red);
        QCOMPARE(px(b, 101, 50), white);
        QCOMPARE(b.point(50, 5), red);

        b.line(10, 2, 90, 2, blue);
        for (int x : {20, 100, 180})
            QCOMPARE(px(b, x, 80), blue);
        QCOMPARE(px(b, 100, 79), white);
        QCOMPARE(px(b, 100, 81), white);
        QCOMPARE(px(b, 19, 80), white);
        QCOMPARE(b.currentX(), 90.0);
        QCOMPARE(b.currentY(), 2.0);

        // Higher y is higher on screen.
        b.lineTo(90, 9, green);
        QCOMPARE(px(b, 180, 10), green);
        QCOMPARE(px(b, 180, 50), green);
        QCOMPARE(px(b, 180, 79), green);
    }

    void boxesAndCircles()
    {
        PictureBox b;
        b.resize(200, 100);
        b.setScale(0, 10, 100, -10);
        b.cls();
        b.box(20, 8, 40, 6, red, true); // pixels 40..80 x 20..40
        QCOMPARE(px(b, 60, 30), red);
        QCOMPARE(px(b, 40, 20), red);
        QCOMPARE(px(b, 79, 39), red);
        QCOMPARE(px(b, 81, 30), white);
        QCOMPARE(px(b, 60, 41), white);

        b.box(60, 8, 80, 6, blue); // outline only: pixels 120..160 x 20..40
        QCOMPARE(px(b, 120, 30), blue);
        QCOMPARE(px(b, 140, 20), blue);
        QCOMPARE(px(b, 140, 30), white);

        b.setFillSolid(true);
        b.setFillColor(green);
        b.box(60, 4, 80, 2, blue); // pixels 120..160 x 60..80
        QCOMPARE(px(b, 140, 70), green);
        QCOMPARE(px(b, 120, 70), blue);

        b.setFillSolid(false);
        b.cls();
        b.circle(50, 5, 10, red); // radius 10 units = 20 pixels
        QCOMPARE(px(b, 120, 50), red);
        QCOMPARE(px(b, 80, 50), red);
        QCOMPARE(px(b, 100, 30), red);
        QCOMPARE(px(b, 100, 50), white);
        QCOMPARE(px(b, 125, 50), white);
    }

    void widthColoursAndText()
    {
        PictureBox b;
        b.resize(100, 100);
        QCOMPARE(b.scaleWidth(), 100.0); // pixels without a scale
        b.setBackColor(blue);
        QCOMPARE(px(b, 0, 0), blue);
        QCOMPARE(px(b, 99, 99), blue);

        b.setDrawWidth(3);
        b.setForeColor(red);
        b.line(10, 50, 90, 50);
        QCOMPARE(px(b, 50, 49), red);
        QCOMPARE(px(b, 50, 51), red);
        QCOMPARE(px(b, 50, 53), blue);

        b.setScale(0, 0, 10, 10);
        b.setCurrentX(1);
        b.setCurrentY(1);
        b.setForeColor(white);
        b.print(QStringLiteral("WWWW"));
        QCOMPARE(b.currentX(), 0.0);
        QVERIFY(b.currentY() > 1);
        int lit = 0;
        for (int y = 10; y < 10 + QFontMetrics(b.font()).height(); ++y)
            for (int x = 10; x < 60; ++x)
                lit += px(b, x, y) != blue;
        QVERIFY(lit > 10);
        const double y = b.currentY();
        b.print(QStringLiteral("a"), false);
        QCOMPARE(b.currentY(), y);
        QVERIFY(b.currentX() > 0);

        b.cls();
        QCOMPARE(px(b, 20, 15), blue);
        QCOMPARE(b.currentX(), 0.0);
    }

    // What is drawn stays through repaints, hiding and growing the box.
    void survivesRepaint()
    {
        PictureBox b;
        b.resize(120, 80);
        b.setScale(0, 0, 12, 8);
        b.cls();
        b.box(1, 1, 3, 3, red, true);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        b.repaint();
        QImage shown = b.grab().toImage();
        QCOMPARE(shown.pixelColor(20, 20), red);
        QCOMPARE(shown.pixelColor(50, 50), white);
        b.hide();
        b.show();
        b.resize(240, 160);
        b.repaint();
        shown = b.grab().toImage();
        QCOMPARE(shown.pixelColor(20, 20), red);
        QCOMPARE(px(b, 20, 20), red);
        QCOMPARE(px(b, 200, 150), white);
        // The scale now spans the larger box.
        QCOMPARE(b.toPixel(6, 4), QPoint(120, 80));
    }

    // A background picture fills the box, scaled; drawing goes over it, and
    // cls() or a new picture brings back the bare picture.
    void backgroundPicture()
    {
        PictureBox b;
        b.resize(100, 50);
        b.setScale(0, 0, 1000, 1000);
        QImage pic(10, 10, QImage::Format_RGB32);
        pic.fill(blue);
        pic.setPixelColor(0, 0, green); // the top-left tenth
        b.setPicture(pic);
        QCOMPARE(px(b, 5, 2), green);
        QCOMPARE(px(b, 50, 25), blue);
        QCOMPARE(px(b, 99, 49), blue);
        b.line(0, 500, 1000, 500, red);
        QCOMPARE(px(b, 50, 25), red);
        b.cls();
        QCOMPARE(px(b, 50, 25), blue);
        b.line(0, 500, 1000, 500, red);
        b.setPicture(pic);
        QCOMPARE(px(b, 50, 25), blue);
        QCOMPARE(b.currentX(), 0.0);
        // No picture: the back colour again.
        b.setPicture(QImage());
        QCOMPARE(px(b, 5, 2), white);
        QCOMPARE(px(b, 50, 25), white);
    }

    void oddArguments()
    {
        PictureBox b;
        b.resize(50, 50);
        b.setScale(0, 0, 0, 10); // no mapping: ignored
        QCOMPARE(b.scaleWidth(), 50.0);
        const double inf = std::numeric_limits<double>::infinity();
        b.line(-1e300, 5, 1e300, 5, red);
        b.line(0, 0, inf, std::nan(""), red);
        b.circle(25, 25, 1e300, red);
        b.pset(1e300, -1e300, red);
        b.box(-1e9, -1e9, 1e9, 1e9, green, true);
        QCOMPARE(px(b, 25, 25), green);
        b.setDrawWidth(-5);
        QCOMPARE(b.drawWidth(), 1);
    }
};

VOLTARIS_TEST(TestPictureBox);
#include "test_picturebox.moc"
