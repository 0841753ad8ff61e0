#pragma once
#include <QObject>
#include <QStringList>

class QTimer;

// Answers every modal alert with its OK button and remembers its title and
// texts, so a test can tell one alert from several and read what it said.
class AlertSink : public QObject {
    Q_OBJECT
public:
    AlertSink();
    QStringList titles;
    QStringList texts; // the texts of each alert, joined by line ends

private:
    void poll();
    QTimer* m_timer;
};
