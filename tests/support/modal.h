#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

// Answers the next modal window: when one appears, records its title and
// texts, then presses the button with the given object name (or, when the
// name is empty, closes the window with its close box).
class ModalAnswer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswer(QString buttonName, int timeoutMs = 10000);
    ~ModalAnswer() override;

    bool answered() const { return m_answered; }
    QString title() const { return m_title; }
    // Texts of the window's text boxes and labels, in creation order.
    QStringList texts() const { return m_texts; }
    QString text() const { return m_texts.join(QLatin1Char('\n')); }
    // Answers only a modal window with this objectName (the form's class
    // name); others are left to whoever answers them.
    void setWindowName(const QString& objectName) { m_window = objectName; }
    // The modal window's form, while it is open (for inspection in a hook).
    void setBeforePress(std::function<void(QWidget*)> hook) { m_hook = std::move(hook); }

private:
    void poll();
    QString m_button;
    QString m_window;
    QTimer m_timer;
    int m_left;
    bool m_answered = false;
    QString m_title;
    QStringList m_texts;
    std::function<void(QWidget*)> m_hook;
};

// While it lives, answers every modal window that appears: presses its OK
// button ("Command1_0") or, when it has none, closes it. For sweeps over
// many windows, where any of them may greet with an alert.
class ModalSweeper : public QObject {
    Q_OBJECT
public:
    ModalSweeper();

private:
    QTimer m_timer;
};
