#include "alertsink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

AlertSink::AlertSink() : m_timer(new QTimer(this))
{
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &AlertSink::poll);
    m_timer->start();
}

void AlertSink::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    titles << modal->windowTitle();
    QStringList said;
    for (QObject* o : modal->findChildren<QObject*>()) {
        if (auto* te = qobject_cast<QTextEdit*>(o))
            said << te->toPlainText();
        else if (auto* pe = qobject_cast<QPlainTextEdit*>(o))
            said << pe->toPlainText();
        else if (auto* la = qobject_cast<QLabel*>(o))
            said << la->text();
        else if (auto* le = qobject_cast<QLineEdit*>(o))
            said << le->text();
    }
    texts << said.join(QLatin1Char('\n'));
    if (auto* b = modal->findChild<QAbstractButton*>(QStringLiteral("Command1_0")))
        b->click();
    else
        modal->close();
}
