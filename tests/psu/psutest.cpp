#include "psutest.h"

#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "common/toolwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

bool openFromMenu(const QString& item)
{
    auto* action = mainWindow().menuBar()->findChild<QAction*>(item);
    if (!action)
        return false;
    action->trigger();
    QApplication::processEvents();
    return true;
}

void runScript(ToolWindow& w, const QString& array, const QString& script)
{
    for (const QString& step : script.split(u';', Qt::SkipEmptyParts)) {
        const QChar op = step[0];
        const int colon = int(step.indexOf(u':'));
        const int index = step.mid(1, colon < 0 ? -1 : colon - 1).toInt();
        const QString arg = colon < 0 ? QString() : step.mid(colon + 1);
        QLineEdit* box = boxNamed(w, arrayName(array, index));
        if (!box)
            return;
        switch (op.unicode()) {
        case 't':
            giveFocus(box);
            box->selectAll();
            if (arg.isEmpty())
                QTest::keyClick(box, Qt::Key_Backspace);
            else
                QTest::keyClicks(box, arg);
            break;
        case 'a':
            giveFocus(box);
            box->end(false);
            QTest::keyClicks(box, arg);
            break;
        case 'e':
            pressEnter(box);
            break;
        case 'l':
            leaveBox(box);
            break;
        case 'p':
            paste(box, arg);
            break;
        default:
            qWarning("bad script step %s", qPrintable(step));
        }
    }
}

QString boxMismatch(ToolWindow& w, const QString& array, const QString& expect)
{
    QStringList bad;
    for (const QString& item : expect.split(u';', Qt::SkipEmptyParts)) {
        const int eq = int(item.indexOf(u'='));
        const int index = item.left(eq).toInt();
        const QString want = item.mid(eq + 1);
        auto* box = w.form()->findChild<QLineEdit*>(arrayName(array, index));
        const QString got = box ? box->text() : QStringLiteral("(no box)");
        if (got != want)
            bad << QStringLiteral("box %1: \"%2\", expected \"%3\"").arg(index).arg(got, want);
    }
    return bad.join(QStringLiteral("; "));
}
