#include "support/modal.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "app/menutree.h"
#include "app/windowtable.h"
#include "app/z_notinstalled.h"
#include "common/pacing.h"
#include "common/toolwindow.h"
#include "common/version.h"
#include "psu/psutil_7621.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

// A window whose load handler fails after its form has been built.
class Demo_brokenload : public ToolWindow {
    Q_OBJECT
public:
    Demo_brokenload() : ToolWindow(QStringLiteral("Demo_brokenload"), QSize(3000, 1500)) {}
    int unloads = 0;
    bool fail = true;

protected:
    void build(QWidget* form) override
    {
        form->setWindowTitle(QStringLiteral("Broken load"));
        (new QLabel(form))->setObjectName(QStringLiteral("Label1"));
    }
    void onLoad() override
    {
        if (fail)
            throw VError(53, QStringLiteral("File not found"));
    }
    void onUnload() override { ++unloads; }
};

class TestDispatcher : public QObject {
    Q_OBJECT

    static void closeAll()
    {
        for (ToolWindow* w : FormSlots::all())
            w->unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void init() { closeAll(); }
    void cleanupTestCase() { closeAll(); }

    void captionAndRevision()
    {
        QCOMPARE(mainWindow().windowTitle(),
                 QStringLiteral("Kelvane Electronics Voltaris and Utilities      Revision:  1.00.46"));
        QCOMPARE(revision(), QStringLiteral("1.00.46"));
        QCOMPARE(revisionOf(1, 0, 146), QStringLiteral("1.00.46"));
        QCOMPARE(revisionOf(2, 13, 5), QStringLiteral("2.13.05"));
    }

    // The menu tree as the design lists it: groups, submenus, item names,
    // captions and the names handed to popup, in order.
    void menuTree()
    {
        QMenuBar* bar = mainWindow().menuBar();
        const QStringList groups = {"Conductors", "Mathematics", "Oscillators", "PIC Utilities", "Power Supply", "R/L/C",
                                    "Components", "RS232 Terminal", "PC Utility", "Controller", "About"};
        QStringList seen;
        for (QAction* a : bar->actions())
            seen << a->text();
        QCOMPARE(seen, groups);

        // Walk the real menus and compare every item with the table.
        QStringList walked;
        int items = 0;
        for (QAction* top : bar->actions()) {
            if (!top->menu()) {
                walked << top->objectName() + "|" + top->text();
                ++items;
                continue;
            }
            for (QAction* a : top->menu()->actions()) {
                if (a->menu()) {
                    for (QAction* s : a->menu()->actions()) {
                        walked << a->menu()->objectName() + "/" + s->objectName() + "|" + s->text();
                        ++items;
                    }
                } else {
                    walked << top->menu()->objectName() + "/" + a->objectName() + "|" + a->text();
                    ++items;
                }
                QVERIFY(a->shortcut().isEmpty());
                QVERIFY(!a->isSeparator());
            }
        }
        QCOMPARE(items, 78);
        QCOMPARE(int(::menuTree().size()), 78);
        QCOMPARE(walked.first(), QStringLiteral("mconductor/zwirecalc|Wire Calc"));
        QVERIFY(walked.contains("mpsuswitcher/z8657u3|RVM8657/8 Radj (Standard: Radj+Vadj)"));
        QVERIFY(walked.contains("mrlc/zrparr|R || R"));
        QVERIFY(walked.contains("mpsumagnetics/zshuttlecalc|Torroid Shuttle"));
        QVERIFY(walked.contains("mcontroller/zeffsweeper|[9804] Switcher Efficiency Sweeper"));
        QCOMPARE(walked.last(), QStringLiteral("zabout|About"));
        // Power Supply: its first item, then the three submenus in order.
        QMenu* psu = bar->findChild<QMenu*>("mpsu");
        QVERIFY(psu);
        QStringList psuTop;
        for (QAction* a : psu->actions())
            psuTop << a->text();
        QCOMPARE(psuTop, QStringList({"Quick Efficiency", "Magnetics", "Regulator: Linear", "Regulator: Switching"}));
        // Controller order as designed (not sorted by number).
        QMenu* ctrl = bar->findChild<QMenu*>("mcontroller");
        QCOMPARE(ctrl->actions().first()->objectName(), QStringLiteral("z9656"));
        QCOMPARE(ctrl->actions().at(1)->objectName(), QStringLiteral("zbatgauge"));
        QCOMPARE(ctrl->actions().size(), 24);
    }

    // Each item hands its own name to popup.
    void menuNamesReachPopup()
    {
        QHash<QString, QString> byItem;
        for (const MenuEntry& e : ::menuTree())
            byItem[e.item] = e.name;
        QCOMPARE(byItem.value("zrvm7621"), QStringLiteral("PSutil_7621"));
        QCOMPARE(byItem.value("zzener"), QStringLiteral("Comp_Zener"));
        QCOMPARE(byItem.value("ztestform"), QStringLiteral("testform"));
        QCOMPARE(byItem.value("zrparr"), QStringLiteral("RLC_rparr"));
        QCOMPARE(byItem.value("zabout"), QStringLiteral("Z_about"));
        // Triggering a not-yet-built item opens the not-installed window.
        QAction* mono = mainWindow().menuBar()->findChild<QAction*>("zlm555monostable");
        QVERIFY(mono);
        mono->trigger();
        Z_notinstalled& ni = FormSlots::get<Z_notinstalled>();
        QVERIFY(ni.visible());
        QCOMPARE(ni.caption(), QStringLiteral("Voltaris info"));
        auto* label = ni.form()->findChild<QLabel*>("Label1");
        QCOMPARE(label->text(), QStringLiteral("This sub-program has not yet been installed."));
        QVERIFY(label->font().bold());
    }

    void nameMatching_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("rparallelr itself") << "RLC_rparallelr" << false;
        QTest::newRow("commondialogcontrol itself") << "Z_commondialogcontrol" << false;
        QTest::newRow("leading blank") << " testform" << false;
        QTest::newRow("trailing blank") << "Z_about " << false;
        QTest::newRow("microwave path") << "Math_mwpath" << false;
        QTest::newRow("monostable") << "Osc_lm555monostable" << false;
    }
    void nameMatching()
    {
        QFETCH(QString, name);
        QFETCH(bool, known);
        ToolWindow& w = windowFor(name);
        QCOMPARE(&w == &FormSlots::get<Z_notinstalled>(), !known);
    }

