#include "typing.h"

#include "common/toolwindow.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>
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

QPoint subControlCentre(QAbstractSlider* s, QStyle::ComplexControl cc, QStyle::SubControl sc)
{
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.orientation = s->orientation();
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = s->sliderPosition();
    opt.sliderValue = s->value();
    opt.singleStep = s->singleStep();
    opt.pageStep = s->pageStep();
    opt.upsideDown = false;
    if (auto* sl = qobject_cast<QSlider*>(s)) {
        opt.tickPosition = sl->tickPosition();
        opt.subControls = QStyle::SC_SliderHandle | QStyle::SC_SliderGroove;
    }
    return s->style()->subControlRect(cc, &opt, sc, s).center();
}

HandleDrag::HandleDrag(QScrollBar* bar) : m_bar(bar)
{
    giveFocus(bar);
    m_at = subControlCentre(bar, QStyle::CC_ScrollBar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, m_at);
    m_down = true;
}

HandleDrag::~HandleDrag()
{
    if (m_down)
        release();
}

void HandleDrag::moveBy(int pixels)
{
    if (m_bar->orientation() == Qt::Horizontal)
        m_at.rx() += pixels;
    else
        m_at.ry() += pixels;
    QTest::mouseMove(m_bar, m_at);
}

void HandleDrag::release()
{
    m_down = false;
    QTest::mouseRelease(m_bar, Qt::LeftButton, Qt::NoModifier, m_at);
}

bool takesInputMethodText(QWidget* w)
{
    // What the platform asks the focused widget before it keeps keys for it.
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(w, &query);
    return query.value(Qt::ImEnabled).toBool();
}

void commitInputText(QWidget* w, const QString& composing, const QString& text)
{
    if (!w->hasFocus())
        giveFocus(w);
    QInputMethodEvent preedit(composing, {});
    QApplication::sendEvent(w, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w, &commit);
}
