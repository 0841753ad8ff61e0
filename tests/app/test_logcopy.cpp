// The dual DAC's Tx and Rx logs, in the window: a user selects lines and
// copies them, and a double click still empties both logs.

#include "support/alertsink.h"
#include "support/testmain.h"
#include "windowwalk.h"

#include "common/newestfirstlog.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

class TestLogCopy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(frameActive()); }
    void cleanup() { unloadAllWindows(); }

    void dualDacLogs()
    {
        AlertSink alerts;
        mainWindow().popup(QStringLiteral("Ctrl_7547_dualdac"));
        ToolWindow& w = windowFor(QStringLiteral("ctrl_7547_dualdac"));
        QVERIFY(w.isLoaded());
        auto* tx = w.form()->findChild<NewestFirstLog*>(QStringLiteral("txdata"));
        auto* rx = w.form()->findChild<NewestFirstLog*>(QStringLiteral("rxdata"));
        QVERIFY(tx && rx);
        tx->addLine(QStringLiteral("$0010[cr]"));
        for (const char* frame : {"!0010,1200,3400", "!0011,5600,7800"})
            rx->addLine(QString::fromLatin1(frame));
        QApplication::clipboard()->clear();

        const int h = rx->fontMetrics().lineSpacing();
        QTest::mouseClick(rx->viewport(), Qt::LeftButton, {}, QPoint(10, h / 2));
        QTRY_COMPARE(QApplication::focusWidget(), rx);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("!0011,5600,7800\n!0010,1200,3400"));

        QTest::mouseClick(tx->viewport(), Qt::LeftButton, {}, QPoint(10, h / 2));
        QTRY_COMPARE(QApplication::focusWidget(), tx);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("$0010[cr]"));

        // The window's double click: both logs empty, nothing left to copy.
        QTest::mouseDClick(rx->viewport(), Qt::LeftButton, {}, QPoint(10, h / 2));
        QCOMPARE(rx->count(), 0);
        QCOMPARE(tx->count(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("$0010[cr]"));
        QVERIFY(alerts.titles.isEmpty());
    }
};

VOLTARIS_TEST(TestLogCopy);
#include "test_logcopy.moc"
