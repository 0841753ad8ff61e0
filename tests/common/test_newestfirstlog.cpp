// The newest-first log box: what it keeps, what it paints where, and where
// a reader's view stays while lines arrive.

#include "support/paceratio.h"
#include "support/testmain.h"

#include "common/newestfirstlog.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QScrollBar>
#include <QTest>

namespace {
// Rows of the box's picture that hold any text pixel, by row of the log.
QList<bool> inkedRows(NewestFirstLog& log, int rows)
{
    const QImage img = log.viewport()->grab().toImage();
    const QColor base = log.palette().color(QPalette::Base);
    const int h = log.fontMetrics().lineSpacing();
    QList<bool> out;
    for (int r = 0; r < rows; ++r) {
        bool ink = false;
        for (int y = r * h; y < (r + 1) * h && y < img.height() && !ink; ++y)
            for (int x = 0; x < img.width() && !ink; ++x)
                ink = img.pixelColor(x, y) != base;
        out << ink;
    }
    return out;
}
// The middle of row r of the box.
QPoint rowPoint(NewestFirstLog& log, int r)
{
    const int h = log.fontMetrics().lineSpacing();
    return QPoint(20, r * h + h / 2);
}

void keyToFocus(Qt::Key k, Qt::KeyboardModifiers mods = {})
{
    QWidget* f = QApplication::focusWidget();
    QVERIFY(f);
    QTest::keyClick(f, k, mods);
}
} // namespace

class TestNewestFirstLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keepsEveryLineNewestFirst()
    {
        NewestFirstLog log;
        for (const char* l : {"one", "two", "three"})
            log.addLine(QString::fromLatin1(l));
        QCOMPARE(log.lines(), (QStringList{"three", "two", "one"}));
        QCOMPARE(log.count(), 3);
        QCOMPARE(log.line(0), QStringLiteral("three"));
        QCOMPARE(log.line(2), QStringLiteral("one"));
        QCOMPARE(log.line(3), QString());
        QCOMPARE(log.line(-1), QString());
        log.setLine(QStringLiteral("only"));
        QCOMPARE(log.lines(), QStringList{"only"});
        log.clear();
        QCOMPARE(log.count(), 0);
        QVERIFY(log.lines().isEmpty());
        // Empty lines and control characters are lines like any other.
        log.addLine(QString());
        log.addLine(QStringLiteral("a\nb\tc"));
        QCOMPARE(log.lines(), (QStringList{"a\nb\tc", ""}));
    }

    // The newest line is painted in the top row, older ones below it.
    void paintsNewestOnTop()
    {
        NewestFirstLog log;
        log.resize(300, 10 * log.fontMetrics().lineSpacing() + 2 * log.frameWidth());
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        QCOMPARE(inkedRows(log, 3), (QList<bool>{false, false, false}));
        log.addLine(QStringLiteral("MMMM"));
        QCOMPARE(inkedRows(log, 3), (QList<bool>{true, false, false}));
        log.addLine(QString());
        QCOMPARE(inkedRows(log, 3), (QList<bool>{false, true, false}));
        log.clear();
        QCOMPARE(inkedRows(log, 3), (QList<bool>{false, false, false}));
    }

    // At the top the newest line stays in view; scrolled down, the lines
    // being read stay put while new ones arrive above them.
    void viewStaysWhereTheReaderIs()
    {
        NewestFirstLog log;
        log.resize(300, 5 * log.fontMetrics().lineSpacing() + 2 * log.frameWidth());
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        for (int k = 0; k < 50; ++k)
            log.addLine(QString::number(k));
        QCOMPARE(log.topRow(), 0);
        QCOMPARE(log.verticalScrollBar()->maximum(), 50 - 5);
        log.verticalScrollBar()->setValue(10);
        const QString read = log.line(log.topRow());
        QCOMPARE(read, QStringLiteral("39"));
        log.addLine(QStringLiteral("50"));
        log.addLine(QStringLiteral("51"));
        QCOMPARE(log.line(log.topRow()), read);
        log.verticalScrollBar()->setValue(0);
        log.addLine(QStringLiteral("52"));
        QCOMPARE(log.topRow(), 0);
        QCOMPARE(log.line(0), QStringLiteral("52"));
        log.clear();
        QCOMPARE(log.verticalScrollBar()->maximum(), 0);
    }

    // Lines are selected with the mouse and the keyboard and copied as
    // shown, newest first; the lines of one entry keep their order.
    void copiesWhatIsSelected()
    {
        QWidget window;
        auto* log = new NewestFirstLog(&window);
        log->setGeometry(0, 0, 300, 6 * log->fontMetrics().lineSpacing() + 2 * log->frameWidth());
        for (const char* l : {"oldest", "first\nsecond", "newer", "newest"})
            log->addLine(QString::fromLatin1(l));
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QApplication::clipboard()->setText(QStringLiteral("before"));

        QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, rowPoint(*log, 1));
        QCOMPARE(QApplication::focusWidget(), log);
        keyToFocus(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("newer"));

        keyToFocus(Qt::Key_Down, Qt::ShiftModifier);
        keyToFocus(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("newer\nfirst\nsecond"));

        // Shift+click extends from the line clicked first; a new line
        // arriving leaves the selection on its lines.
        QTest::mouseClick(log->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowPoint(*log, 3));
        log->addLine(QStringLiteral("later"));
        keyToFocus(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("newer\nfirst\nsecond\noldest"));

        keyToFocus(Qt::Key_A, Qt::ControlModifier);
        keyToFocus(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("later\nnewest\nnewer\nfirst\nsecond\noldest"));

        // The right-click menu's Copy, on a line dragged over.
        QTest::mousePress(log->viewport(), Qt::LeftButton, {}, rowPoint(*log, 0));
        QMouseEvent drag(QEvent::MouseMove, rowPoint(*log, 1), log->viewport()->mapToGlobal(rowPoint(*log, 1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(log->viewport(), &drag);
        QTest::mouseRelease(log->viewport(), Qt::LeftButton, {}, rowPoint(*log, 1));
        QString chosen;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* a : menu->actions())
                if (a->text() == QStringLiteral("Copy") && a->isEnabled()) {
                    chosen = a->text();
                    menu->setActiveAction(a);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            menu->close();
        });
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, rowPoint(*log, 1),
                                    log->viewport()->mapToGlobal(rowPoint(*log, 1)));
        QApplication::sendEvent(log->viewport(), &menuEvent);
        QCOMPARE(chosen, QStringLiteral("Copy"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("later\nnewest"));

        // Emptied, nothing is left to copy.
        QApplication::setActiveWindow(&window);
        QTRY_COMPARE(QApplication::focusWidget(), log);
        log->clear();
        keyToFocus(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("later\nnewest"));
    }

    // Adding a line costs the same after 71,000 lines as at the start,
    // with the box shown, painted and a selection standing. CPU time of
    // this thread, against a gauge fed in turns with the box, so a busy
    // machine does not count.
    void costPerLineIsFlat()
    {
        constexpr int total = 72000;
        constexpr int batch = 1000;
        NewestFirstLog log;
        log.resize(400, 20 * log.fontMetrics().lineSpacing());
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        PaceGauge gauge(nullptr, log.font());
        int k = 0;
        auto add = [&](int n) {
            for (int i = 0; i < n; ++i, ++k) {
                // Lines of one length, so that only their number differs.
                log.addLine(QStringLiteral("%1 reply $10,%2,ABCDEF").arg(k, 6, 10, QChar(u'0')).arg(k % 97, 3));
                if (k == 10)
                    log.selectAll();
                if (k % 50 == 49)
                    log.viewport()->repaint();
            }
        };
        const double first = gauge.ratio(add, batch);
        add(total - 2 * batch);
        const double last = gauge.ratio(add, batch);
        QCOMPARE(log.count(), total);
        const double growth = last / first;
        QVERIFY2(growth <= 1.5, qPrintable(QStringLiteral("last 1,000 lines cost %1 times the first").arg(growth)));
    }
};

VOLTARIS_TEST(TestNewestFirstLog);
#include "test_newestfirstlog.moc"
