#pragma once
// The Glimmerix display-tube board on the production bench: its self-test
// into a grid of pass/fail boxes, its EEPROM dump, the factory block (date
// and serial number) written into it, and the shipped-boards record.

#include "glimmerix.h"

#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <deque>

class Ctrl_8620_glimmerix : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_8620_glimmerix();

    SerialController serial;

    void process(int what, const QString& text = QString());
    void Command1_Click(int index);

    // The shipped-boards record and the settings file.
    static QString recordPath();
    static QString settingsPath();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    // A write the board has not answered yet, with every record field as
    // it was when it was sent: the boxes may change while the board works.
    struct PendingWrite {
        QString customer, version, model, datestamp, serial;
        // "Write+": once the board confirms, the serial number advances.
        bool advance = false;
        qint64 sentMs = 0;
    };
    struct Ui;
    Ui* ui() const;
    void fullTest();
    void dump();
    void write(bool advance);
    void writeAnswer(const QString& frame);
    void forgetUnanswered();
    void recordBoard(const PendingWrite& written);
    void showGrid();
    void setSerial(const QString& text);
    void loadSettings();
    void saveSettings();

    glimmerix::TestGrid m_grid;
    // Oldest first. The board answers its writes one by one in the order
    // they came, and the answer carries nothing else to tell them apart.
    std::deque<PendingWrite> m_pending;
    // A board answers a write within a fraction of a second; one that has
    // not answered in this time never will (it was off, or dropped it).
    static constexpr qint64 answerWindowMs = 2000;
};