    // A window already on screen is only focused and keeps its place; two
    // unknown names share the one not-installed window.
    void secondChoiceOnlyFocuses()
    {
        popup("LM555 nothing");
        Z_notinstalled& ni = FormSlots::get<Z_notinstalled>();
        QVERIFY(ni.visible());
        QCOMPARE(ni.subWindow()->pos(), QPoint(twips(100), twips(100)));
        ni.subWindow()->move(200, 150);
        popup("Math_mwpath");
        QCOMPARE(ni.subWindow()->pos(), QPoint(200, 150));
        int shown = 0;
        for (QMdiSubWindow* s : mainWindow().mdiArea()->subWindowList())
            if (!s->isHidden())
                ++shown;
        QCOMPARE(shown, 1);
        // A window hidden by code is placed again and shown.
        ni.hide();
        popup("Math_mwpath");
        QVERIFY(ni.visible());
        QCOMPARE(ni.subWindow()->pos(), QPoint(twips(100), twips(100)));
    }

    // The close box unloads the window (its form and controls go); the next
    // choice loads it afresh at 100, 100.
    void closedWindowComesBack()
    {
        popup("Osc_lm555monostable");
        Z_notinstalled& ni = FormSlots::get<Z_notinstalled>();
        ni.subWindow()->move(300, 200);
        QPointer<QWidget> form = ni.formIfLoaded();
        QPointer<QMdiSubWindow> frame = ni.subWindow();
        QVERIFY(form && frame);
        frame->close();
        QVERIFY(!ni.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QVERIFY(frame.isNull());
        QVERIFY(!mainWindow().mdiArea()->subWindowList().contains(frame.data()));
        popup("Osc_lm555monostable");
        QVERIFY(ni.isLoaded());
        QVERIFY(ni.formIfLoaded() != nullptr);
        QCOMPARE(ni.subWindow()->pos(), QPoint(twips(100), twips(100)));
    }

    // The menu's names in their own letter case open the window of the
    // lower-cased name.
    void caseFoldingOpensTheWindow()
    {
        auto& rvm = FormSlots::get<PSUtil_7621>();
        QVERIFY(!rvm.isLoaded());
        popup("PSutil_7621");
        QVERIFY(rvm.isLoaded());
        QVERIFY(rvm.subWindow() && !rvm.subWindow()->isHidden());
        QVERIFY(!FormSlots::get<Z_notinstalled>().isLoaded());
        QCOMPARE(mainWindow().mdiArea()->activeSubWindow(), rvm.subWindow());
    }

    // A load handler that fails: its alert, and no half-built window placed
    // or shown; the close handler (which saves settings) does not run. Once
    // the fault is gone the window opens as usual.
    void failedLoadLeavesTheWindowUnloaded()
    {
        mainWindow();
        auto& w = FormSlots::get<Demo_brokenload>();
        w.fail = true;
        ModalAnswer alert("Command1_0");
        A_main::popupWindow(w);
        QVERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Broken load"));
        QVERIFY(alert.text().contains(QStringLiteral("File not found")));
        ModalAnswer second("Command1_0", 200);
        QTest::qWait(200);
        QVERIFY(!second.answered()); // one alert, not one per popup step
        QVERIFY(!w.isLoaded());
        QCOMPARE(w.unloads, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QMdiSubWindow* s : mainWindow().mdiArea()->subWindowList())
            QVERIFY(s->widget() == nullptr || s->widget()->objectName() != QStringLiteral("Demo_brokenload"));

        w.fail = false;
        A_main::popupWindow(w);
        QVERIFY(w.isLoaded());
        QVERIFY(w.visible());
        QCOMPARE(w.subWindow()->pos(), QPoint(twips(100), twips(100)));
    }
};

VOLTARIS_TEST(TestDispatcher);
#include "test_dispatcher.moc"
