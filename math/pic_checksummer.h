#pragma once
// Checks an Intel HEX file for a PIC12F510 record by record, hashes it,
// places it in the device's memory and shows the two device checksums.

#include "pichexcheck.h"

#include "common/toolwindow.h"

class PIC_checksummer : public ToolWindow {
    Q_OBJECT
public:
    PIC_checksummer();

    // "Load and Process Hex File".
    void Command1_Click();
    // Processes one file as the button does after the choice.
    void process(const QString& path);
    bool processing() const { return m_running; }

    static QString settingsPath();

    // The folder in which the file chooser opens.
    QString lastfolder;

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    PicImage m_image;
    QStringList m_settings;
    bool m_running = false;
};
