#include "support/testmain.h"

#include "common/charlimit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
const QString bulb = QStringLiteral("\U0001F4A1");
}

class TestCharLimit : public QObject {
    Q_OBJECT
    // A box of 4 characters, shown and focused, holding start.
    static std::unique_ptr<QLineEdit> box(const QString& start)
    {
        auto b = std::make_unique<QLineEdit>();
        b->setValidator(new CharLimit(4, b.get()));
        b->setText(start);
        b->show();
        b->activateWindow();
        b->setFocus();
        return b;
    }

private Q_SLOTS:
    void setTextKeepsFirstCharacters_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("kept");
        QTest::newRow("limit met by a pair") << "ABC" + bulb << "ABC" + bulb;
        QTest::newRow("pair one past the limit") << "ABCD" + bulb << "ABCD";
        QTest::newRow("past the limit after a pair") << "AB" + bulb + "CD" << "AB" + bulb + "C";
        QTest::newRow("pairs only") << bulb.repeated(5) << bulb.repeated(4);
        QTest::newRow("plain text") << "ABCDEF" << "ABCD";
    }
    void setTextKeepsFirstCharacters()
    {
        QFETCH(QString, set);
        QFETCH(QString, kept);
        auto b = box(QString());
        b->setText(set);
        QCOMPARE(b->text(), kept);
        QCOMPARE(charLimit(b.get()), 4);
    }

    // Ctrl+V at the cursor or over a selection keeps the part of the new
    // text that fits, in whole characters, and leaves the cursor after it.
    void pasteKeepsWholeCharacters_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("cursor");
        QTest::newRow("limit exactly met by a pair") << "ABC" << 3 << 0 << bulb << "ABC" + bulb << 5;
        QTest::newRow("limit one short of the pair") << "ABC" << 3 << 0 << "X" + bulb << "ABCX" << 4;
        QTest::newRow("in the middle") << "AB" << 1 << 0 << bulb + bulb + "X" << "A" + bulb + bulb + "B" << 5;
        QTest::newRow("in the middle, pair cut") << "ABC" << 1 << 0 << "X" + bulb << "AXBC" << 2;
        QTest::newRow("over a selection") << "ABCD" << 1 << 2 << bulb.repeated(3) << "A" + bulb + bulb + "D" << 5;
        QTest::newRow("over a pair") << "A" + bulb + "CD" << 1 << 2 << "XY" + bulb << "AXCD" << 2;
        QTest::newRow("pairs after pairs") << bulb + bulb << 4 << 0 << bulb.repeated(3) << bulb.repeated(4) << 8;
    }
    void pasteKeepsWholeCharacters()
    {
        QFETCH(QString, start);
        QFETCH(int, from);
        QFETCH(int, length);
        QFETCH(QString, clip);
        QFETCH(QString, kept);
        QFETCH(int, cursor);
        auto b = box(start);
        b->setSelection(from, length);
        if (!length)
            b->setCursorPosition(from);
        QApplication::clipboard()->setText(clip);
        QTest::keyClick(b.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(b->text(), kept);
        QCOMPARE(b->cursorPosition(), cursor);
    }

    // A full box takes no more typing or pasting, and as QLineEdit's own
    // limit does it: no change signal, and Ctrl+Z still takes back the
    // last typing.
    void fullBoxRefusesQuietly()
    {
        auto b = box(QString());
        QTest::keyClicks(b.get(), "ABCD");
        QSignalSpy changes(b.get(), &QLineEdit::textChanged);
        QTest::keyClicks(b.get(), "E");
        QTest::sendKeyEvent(QTest::Click, b.get(), Qt::Key_unknown, bulb, Qt::NoModifier);
        QApplication::clipboard()->setText(bulb);
        QTest::keyClick(b.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(b->text(), QString("ABCD"));
        QCOMPARE(changes.count(), 0);
        QTest::keyClick(b.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(b->text().size() < 4);
        // A typed pair that meets the limit is kept.
        b->setText("ABC");
        QTest::sendKeyEvent(QTest::Click, b.get(), Qt::Key_unknown, bulb, Qt::NoModifier);
        QCOMPARE(b->text(), "ABC" + bulb);
    }
};

VOLTARIS_TEST(TestCharLimit);
#include "test_charlimit.moc"
