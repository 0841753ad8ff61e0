#include "support/testmain.h"
#include "support/typing.h"

#include "app/windowtable.h"
#include "common/owntext.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

// Every length-limited box keeps characters outside the Basic Multilingual
// Plane whole at its limit: pasted as a whole text, pasted with Ctrl+V at
// the end of a box one short of its limit and of a full one, and typed.
class TestLimitedBoxes : public QObject {
    Q_OBJECT

    // The box holds whole characters only, and no more than its limit.
    static bool whole(const QLineEdit* b, int chars, const QString& step)
    {
        const QString text = b->text();
        if (firstLoneSurrogate(text) < 0 && charCount(text) <= chars)
            return true;
        QTest::qFail(qPrintable(step + QStringLiteral(": the box holds \"") + text + QStringLiteral("\" (")
                                + QString::number(text.size()) + QStringLiteral(" units)")),
                     __FILE__, __LINE__);
        return false;
    }

    static bool drive(QLineEdit* b, int chars)
    {
        const QString bulb = QStringLiteral("\U0001F4A1");
        const QString shortOne(chars - 1, u'0');
        const QString full(chars, u'0');
        // Whole texts pasted: the pair the last character, then one past it.
        for (const QString& text : {shortOne + bulb, full + bulb}) {
            paste(b, text);
            if (!whole(b, chars, QStringLiteral("pasting ") + text))
                return false;
        }
        for (const QString& start : {shortOne, full}) {
            for (const QString& clip : {bulb, QStringLiteral("0") + bulb}) {
                paste(b, start);
                b->end(false);
                QApplication::clipboard()->setText(clip);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
                if (!whole(b, chars, QStringLiteral("Ctrl+V of ") + clip + QStringLiteral(" after ") + start))
                    return false;
            }
            // The pair typed (where the key filter lets it through).
            paste(b, start);
            b->end(false);
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, bulb, Qt::NoModifier);
            if (!whole(b, chars, QStringLiteral("typing it after ") + start))
                return false;
        }
        return true;
    }

private Q_SLOTS:
    void wholeCharactersAtTheLimit_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("chars");
        const struct {
            const char* window;
            const char* box;
            int chars;
        } rows[] = {
            {"Math_bcdcompress", "xdecimal", 9},
            {"Math_bcdcompress", "xhexadecimal", 8},
            {"Math_xteatester", "encryptkey", 32},
            {"Math_xteatester", "plaintext", 16},
            {"Math_xteatester", "cyphertext", 16},
            {"Math_sudoku", "cellvalue_0", 1},
            {"PIC_picpins", "zname_0", 12},
            {"Ctrl_9249_lis33accel", "readaddr", 2},
            {"Ctrl_9249_lis33accel", "eewritedata", 2},
            {"Ctrl_8842_loadcellmulti", "sensordata_8", 5},
            {"Ctrl_8842_loadcellmulti", "sensordata_15", 5},
            {"Ctrl_9693_lumatile", "udcpattern", 15},
        };
        for (const auto& r : rows)
            QTest::newRow(r.box) << QString::fromLatin1(r.window) << QString::fromLatin1(r.box) << r.chars;
    }
    void wholeCharactersAtTheLimit()
    {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QFETCH(int, chars);
        popup(window);
        ToolWindow& w = windowFor(window);
        QLineEdit* b = boxNamed(w, box);
        QVERIFY(b);
        giveFocus(b);
        QCOMPARE(QApplication::focusWidget(), b);
        drive(b, chars);
        w.unload();
    }
};

VOLTARIS_TEST(TestLimitedBoxes);
#include "test_limitedboxes.moc"
