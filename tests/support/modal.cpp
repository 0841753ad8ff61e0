#include "modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

ModalAnswer::ModalAnswer(QString buttonName, int timeoutMs) : m_button(std::move(buttonName)), m_left(timeoutMs / 10)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::poll);
    m_timer.start();
}

ModalAnswer::~ModalAnswer() = default;

void ModalAnswer::poll()
{
    if (m_answered)
        return;
    if (--m_left < 0) {
        m_timer.stop();
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (!m_window.isEmpty() && modal->objectName() != m_window)
        return;
    m_answered = true;
    m_timer.stop();
    m_title = modal->windowTitle();
    for (QObject* o : modal->findChildren<QObject*>()) {
        if (auto* te = qobject_cast<QTextEdit*>(o))
            m_texts << te->toPlainText();
        else if (auto* pe = qobject_cast<QPlainTextEdit*>(o))
            m_texts << pe->toPlainText();
        else if (auto* la = qobject_cast<QLabel*>(o))
            m_texts << la->text();
    }
    if (m_hook)
        m_hook(modal);
    if (m_button.isEmpty()) {
        modal->close();
        return;
    }
    auto* b = modal->findChild<QAbstractButton*>(m_button);
    if (b)
        b->click();
    else
        modal->close();
}

ModalSweeper::ModalSweeper()
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            if (auto* ok = m->findChild<QAbstractButton*>(QStringLiteral("Command1_0")))
                ok->click();
            else
                m->close();
        }
    });
    m_timer.start();
}
