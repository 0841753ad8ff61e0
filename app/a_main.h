#pragma once
#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;
class ToolWindow;

// The program's frame: an MDI area under the menu tree. Every menu item
// hands its tool name to popup.
class A_main : public QMainWindow {
    Q_OBJECT
public:
    A_main();
    ~A_main() override;

    // Opens, focuses or reports the tool window of a name.
    void popup(const QString& name);
    // popup's steps once the name has found its window: load it (hidden),
    // then focus it when on screen, else place it at 100, 100 and show it.
    // A window whose load handler fails stays unloaded and is not shown.
    static void popupWindow(ToolWindow& w);

    QMdiArea* mdiArea() const { return m_mdi; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    // After the tool window the keyboard was in closes or hides, the next
    // one in the frame (the topmost still shown) becomes active with its
    // focus control, so the keyboard keeps working without a click.
    void activateNext();
    // The shown tool window holding the keyboard focus, or null.
    QMdiSubWindow* focusedSubWindow() const;
    QMdiArea* m_mdi = nullptr;
};

// The frame of this run, created on first use.
A_main& mainWindow();
bool mainWindowExists();
// Closes the frame's tool windows and the frame itself (tests and shutdown).
void destroyMainWindow();
