#pragma once
// The 8065 curve tracer controller: one click starts a sweep of the device
// under test; the board reports each point of its current-voltage curve,
// the window shows the point being received, collects the sweep and saves
// it as a numbered CSV file when asked.

#include "curvetracer.h"

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_8065_curvetracer : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8065_curvetracer();

    SerialController serial;
    curvetracer::SweepTable sweep;

    void process(int what, const QString& text = QString());
    void Command1_Click();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void point(const curvetracer::Frame& f);
    void sweepEnd();
    void checkSpeed();

    // The last whole-number count the file-count box held.
    QString m_goodCount = QStringLiteral("0");
};
