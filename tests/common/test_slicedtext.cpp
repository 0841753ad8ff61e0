#include "support/loopgaps.h"
#include "support/testmain.h"

#include "common/slicedtext.h"
#include "common/timeslice.h"

#include <QPlainTextEdit>
#include <QTest>

// A text box filled a block at a time holds exactly the text given.
class TestSlicedText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fills_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("one line end") << QByteArray("\r\n") << QString("\n");
        QTest::newRow("no end at the end") << QByteArray("a\r\nb") << QString("a\nb");
        QTest::newRow("LF and CR LF") << QByteArray("a\nb\r\n\r\n") << QString("a\nb\n\n");
        QTest::newRow("Latin-1") << QByteArray("\xe9t\xe9\r\n") << QString::fromLatin1("\xe9t\xe9\n");
        // Many blocks: every line end, CR LF included, falls somewhere near
        // a block's edge.
        QByteArray many;
        QString manyShown;
        for (int i = 0; i < 20000; ++i) {
            const QByteArray line = QByteArray(i % 13, 'x') + QByteArray::number(i);
            many += line + "\r\n";
            manyShown += QString::fromLatin1(line) + "\n";
        }
        QTest::newRow("many blocks") << many << manyShown;
        QTest::newRow("one long line") << QByteArray(100000, 'y') << QString(100000, 'y');
    }
    void fills()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, shown);
        QPlainTextEdit box;
        box.setPlainText("old text");
        TimeSlicer slicer;
        QVERIFY(fillTextBox(&box, text, false, slicer));
        QCOMPARE(box.toPlainText(), shown);
        QVERIFY(fillTextBox(&box, QString::fromLatin1(text), slicer));
        QCOMPARE(box.toPlainText(), shown);
        QVERIFY(!box.document()->isUndoAvailable());
        QVERIFY(box.isUndoRedoEnabled());
    }

    // A long fill serves the event loop between its blocks, and no block
    // holds it long. The turns are counted with a slicer that serves at
    // every step, so a fill that never yields shows however fast the
    // machine runs; the slice time is the user's view of the same.
    void servesTheLoopBetweenBlocks()
    {
        QByteArray text;
        for (int i = 0; text.size() < 512 * 1024; ++i)
            text += QByteArray(i % 50, 'z') + QByteArray::number(i) + "\r\n";
        {
            QPlainTextEdit box;
            TimeSlicer everyStep(0);
            LoopGaps gaps;
            QVERIFY(fillTextBox(&box, text, false, everyStep));
            gaps.stop();
            QVERIFY2(gaps.turns() >= 8, qPrintable(QString::number(gaps.turns())));
        }
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            QPlainTextEdit box;
            TimeSlicer slicer;
            gaps.restart();
            QVERIFY(fillTextBox(&box, text, false, slicer));
            gaps.stop();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
    }

    void stopEndsTheFill()
    {
        QPlainTextEdit box;
        int asked = 0;
        TimeSlicer slicer;
        QVERIFY(!fillTextBox(&box, QByteArray(200000, '\n'), false, slicer, [&] { return ++asked > 2; }));
        QCOMPARE(asked, 3);
        QVERIFY(box.blockCount() > 1);
        QVERIFY(box.blockCount() < 200000);
    }
};

VOLTARIS_TEST(TestSlicedText);
#include "test_slicedtext.moc"
