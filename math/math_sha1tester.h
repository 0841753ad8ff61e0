#pragma once
// The SHA-1 hash tester: hashes a message typed as text or as hex bytes,
// with editable round constants, beside the published digests of the
// stored test messages.

#include "common/toolwindow.h"

class Math_sha1tester : public ToolWindow {
    Q_OBJECT
public:
    Math_sha1tester();

    // The standard round constants as the constants box shows them.
    static QString standardConstants();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    void choose(int entry);
    void modeChosen();
    void hash();
    void constantsEdited();
    void setWaiting(bool on);

    bool m_choosing = false;
    // The message box shows the million-"a" placeholder of its list entry,
    // unedited since.
    bool m_millionShown = false;
};
