#include "support/testmain.h"
#include "support/typing.h"

#include "psuwindows.h"

#include "app/a_main.h"
#include "common/designtool.h"
#include "common/formbuilder.h"
#include "psu/psutil_7621.h"
#include "psu/psutil_8657a.h"
#include "psu/psutil_8657b.h"
#include "psu/psutil_8657c.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QTest>

namespace {
DesignTool& openRadj(int board)
{
    switch (board) {
    case 0:
        return openFromMenu<PSUtil_7621>("zrvm7621");
    case 1:
        return openFromMenu<PSUtil_8657a>("z8657u1");
    case 2:
        return openFromMenu<PSUtil_8657b>("z8657u2");
    default:
        return openFromMenu<PSUtil_8657c>("z8657u3");
    }
}
} // namespace

class TestRadjWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWindowOpensFromItsMenuItem_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::newRow("core inductor") << "zinductorcore" << "Solid Core Inductor Calculator";
        QTest::newRow("LC filter") << "zlcfilter" << "Forward  Converter LC Filter Design";
        QTest::newRow("shuttle") << "zshuttlecalc" << "Torroid Shuttle Calculator";
        QTest::newRow("push-pull") << "zpushpull" << "Push-Pull Transformer";
        QTest::newRow("7621") << "zrvm7621" << "RVM7621 Radj";
        QTest::newRow("8657a") << "z8657u1" << "RVM8657 Radj (Standard)";
        QTest::newRow("8657b") << "z8657u2" << "RVM8657 Radj (45-80V Option)";
        QTest::newRow("8657c") << "z8657u3" << "RVM8657 Radj (Standard:  Radj+Vadj)";
    }
    void everyWindowOpensFromItsMenuItem()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        auto* action = mainWindow().menuBar()->findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();
        ToolWindow* opened = nullptr;
        for (ToolWindow* w : FormSlots::all())
            if (w->isLoaded() && w->caption() == caption)
                opened = w;
        QVERIFY(opened);
        QVERIFY(opened->formIfLoaded()->isVisible());
        opened->unload();
    }

    void sliderWindowsTyped_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("radj");
        QTest::newRow("7621 170 V") << 0 << "170" << "55.887";
        QTest::newRow("7621 150 V") << 0 << "150" << "346.580";
        QTest::newRow("7621 142.65 V") << 0 << "142.65" << "Open";
        QTest::newRow("7621 199.975 V") << 0 << "199.975" << "Ground";
        QTest::newRow("8657a 175 V") << 1 << "175" << "32.397";
        QTest::newRow("8657b 60 V") << 2 << "60" << "61.675";
        QTest::newRow("8657b 45.296 V") << 2 << "45.296" << "Open";
    }
    void sliderWindowsTyped()
    {
        QFETCH(int, board);
        QFETCH(QString, typed);
        QFETCH(QString, radj);
        DesignTool& w = openRadj(board);
        retype(spec(w, 0), typed);
        QCOMPARE(spec(w, 2)->text(), radj);
        QCOMPARE(spec(w, 2)->palette().color(QPalette::Base), QColor(128, 255, 255));
        QVERIFY(spec(w, 2)->isReadOnly());
    }

    void limitsOnEnter()
    {
        DesignTool& w = openRadj(0);
        QCOMPARE(spec(w, 1)->text(), QString("9.746"));
        QVERIFY(spec(w, 1)->isReadOnly());
        retype(spec(w, 0), "120");
        QCOMPARE(spec(w, 0)->text(), QString("120"));
        QCOMPARE(spec(w, 2)->text(), QString("Open"));
        pressEnter(spec(w, 0));
        QCOMPARE(spec(w, 0)->text(), QString("142.500"));
        QCOMPARE(spec(w, 2)->text(), QString("Open"));
        retype(spec(w, 0), "250");
        leaveBox(spec(w, 0));
        QCOMPARE(spec(w, 0)->text(), QString("200.000"));
        QCOMPARE(spec(w, 2)->text(), QString("Ground"));
    }

    void sliders_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("vout");
        QTest::addColumn<QString>("radj");
        QTest::newRow("7621 170 V") << 0 << 1700 << "170.000" << "55.887";
        QTest::newRow("8657a right end") << 1 << 2010 << "200.796" << "Ground";
        QTest::newRow("8657a 175 V") << 1 << 1750 << "175.000" << "32.397";
        QTest::newRow("8657a left end") << 1 << 1510 << "151.032" << "Open";
        QTest::newRow("8657b right end") << 2 << 826 << "82.558" << "Ground";
        QTest::newRow("8657b left end") << 2 << 452 << "45.296" << "Open";
    }
    void sliders()
    {
        QFETCH(int, board);
        QFETCH(int, position);
        QFETCH(QString, vout);
        QFETCH(QString, radj);
        DesignTool& w = openRadj(board);
        auto* slider = w.form()->findChild<QSlider*>("vset");
        QVERIFY(slider);
        slider->setValue(position);
        QCOMPARE(spec(w, 0)->text(), vout);
        QCOMPARE(spec(w, 2)->text(), radj);
    }

    void openingShowsTheDefaultsResult_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<QString>("vout");
        QTest::addColumn<QString>("radj");
        QTest::newRow("7621") << 0 << "142.500" << "Open";
        QTest::newRow("8657a") << 1 << "151.032" << "Open";
        QTest::newRow("8657b") << 2 << "49.296" << "334.324";
    }
    void openingShowsTheDefaultsResult()
    {
        QFETCH(int, board);
        QFETCH(QString, vout);
        QFETCH(QString, radj);
        DesignTool& w = openRadj(board);
        QCOMPARE(spec(w, 0)->text(), vout);
        QCOMPARE(spec(w, 2)->text(), radj);
    }

    void vadjWindow_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("radj");
        QTest::addColumn<QColor>("color");
        QTest::newRow("defaults") << -1 << "" << "144.381" << QColor(0, 255, 0);
        QTest::newRow("Vadj 1 V") << 1 << "1.0" << "Negative" << QColor(255, 0, 0);
        QTest::newRow("Vout 151 V") << 0 << "151.0" << "Radj=Open" << QColor(0, 255, 0);
        QTest::newRow("Vout 250 V while typing") << 0 << "250" << "Negative" << QColor(255, 0, 0);
    }
    void vadjWindow()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, radj);
        QFETCH(QColor, color);
        DesignTool& w = openRadj(3);
        if (index >= 0)
            retype(spec(w, index), typed);
        QCOMPARE(spec(w, 2)->text(), radj);
        QCOMPARE(spec(w, 2)->palette().color(QPalette::Base), color);
    }

    void vadjLimitsOnEnterOnly()
    {
        DesignTool& w = openRadj(3);
        retype(spec(w, 0), "250");
        QCOMPARE(spec(w, 0)->text(), QString("250"));
        pressEnter(spec(w, 0));
        QCOMPARE(spec(w, 0)->text(), QString("200.796"));
        retype(spec(w, 1), "9");
        pressEnter(spec(w, 1));
        QCOMPARE(spec(w, 1)->text(), QString("5.500"));
        retype(spec(w, 0), "5");
        leaveBox(spec(w, 0));
        QCOMPARE(spec(w, 0)->text(), QString("5.000"));
        pressEnter(spec(w, 0));
        QCOMPARE(spec(w, 0)->text(), QString("75.000"));
        // Leaving re-formats without limits.
        retype(spec(w, 1), "7");
        leaveBox(spec(w, 1));
        QCOMPARE(spec(w, 1)->text(), QString("7.000"));
    }

    void vadjZeroDivisor()
    {
        // 1.24 + 1208 x 0.124 V: the bottom resistor's current is all
        // supplied by the top one.
        DesignTool& w = openRadj(3);
        giveFocus(spec(w, 0));
        paste(spec(w, 0), "151.032");
        QCOMPARE(spec(w, 2)->text(), QString("Negative"));
        QCOMPARE(spec(w, 2)->palette().color(QPalette::Base), QColor(255, 0, 0));
    }

    void vadjAdvicePicture()
    {
        DesignTool& w = openRadj(3);
        auto* picture = w.form()->findChild<QLabel*>("Picture1");
        QVERIFY(picture);
        const QImage img = picture->pixmap().toImage();
        QCOMPARE(img.size(), QSize(340, 240));
        int ink = 0, red = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                ink += c != Qt::white;
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        QVERIFY(ink > 2000);
        QVERIFY(red > 50); // the Vbias warning
    }
};

VOLTARIS_TEST(TestRadjWindows);
#include "test_radjwindows.moc"
