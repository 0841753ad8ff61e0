// The newest-first log box: what it keeps, what it paints where, and where
// a reader's view stays while lines arrive.

#include "support/testmain.h"

#include "common/newestfirstlog.h"

#include <QImage>
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
};

VOLTARIS_TEST(TestNewestFirstLog);
#include "test_newestfirstlog.moc"
