// The LED driver and dual potentiometer front panels: their sliders and
// switches stay consistent, their port lists are filled, and nothing is
// ever opened or sent.

#include "support/alertsink.h"
#include "support/ptypair.h"
#include "support/testmain.h"

#include "common/formbuilder.h"
#include "common/portcontroller.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_7251_leddriver.h"
#include "displays/ctrl_7510_dualpot.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

#include <optional>

namespace {

template <class W>
struct Panel {
    Panel()
    {
        w.load();
        w.show();
    }
    ~Panel()
    {
        w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }
    template <class T>
    T* ctl(const QString& name) const
    {
        return w.form()->template findChild<T*>(name);
    }
    QScrollBar* bar(const char* name, int i) const { return ctl<QScrollBar>(arrayName(name, i)); }
    QString shown(const char* name, int i) const { return ctl<QLineEdit>(arrayName(name, i))->text(); }
    QStringList counts() const
    {
        return {shown("dcdisp", 0), shown("dcdisp", 1), shown("dcdisp", 2), shown("psdisp", 0),
                shown("psdisp", 1), shown("pdisp", 0),  shown("pdisp", 1)};
    }
    QRadioButton* option(const char* name, int i) const { return ctl<QRadioButton>(arrayName(name, i)); }
    // A click on the option's circle.
    void click(const char* name, int i) const
    {
        QRadioButton* b = option(name, i);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    QComboBox* portselect() const { return ctl<QComboBox>("portselect"); }

    W& w = FormSlots::get<W>();
};

const char* const switches[] = {"mute0", "mute1", "zc0", "zc1", "apwr", "ampen"};

} // namespace

class ScreensTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dutyRange()
    {
        const QList<QPair<int, int>> cases{{0, 255}, {1, 255}, {2, 254}, {55, 201}, {254, 2}, {255, 1}};
        for (const auto& [period, max] : cases)
            QCOMPARE(Ctrl_7251_leddriver::dutyMax(period), max);
    }

    void ledDriverAtLoad()
    {
        Panel<Ctrl_7251_leddriver> p;
        QCOMPARE(p.w.caption(), QStringLiteral("7251B Dual Color LED controller"));
        QCOMPARE(p.counts(), (QStringList{"0", "0", "0", "1", "3", "255", "255"}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(p.bar("dutycycle", i)->maximum(), 255);
            QCOMPARE(p.bar("dutycycle", i)->value(), 255);
        }
        QCOMPARE(p.bar("prescale", 0)->orientation(), Qt::Vertical);
    }

    // The R/G period limits red and green, not ALL, while it is dragged and
    // when it settles; a period at the top gives the full 0..255.
    void dutyFollowsPeriod()
    {
        Panel<Ctrl_7251_leddriver> p;
        QScrollBar* rg = p.bar("period", 1);
        rg->setSliderDown(true);
        rg->setSliderPosition(55);
        QCOMPARE(p.bar("dutycycle", 1)->maximum(), 201);
        QCOMPARE(p.bar("dutycycle", 2)->maximum(), 201);
        QCOMPARE(p.bar("dutycycle", 0)->maximum(), 255);
        QCOMPARE(p.shown("pdisp", 1), QStringLiteral("200"));
        rg->setSliderDown(false);
        p.bar("dutycycle", 1)->setValue(1);
        QCOMPARE(p.counts(), (QStringList{"0", "200", "0", "1", "3", "255", "200"}));
        // The duty count never exceeds the period count + 1.
        p.bar("dutycycle", 2)->setValue(0);
        QCOMPARE(p.shown("dcdisp", 2), QStringLiteral("201"));
        QScrollBar* all = p.bar("period", 0);
        all->setValue(100);
        QCOMPARE(p.bar("dutycycle", 0)->maximum(), 156);
        QCOMPARE(p.shown("dcdisp", 0), QStringLiteral("0"));
        all->setValue(0);
        QCOMPARE(p.bar("dutycycle", 0)->maximum(), 255);
        QCOMPARE(p.bar("dutycycle", 1)->maximum(), 201);
        p.bar("prescale", 1)->setValue(0);
        QCOMPARE(p.shown("psdisp", 1), QStringLiteral("255"));
    }

    void dualPotAtLoad()
    {
        Panel<Ctrl_7510_dualpot> p;
        QCOMPARE(p.w.caption(), QStringLiteral("MAX5408 Dual pot driver (7510 platform)"));
        for (const char* name : switches) {
            QVERIFY2(p.option(name, 0)->isChecked(), name);
            QVERIFY2(!p.option(name, 1)->isChecked(), name);
        }
        for (int i = 0; i < 2; ++i) {
            auto* pot = p.ctl<QSlider>(arrayName("pot", i));
            QCOMPARE(pot->value(), 31);
            QCOMPARE(pot->maximum(), 31);
        }
        QCOMPARE(p.option("mute1", 1)->text(), QStringLiteral("Mute On"));
    }

    // Each switch flips by a click on either option, alone, silently, and
    // with or without a port listed.
    void switchesFlip_data()
    {
        QTest::addColumn<bool>("withPort");
        QTest::newRow("no port listed") << false;
        QTest::newRow("port listed") << true;
    }
    void switchesFlip()
    {
        QFETCH(bool, withPort);
        std::optional<PtyPair> pty;
        if (withPort)
            pty.emplace();
        Panel<Ctrl_7510_dualpot> p;
        QCOMPARE(withPort, pty && p.portselect()->findText(pty->path()) > 0);
        AlertSink alerts;
        for (const char* name : switches) {
            p.click(name, 1);
            QVERIFY2(p.option(name, 1)->isChecked() && !p.option(name, 0)->isChecked(), name);
        }
        // The others were not touched by mute0's click, nor it by theirs.
        p.click("mute0", 0);
        QVERIFY(p.option("mute0", 0)->isChecked() && !p.option("mute0", 1)->isChecked());
        QVERIFY(p.option("mute1", 1)->isChecked());
        QTest::qWait(30);
        QVERIFY(alerts.titles.isEmpty());
        if (withPort)
            QVERIFY(!PortController::heldOpen(pty->path()));
    }

    // The lists are filled, and a choice opens nothing.
    void portChoiceOpensNothing()
    {
        PtyPair pty;
        Panel<Ctrl_7251_leddriver> led;
        Panel<Ctrl_7510_dualpot> pot;
        const int opens = pty.opens();
        for (QComboBox* list : {led.portselect(), pot.portselect()}) {
            QCOMPARE(list->itemText(0), QStringLiteral("Select"));
            QCOMPARE(list->currentIndex(), 0);
            list->setCurrentIndex(list->findText(pty.path()));
            QCOMPARE(list->currentText(), pty.path());
        }
        QTest::qWait(30);
        QVERIFY(!PortController::heldOpen(pty.path()));
        QCOMPARE(pty.opens(), opens);
    }
};

VOLTARIS_TEST(ScreensTest);
#include "test_screens.moc"
