#include "support/testmain.h"

#include "app/a_main.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>

// A tool window larger than the frame's MDI area can be scrolled into view
// in every part, at the frame's design size.
class TestFrameScroll : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void largeWindowsCanBeReached_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("meter controller") << QStringLiteral("ctrl_7695_hp34401");
        QTest::newRow("7441 tester") << QStringLiteral("ctrl_9656_7441tester");
    }
    void largeWindowsCanBeReached()
    {
        QFETCH(QString, name);
        A_main& frame = mainWindow();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QMdiArea* mdi = frame.mdiArea();
        QCOMPARE(mdi->size(), QSize(16530 / 15, 9225 / 15));
        QWidget* view = mdi->viewport();

        popup(name);
        ToolWindow& w = windowFor(name);
        QMdiSubWindow* sub = w.subWindow();
        QVERIFY(sub && sub->isVisible());
        // Otherwise the case shows nothing.
        QVERIFY2(sub->height() > view->height(), "window no taller than the area");

        QScrollBar* v = mdi->verticalScrollBar();
        QScrollBar* h = mdi->horizontalScrollBar();
        QTRY_VERIFY(v->isVisible());
        QVERIFY(v->maximum() > 0);

        // Scrolled to the end, the window's bottom right corner is in view...
        v->setValue(v->maximum());
        h->setValue(h->maximum());
        QTRY_VERIFY(view->rect().contains(sub->geometry().bottomRight()));
        // ...and back at the start, its top left corner.
        v->setValue(v->minimum());
        h->setValue(h->minimum());
        QTRY_VERIFY(view->rect().contains(sub->geometry().topLeft()));

        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // With nothing left to reach, the bars go away.
        QTRY_VERIFY(!v->isVisible());
        frame.hide();
    }
};

VOLTARIS_TEST(TestFrameScroll);
#include "test_framescroll.moc"
