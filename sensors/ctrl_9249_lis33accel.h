#pragma once
// The 9249 accelerometer board with its LIS33 chip: identity, raw axes,
// positions, offsets and scaled positions by button or by polling, with
// every command and reply shown in two logs.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class NewestFirstLog;

class Ctrl_9249_lis33accel : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9249_lis33accel();

    SerialController serial;
    // The poll's next step: 0 positions, 1 scaled positions, 2 offsets.
    int phase = 0;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);
    void Timer1_Timer();
    // Logs the command (when a port is open), sends it and waits.
    void comwrite(const QString& text, int wait);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void addLogLine(NewestFirstLog* log, const QString& line);
    // Runs Timer1 while a port is open and an "Auto" box is checked.
    void pollWhenNeeded();
    void setBoxes(const QStringList& names, const QString& text);

    bool m_polling = false;
    QString m_pollQueued;
};
