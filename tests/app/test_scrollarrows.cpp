#include "support/alertsink.h"
#include "support/testmain.h"

#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QAbstractSlider>
#include <QSignalBlocker>
#include <QTest>

// Left and Right move the thumb of every horizontal bar of every window the
// arrow's way (Qt's scroll bars invert them unless told otherwise).
class TestScrollArrows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyHorizontalBar()
    {
        AlertSink alerts; // a window that alerts on load must not block the walk
        int bars = 0;
        QStringList wrong;
        for (const WindowEntry& e : windowTable()) {
            ToolWindow& w = e.instance();
            w.load();
            if (!w.isLoaded())
                continue;
            // The window's own bars (named controls), not those inside its
            // text boxes and lists, which never take the focus.
            for (QAbstractSlider* bar : w.form()->findChildren<QAbstractSlider*>()) {
                if (bar->orientation() != Qt::Horizontal || bar->objectName().isEmpty()
                    || bar->maximum() - bar->minimum() < 2)
                    continue;
                ++bars;
                QVERIFY2(!bar->invertedAppearance() && bar->layoutDirection() == Qt::LeftToRight,
                         qPrintable(e.name + u' ' + bar->objectName()));
                // A higher value stands further right: Left must lower it.
                // The window's own handling (a board that is not there may
                // reset the value) is kept out of the measure.
                const QSignalBlocker quiet(bar);
                const int middle = (bar->minimum() + bar->maximum()) / 2;
                bar->setValue(middle);
                QTest::keyClick(bar, Qt::Key_Left);
                const int afterLeft = bar->value();
                bar->setValue(middle);
                QTest::keyClick(bar, Qt::Key_Right);
                const int afterRight = bar->value();
                if (!w.isLoaded())
                    break;
                if (!(afterLeft < middle && afterRight > middle))
                    wrong << QStringLiteral("%1 %2: from %3, Left gave %4, Right %5")
                                 .arg(e.name, bar->objectName())
                                 .arg(middle)
                                 .arg(afterLeft)
                                 .arg(afterRight);
            }
            w.unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        QVERIFY(bars >= 3); // the servo speed, the hairline, the sniffer's page at least
    }
};

VOLTARIS_TEST(TestScrollArrows);
#include "test_scrollarrows.moc"
