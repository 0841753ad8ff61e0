#include "typing.h"

#include "common/toolwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

QLineEdit* boxNamed(ToolWindow& window, const QString& name)
{
    auto* b = window.form()->findChild<QLineEdit*>(name);
    if (!b)
        qWarning("no box %s on %s", qPrintable(name), qPrintable(window.className()));
    return b;
}

void giveFocus(QWidget* w)
{
    QWidget* top = w->window();
    if (!top->isVisible())
        top->show();
    top->activateWindow();
    QApplication::setActiveWindow(top);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
        sub->setFocus();
    w->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void typeInto(QLineEdit* box, const QString& keys)
{
    if (!box->hasFocus())
        giveFocus(box);
    QTest::keyClicks(box, keys);
}

void retype(QLineEdit* box, const QString& keys)
{
    giveFocus(box);
    box->selectAll();
    QTest::keyClicks(box, keys);
}

void pressEnter(QLineEdit* box)
{
    if (!box->hasFocus())
        giveFocus(box);
    QTest::keyClick(box, Qt::Key_Return);
}

void leaveBox(QLineEdit* box)
{
    box->clearFocus();
    QApplication::processEvents();
}

void paste(QLineEdit* box, const QString& text)
{
    box->selectAll();
    box->insert(text);
}
