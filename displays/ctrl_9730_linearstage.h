#pragma once
// The motorised linear stage: jog left and right, stop, read the position,
// teach a left and a right set point, go to either, and bounce between
// them. The set points and both speeds are kept between runs.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <QStringList>

class Ctrl_9730_linearstage : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9730_linearstage();

    SerialController serial;
    // What the last command was: 0 position, jog or stop; 1 "Set Left"
    // pending; 2 "Set Right" pending; 6 moving to the left set point;
    // 7 moving to the right one.
    int movemode = 0;
    // The settings lines, 1 to 100 (0 unused).
    QStringList settings;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);
    // The settings file: "voltaris.ini" in the program's folder.
    static QString settingsPath();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    // Sends and pauses; false when the pause ended with the window gone or
    // the port lost, so the caller sends nothing more.
    bool comwrite(const QString& text, int wait);
    // Starts the move to set point 1 (left) or 2 (right); refused, with an
    // alert naming the box, when the set point does not fit the command.
    void goTo(int box);
};
