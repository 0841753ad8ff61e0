#pragma once
// The tab to space converter: replaces the TABs of a text file by blanks up
// to the tab stops, shows the result and writes it back over the file,
// keeping the old file as a backup when asked. The last file survives
// closing the window in "voltaris_ts.ini".

#include "common/toolwindow.h"

#include <QByteArray>

class TimeSlicer;

class Util_tabstripper : public ToolWindow {
    Q_OBJECT
public:
    Util_tabstripper();
    static QString settingsPath();
    // The backup of a file: its whole path with "bak" appended.
    static QString backupPath(const QString& path);

    bool processing() const { return m_running; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void Command1_Click(int index);
    void Command2_Click();
    void process();
    // Reads and converts the file into m_result; false when stopped,
    // refused or closed.
    bool convert(const QString& path, int tabSize, int& tabs, TimeSlicer& slicer);
    // Fills the display from m_result; false when stopped or closed.
    bool show(TimeSlicer& slicer);
    // After Stop: nothing is shown, nothing can be saved.
    void stopped();
    void save();
    // The two steps of writing the converted text back; each says in the
    // status, and in one alert, why it failed.
    bool makeBackup(const QString& target, TimeSlicer& slicer);
    bool writeConverted(const QString& target, TimeSlicer& slicer);
    void failed(const QString& why);
    void appendStatus(const QString& text);
    void setIdle(bool canSave);

    // The converted file on show, CR LF after every line, behind the
    // file's byte-order mark if it had one: what Save writes.
    QByteArray m_result;
    bool m_utf8 = false; // the file was read as UTF-8 and is written so
    qsizetype m_markBytes = 0; // m_result starts with the file's byte-order mark
    bool m_running = false;
};
