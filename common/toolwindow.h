#pragma once
// The window model. Each window class has one instance for the whole run
// (FormSlots); the instance is not the on-screen window. load() builds the
// form with its controls in their design state and runs the load handler;
// unload() (or the close box) runs the close handler and destroys the form,
// while the instance and its members live on.

#include "verror.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QDialog;
class EventHooks;
class QInputMethodEvent;

// Base of a window's control struct. A window keeps pointers to its controls
// in one struct derived from this; the struct is created in build() through
// makeControls() and destroyed with the form, so nothing outlives its control.
struct Controls {
    virtual ~Controls() = default;
};

class ToolWindow : public QObject {
    Q_OBJECT
public:
    enum class Kind { Child, Dialog };

    // className: the window class name (the form's objectName);
    // client: the design client area in twips.
    ToolWindow(QString className, QSize clientTwips, Kind kind = Kind::Child);
    ~ToolWindow() override;

    const QString& className() const { return m_className; }
    Kind kind() const { return m_kind; }

    bool isLoaded() const { return m_form != nullptr; }
    void load();
    void unload();

    // Reading Visible loads a window that is not loaded (hidden).
    bool visible();
    void setFocus();
    void setTop(double twips);
    void setLeft(double twips);
    double top();
    double left();
    QString caption();
    void setCaption(const QString& text);
    // Modeless for tool windows; modal (returns when hidden) for dialogs.
    void show();
    void hide();

    // The form (the content widget; the dialog itself for dialogs). Loads.
    QWidget* form();
    QWidget* formIfLoaded() const { return m_form; }
    QMdiSubWindow* subWindow() const { return m_sub; }

    // Set when the window is closed while one of its handlers still runs;
    // waits inside that handler end early.
    bool aborted() const { return m_abort; }
    // True while a handler of this window runs (or waits).
    bool busy() const { return m_depth > 0; }

    // Runs f as an event handler: the program's errors are shown in the
    // alert window's error mode and the program goes on.
    void guarded(const std::function<void()>& f);

    // Connects a control's signal to a handler that runs guarded. The
    // connection ends when the form is destroyed.
    template <class Sender, class Signal, class F>
    void on(Sender* sender, Signal signal, F handler)
    {
        m_connections.push_back(QObject::connect(sender, signal, this, [this, handler](auto&&... args) {
            guarded([&] { callHandler(handler, args...); });
        }));
    }

    // Calls a handler with the signal's arguments, or with none when it
    // takes none. The choice depends on this template's own parameters, so
    // the call not made is never checked (a call that depends only on the
    // enclosing template's is checked, and refused, by some compilers).
    template <class F, class... Args>
    static void callHandler(const F& handler, Args&&... args)
    {
        if constexpr (std::is_invocable_v<const F&, Args...>)
            handler(std::forward<Args>(args)...);
        else
            handler();
    }

    // Key and focus events of a control, handled guarded through the
    // window's one event filter. Key press: the handler gets the character
    // code and returns the key to keep (0 drops it; another code replaces
    // it). Key down/up get the key code and the shift state
    // (1 Shift, 2 Ctrl, 4 Alt).
    // The platform's editing shortcuts (copy, paste, select all...) pass
    // the key press by; a control with ControlKeysToo (a terminal, whose
    // Ctrl+C is the character 3 for the far end) gets them as control
    // characters, and only the copy gestures that type none (Ctrl+Insert,
    // Ctrl+Shift+C) pass it by.
    enum class KeyPressScope { Characters, ControlKeysToo };
    void onKeyPress(QWidget* w, std::function<int(int key)> handler,
                    KeyPressScope scope = KeyPressScope::Characters);
    void onKeyDown(QWidget* w, std::function<void(int keycode, int shift)> handler);
    void onKeyUp(QWidget* w, std::function<void(int keycode, int shift)> handler);
    void onFocusIn(QWidget* w, std::function<void()> handler);
    void onFocusOut(QWidget* w, std::function<void()> handler);
    void onDoubleClick(QWidget* w, std::function<void()> handler);
    void onMouseDown(QWidget* w, std::function<void()> handler);

    // The window currently running a handler (innermost), or nullptr.
    static ToolWindow* current();

Q_SIGNALS:
    void loaded();
    void unloaded();

protected:
    // Creates the controls in their design state on the form.
    virtual void build(QWidget* form) = 0;
    // Load handler.
    virtual void onLoad() {}
    // Close/unload handler: where settings are saved.
    virtual void onUnload() {}
    // Activation of the window.
    virtual void onActivate() {}

    template <class U>
    U* makeControls()
    {
        auto u = std::make_unique<U>();
        U* raw = u.get();
        m_controls = std::move(u);
        return raw;
    }
    template <class U>
    U* controls() const
    {
        return static_cast<U*>(m_controls.get());
    }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class HandlerScope;
    bool filterInputText(QObject* watched, QInputMethodEvent* event);
    void destroyForm();
    void enter();
    void leave();

    QString m_className;
    QSize m_clientTwips;
    Kind m_kind;
    QWidget* m_form = nullptr;
    QMdiSubWindow* m_sub = nullptr;
    std::unique_ptr<Controls> m_controls;
    std::vector<QMetaObject::Connection> m_connections;
    std::unique_ptr<EventHooks> m_hooks;
    QString m_caption;
    int m_depth = 0;
    bool m_abort = false;
    bool m_pendingDestroy = false;
    bool m_unloading = false;
};

// One slot per window class, created on first use, kept until the end.
class FormSlots {
public:
    template <class T>
    static T& get()
    {
        auto& map = table();
        auto it = map.find(std::type_index(typeid(T)));
        if (it == map.end())
            it = map.emplace(std::type_index(typeid(T)), std::unique_ptr<ToolWindow>(new T)).first;
        return static_cast<T&>(*it->second);
    }
    template <class T>
    static bool exists()
    {
        return table().count(std::type_index(typeid(T))) != 0;
    }
    // Every instance created so far.
    static std::vector<ToolWindow*> all();
    // Unloads every loaded window (close handlers run), then frees them.
    static void shutdown();

private:
    static std::map<std::type_index, std::unique_ptr<ToolWindow>>& table();
};

// The frame's MDI area, where tool windows live. Without one (some tests)
// tool windows are top-level widgets.
void setMdiHost(QMdiArea* area);
QMdiArea* mdiHost();

// The dispatcher: opens, focuses or reports a tool window by name. The name
// table lives with the main window, which installs it here.
void popup(const QString& name);
void setPopupHandler(std::function<void(const QString&)> handler);

// Pixels of a twips measure.
inline int twips(double t)
{
    return int(t / 15.0 + (t >= 0 ? 0.5 : -0.5));
}
