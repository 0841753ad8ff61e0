#include "limitedbox.h"
#include "typing.h"

#include "app/windowtable.h"
#include "common/owntext.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

namespace {
const QString bulb = QStringLiteral("\U0001F4A1");

bool whole(const QLineEdit* b, int chars, const QString& step)
{
    const QString text = b->text();
    if (firstLoneSurrogate(text) < 0 && charCount(text) <= chars)
        return true;
    QTest::qFail(qPrintable(step + QStringLiteral(": the box holds \"") + text + QStringLiteral("\" (")
                            + QString::number(text.size()) + QStringLiteral(" units)")),
                 __FILE__, __LINE__);
    return false;
}
} // namespace

void addLimitedBoxColumns()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("chars");
}

void addLimitedBoxRow(const char* window, const char* box, int chars)
{
    QTest::newRow(box) << QString::fromLatin1(window) << QString::fromLatin1(box) << chars;
}

void checkLimitedBoxRow()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(int, chars);
    checkLimitKeepsWholeCharacters(window, box, chars);
}

void checkLimitKeepsWholeCharacters(const QString& window, const QString& name, int chars)
{
    popup(window);
    ToolWindow& w = windowFor(window);
    QLineEdit* b = boxNamed(w, name);
    if (!b)
        return;
    giveFocus(b);
    const QString shortOne(chars - 1, u'0');
    const QString full(chars, u'0');
    auto run = [&]() -> bool {
        // Whole texts pasted: the pair the last character, then one past it.
        for (const QString& text : {shortOne + bulb, full + bulb}) {
            paste(b, text);
            if (!whole(b, chars, QStringLiteral("pasting ") + text))
                return false;
        }
        // Ctrl+V at the end of a box one short of its limit, and of a full one.
        for (const QString& start : {shortOne, full}) {
            for (const QString& clip : {bulb, QStringLiteral("0") + bulb}) {
                paste(b, start);
                b->end(false);
                QApplication::clipboard()->setText(clip);
                QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
                if (!whole(b, chars, QStringLiteral("Ctrl+V of ") + clip + QStringLiteral(" after ") + start))
                    return false;
            }
            // The pair typed (where the key filter lets it through).
            paste(b, start);
            b->end(false);
            QTest::sendKeyEvent(QTest::Click, b, Qt::Key_unknown, bulb, Qt::NoModifier);
            if (!whole(b, chars, QStringLiteral("typing it after ") + start))
                return false;
        }
        return true;
    };
    run();
    w.unload();
}
