#pragma once
// A help or data page window: one read-only RtfView filling the form, the
// page (an RTF file of the program's folder) read once when the window
// loads. A click in the text hides the window; it stays loaded, so the page
// is not read again until the window is unloaded. A missing, unreadable or
// non-regular page shows notInstalledText().
//
// A window declares only its names and size:
//
//     class Cond_wirecalchelp : public HelpWindow {
//     public:
//         Cond_wirecalchelp();
//     };
//     Cond_wirecalchelp::Cond_wirecalchelp()
//         : HelpWindow("Cond_wirecalchelp", "Wire Calculator Help", "helptext",
//                      "wirecalc.rtf", QSize(9000, 6000)) {}

#include "common/toolwindow.h"

#include <QRect>

class RtfView;

class HelpWindow : public ToolWindow {
    Q_OBJECT
public:
    // className: the form's objectName; caption: the window title;
    // textBoxName: the text box's objectName; pageFile: the page in the
    // program's folder; clientTwips: the design client area; boxTwips: the
    // text box's place in it (by default all of it, less a 60-twip margin
    // on every side).
    HelpWindow(const QString& className, const QString& caption, const QString& textBoxName,
               const QString& pageFile, QSize clientTwips, QRect boxTwips = QRect());

    // The text box (nullptr while the window is not loaded).
    RtfView* textBox() const;
    const QString& pageFile() const { return m_page; }

protected:
    // A window with more to do calls these first (build) or last (load).
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui : Controls {
        RtfView* text = nullptr;
    };
    QString m_caption;
    QString m_boxName;
    QString m_page;
    QRect m_box;
};
