#pragma once
// Live video with a crosshair over it: the user moves the crosshair with
// two scroll bars, picks one of eight shapes (or none), its colour, line
// thickness and size, and can copy the current frame to the clipboard.

#include "common/toolwindow.h"

#include <memory>

class FrameSource;

class Util_videocrosshair : public ToolWindow {
    Q_OBJECT
public:
    Util_videocrosshair();
    ~Util_videocrosshair() override;

    // The video source; the camera unless another was put in its place.
    FrameSource& frameSource();
    void setFrameSource(std::unique_ptr<FrameSource> source);

    // Redraws the current frame with the crosshair.
    void crosshair();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;
    void cstyles();
    void redrawTick();
    void cmmd_Click(int index);
    void startStop();
    void captureFailed(const QString& reason);
    void toClipboard();

    std::unique_ptr<FrameSource> m_source;
};
