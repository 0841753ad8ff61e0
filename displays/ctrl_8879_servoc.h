#pragma once
// The servo retrofit board behind an ELMO drive: board status, handing
// control between the window and the board, a virtual speed from a scroll
// bar, and the nine tuning values read, written, saved and restored.

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_8879_servoc : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8879_servoc();

    SerialController serial;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void comwrite(const QString& text) { serial.comwrite(text, 0); }
    // True when a wait inside a handler ended with the window gone or the
    // port lost: the handler sends nothing more.
    bool interrupted() const;
    void speedChange();
    void writeTuning();
    void saveTrimFile();
    void loadTrimFile();
    void setTrim(const QStringList& values);
    QStringList trimBoxes() const;

    // Set while the program resets the scroll bar, which sends nothing.
    bool m_resettingSpeed = false;
};
