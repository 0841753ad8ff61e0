#include "toolwindow.h"
#include "alert.h"
#include "formbuilder.h"
#include "keycodes.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <set>

// Per-control event handlers of one window, served by its one event filter.
class EventHooks {
public:
    std::map<QObject*, std::function<int(int)>> keyPress;
    std::map<QObject*, std::function<void(int, int)>> keyDown;
    std::map<QObject*, std::function<void(int, int)>> keyUp;
    std::map<QObject*, std::function<void()>> focusIn;
    std::map<QObject*, std::function<void()>> focusOut;
    std::map<QObject*, std::function<void()>> doubleClick;
    std::map<QObject*, std::function<void()>> mouseDown;
    // Controls whose key press takes the control keys too (see onKeyPress).
    std::set<QObject*> controlKeys;
    // The dropped-down list of a combo box with a key-press handler, and
    // that combo box: the list takes the typing while it is open.
    std::map<QObject*, QObject*> popupOf;
    // Set while the filter hands a box the input method's text it let
    // through, so that text is not filtered twice.
    bool forwardingInputText = false;
};

namespace {
QPointer<QMdiArea> g_mdi;
std::function<void(const QString&)> g_popup;
std::vector<ToolWindow*> g_handlerStack;
} // namespace

void setMdiHost(QMdiArea* area)
{
    g_mdi = area;
}

QMdiArea* mdiHost()
{
    return g_mdi;
}

void setPopupHandler(std::function<void(const QString&)> handler)
{
    g_popup = std::move(handler);
}

void popup(const QString& name)
{
    if (g_popup)
        g_popup(name);
}

ToolWindow::ToolWindow(QString className, QSize clientTwips, Kind kind)
    : m_className(std::move(className)), m_clientTwips(clientTwips), m_kind(kind), m_hooks(std::make_unique<EventHooks>())
{
    setObjectName(m_className);
}

ToolWindow::~ToolWindow()
{
    if (m_form) {
        for (auto& c : m_connections)
            QObject::disconnect(c);
        m_controls.reset();
        delete (m_sub ? static_cast<QWidget*>(m_sub) : m_form);
    }
}

ToolWindow* ToolWindow::current()
{
    return g_handlerStack.empty() ? nullptr : g_handlerStack.back();
}

void ToolWindow::enter()
{
    ++m_depth;
    g_handlerStack.push_back(this);
}

void ToolWindow::leave()
{
    // Remove the innermost entry of this window (handlers nest strictly).
    for (auto it = g_handlerStack.rbegin(); it != g_handlerStack.rend(); ++it) {
        if (*it == this) {
            g_handlerStack.erase(std::next(it).base());
            break;
        }
    }
    --m_depth;
    if (m_depth == 0 && m_pendingDestroy)
        destroyForm();
}

void ToolWindow::guarded(const std::function<void()>& f)
{
    enter();
    try {
        f();
    } catch (const VError& e) {
        setHandledError(e);
        alertbox(m_caption.isEmpty() ? m_className : m_caption, QString(), 2);
    } catch (const std::exception& e) {
        setHandledError(VError(verr::InvalidCall, QString::fromUtf8(e.what())));
        alertbox(m_caption.isEmpty() ? m_className : m_caption, QString(), 2);
    }
    leave();
}

void ToolWindow::load()
{
    if (m_form)
        return;
    m_abort = false;
    m_pendingDestroy = false;
    QWidget* form = nullptr;
    const QSize px(twips(m_clientTwips.width()), twips(m_clientTwips.height()));
    if (m_kind == Kind::Dialog) {
        auto* dlg = new QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        dlg->setModal(true);
        form = dlg;
    } else {
        form = new QWidget;
    }
    form->setObjectName(m_className);
    form->setFont(formFont());
    form->resize(px);
    form->setMinimumSize(px);
    m_form = form;
    m_caption.clear();
    build(form);
    m_caption = form->windowTitle();
    if (m_kind == Kind::Child && g_mdi) {
        m_sub = new QMdiSubWindow;
        m_sub->setObjectName(m_className + QStringLiteral("_frame"));
        m_sub->setWidget(form);
        m_sub->setAttribute(Qt::WA_DeleteOnClose, false);
        m_sub->setWindowTitle(m_caption);
        g_mdi->addSubWindow(m_sub);
        m_sub->adjustSize();
        m_sub->hide();
        m_sub->installEventFilter(this);
        connect(m_sub, &QMdiSubWindow::aboutToActivate, this, [this] { guarded([this] { onActivate(); }); });
    } else {
        form->hide();
        form->installEventFilter(this);
    }
    emit loaded();
    bool failed = true;
    guarded([this, &failed] {
        onLoad();
        failed = false;
    });
    // A load handler that failed (its alert has been shown) leaves the
    // window unloaded: a half-built window is neither kept nor shown, and
    // its close handler, which would save its half-set values, does not run.
    if (failed && m_form && !m_pendingDestroy) {
        if (m_depth > 0) {
            m_abort = true;
            m_pendingDestroy = true;
            (m_sub ? static_cast<QWidget*>(m_sub) : m_form)->hide();
        } else {
            destroyForm();
        }
    }
}

void ToolWindow::unload()
{
    if (!m_form || m_unloading || m_pendingDestroy)
        return;
    m_unloading = true;
    guarded([this] { onUnload(); });
    m_unloading = false;
    if (!m_form)
        return;
    if (m_depth > 0) {
        // A handler of this window is still running (waiting): end its
        // waits and destroy the form once it has returned.
        m_abort = true;
        m_pendingDestroy = true;
        if (m_sub)
            m_sub->hide();
        else
            m_form->hide();
        return;
    }
    destroyForm();
}

void ToolWindow::destroyForm()
{
    if (!m_form)
        return;
    for (auto& c : m_connections)
        QObject::disconnect(c);
    m_connections.clear();
    m_hooks = std::make_unique<EventHooks>();
    m_controls.reset();
    QWidget* top = m_sub ? static_cast<QWidget*>(m_sub) : m_form;
    top->removeEventFilter(this);
    m_sub = nullptr;
    m_form = nullptr;
    m_pendingDestroy = false;
    m_abort = false;
    top->hide();
    if (auto* dlg = qobject_cast<QDialog*>(top))
        dlg->setResult(0);
    top->deleteLater();
    emit unloaded();
}

bool ToolWindow::visible()
{
    load();
    if (m_pendingDestroy)
        return false;
    QWidget* top = m_sub ? static_cast<QWidget*>(m_sub) : m_form;
    return top && !top->isHidden();
}

void ToolWindow::setFocus()
{
    load();
    if (m_sub && g_mdi) {
        g_mdi->setActiveSubWindow(m_sub);
        m_sub->raise();
    } else if (m_form) {
        m_form->raise();
        m_form->activateWindow();
    }
    if (m_form)
        m_form->setFocus();
}

void ToolWindow::setTop(double t)
{
    load();
    QWidget* top = m_sub ? static_cast<QWidget*>(m_sub) : m_form;
    top->move(top->x(), twips(t));
}

void ToolWindow::setLeft(double l)
{
    load();
    QWidget* top = m_sub ? static_cast<QWidget*>(m_sub) : m_form;
    top->move(twips(l), top->y());
}

double ToolWindow::top()
{
    load();
    QWidget* top = m_sub ? static_cast<QWidget*>(m_sub) : m_form;
    return top->y() * 15.0;
}

double ToolWindow::left()
{
    load();
    QWidget* top = m_sub ? static_cast<QWidget*>(m_sub) : m_form;
    return top->x() * 15.0;
}

QString ToolWindow::caption()
{
    load();
    return m_caption;
}

void ToolWindow::setCaption(const QString& text)
{
    load();
    m_caption = text;
    m_form->setWindowTitle(text);
    if (m_sub)
        m_sub->setWindowTitle(text);
}

void ToolWindow::show()
{
    load();
    if (m_pendingDestroy)
        return;
    if (m_kind == Kind::Dialog) {
        auto* dlg = qobject_cast<QDialog*>(m_form);
        if (dlg->isVisible())
            return;
        QPointer<QDialog> guard(dlg);
        dlg->exec();
        return;
    }
    if (m_sub) {
        m_sub->show();
        m_sub->raise();
        if (g_mdi)
            g_mdi->setActiveSubWindow(m_sub);
    } else {
        m_form->show();
        m_form->raise();
    }
}

void ToolWindow::hide()
{
    if (!m_form)
        return;
    if (m_sub)
        m_sub->hide();
    else
        m_form->hide();
}

QWidget* ToolWindow::form()
{
    load();
    return m_form;
}

void ToolWindow::onKeyPress(QWidget* w, std::function<int(int)> handler, KeyPressScope scope)
{
    m_hooks->keyPress[w] = std::move(handler);
    if (scope == KeyPressScope::ControlKeysToo)
        m_hooks->controlKeys.insert(w);
    else
        m_hooks->controlKeys.erase(w);
    w->installEventFilter(this);
    // A dropped-down list searches its items as it is typed into, and
    // Enter then chooses what the typing found: the same handler sees
    // those keys.
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QAbstractItemView* list = combo->view();
        m_hooks->popupOf[list] = combo;
        list->installEventFilter(this);
    }
}
void ToolWindow::onKeyDown(QWidget* w, std::function<void(int, int)> handler)
{
    m_hooks->keyDown[w] = std::move(handler);
    w->installEventFilter(this);
}
void ToolWindow::onKeyUp(QWidget* w, std::function<void(int, int)> handler)
{
    m_hooks->keyUp[w] = std::move(handler);
    w->installEventFilter(this);
}
void ToolWindow::onFocusIn(QWidget* w, std::function<void()> handler)
{
    m_hooks->focusIn[w] = std::move(handler);
    w->installEventFilter(this);
}
void ToolWindow::onFocusOut(QWidget* w, std::function<void()> handler)
{
    m_hooks->focusOut[w] = std::move(handler);
    w->installEventFilter(this);
}
void ToolWindow::onDoubleClick(QWidget* w, std::function<void()> handler)
{
    m_hooks->doubleClick[w] = std::move(handler);
    w->installEventFilter(this);
}
void ToolWindow::onMouseDown(QWidget* w, std::function<void()> handler)
{
    m_hooks->mouseDown[w] = std::move(handler);
    w->installEventFilter(this);
}

namespace {
// Inserts a replacement character into a text control.
void insertChar(QObject* target, QChar c)
{
    if (auto* le = qobject_cast<QLineEdit*>(target))
        le->insert(QString(c));
    else if (auto* te = qobject_cast<QTextEdit*>(target))
        te->insertPlainText(QString(c));
    else if (auto* pe = qobject_cast<QPlainTextEdit*>(target))
        pe->insertPlainText(QString(c));
}
} // namespace

bool ToolWindow::filterInputText(QObject* watched, QInputMethodEvent* event)
{
    // Dead keys and compose sequences reach a box as the input method's
    // text, never as key presses: that text goes through the box's key
    // filter one character at a time, as typed keys would, each handed on
    // before the next is judged, so a filter that looks at the box sees
    // what the earlier ones left. An open list searches its items with the
    // text: only characters kept as they are reach that search.
    auto popup = m_hooks->popupOf.find(watched);
    const bool inPopup = popup != m_hooks->popupOf.end();
    auto it = m_hooks->keyPress.find(inPopup ? popup->second : watched);
    if (it == m_hooks->keyPress.end() || m_hooks->forwardingInputText)
        return false;
    if (event->commitString().isEmpty() && event->replacementLength() == 0)
        return false; // text still being composed is not the box's yet
    const QString committed = event->commitString();
    auto handOn = [&](QInputMethodEvent& e) {
        m_hooks->forwardingInputText = true;
        QCoreApplication::sendEvent(watched, &e);
        m_hooks->forwardingInputText = false;
    };
    // The composing text ends; the surrounding text the method would
    // replace stays, as no filter judged its removal.
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    handOn(composing);
    const auto handler = it->second;
    for (const char32_t c : committed.toUcs4()) {
        const int code = int(c);
        int result = code;
        guarded([&] { result = handler(code); });
        if (!m_form)
            return true;
        if (result < 32 || (inPopup && result != code))
            continue; // dropped, or a control key a text has no place for
        QInputMethodEvent one;
        const char32_t kept = char32_t(result);
        one.setCommitString(QString::fromUcs4(&kept, 1));
        handOn(one);
        if (!m_form)
            return true;
    }
    return true;
}

bool ToolWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (m_form && watched == (m_sub ? static_cast<QObject*>(m_sub) : static_cast<QObject*>(m_form))
        && event->type() == QEvent::Close) {
        if (m_kind == Kind::Child) {
            // The close box unloads the window; the instance lives on.
            event->ignore();
            unload();
            return true;
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // A control that takes control keys asks for Ctrl+C and the like
        // as keys, before any shortcut can have them.
        auto* ke = static_cast<QKeyEvent*>(event);
        if (m_hooks->controlKeys.count(watched) && !isCopyGesture(ke) && keyPressCode(ke) >= 0
            && keyPressCode(ke) < 32) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        auto down = m_hooks->keyDown.find(watched);
        if (down != m_hooks->keyDown.end()) {
            auto h = down->second;
            guarded([&] { h(vbKeyCode(ke), vbShiftState(ke->modifiers())); });
        }
        if (!m_form)
            return true;
        // An open list has its own keys: Enter, Escape, Tab and the arrows
        // work it as ever, and a list has no place for a replaced
        // character, so only a key kept as it is reaches its search.
        auto popup = m_hooks->popupOf.find(watched);
        const bool inPopup = popup != m_hooks->popupOf.end();
        auto it = m_hooks->keyPress.find(inPopup ? popup->second : watched);
        if (it == m_hooks->keyPress.end())
            return false;
        if (inPopup && (isEditingShortcut(ke) || keyPressCode(ke) < 32))
            return false;
        if (m_hooks->controlKeys.count(watched) ? isCopyGesture(ke) : isEditingShortcut(ke))
            return false;
        const int code = keyPressCode(ke);
        if (code < 0)
            return false; // not a character key: no key-press event
        int result = code;
        auto h = it->second;
        guarded([&] { result = h(code); });
        if (!m_form)
            return true;
        if (result == 0 || (inPopup && result != code))
            return true;
        if (result != code) {
            insertChar(watched, QChar(result));
            return true;
        }
        if (result == 13)
            return true; // Enter has no place in a one-line box
        return false;
    }
    case QEvent::InputMethod:
        return filterInputText(watched, static_cast<QInputMethodEvent*>(event));
    case QEvent::KeyRelease: {
        auto it = m_hooks->keyUp.find(watched);
        if (it != m_hooks->keyUp.end()) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (!ke->isAutoRepeat()) {
                auto h = it->second;
                guarded([&] { h(vbKeyCode(ke), vbShiftState(ke->modifiers())); });
            }
        }
        return false;
    }
    case QEvent::FocusIn: {
        auto it = m_hooks->focusIn.find(watched);
        if (it != m_hooks->focusIn.end()) {
            auto h = it->second;
            guarded([&] { h(); });
        }
        return false;
    }
    case QEvent::FocusOut: {
        auto it = m_hooks->focusOut.find(watched);
        if (it != m_hooks->focusOut.end()) {
            auto h = it->second;
            guarded([&] { h(); });
        }
        return false;
    }
    case QEvent::MouseButtonDblClick: {
        auto it = m_hooks->doubleClick.find(watched);
        if (it != m_hooks->doubleClick.end()) {
            auto h = it->second;
            guarded([&] { h(); });
        }
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto it = m_hooks->mouseDown.find(watched);
        if (it != m_hooks->mouseDown.end()) {
            auto h = it->second;
            guarded([&] { h(); });
        }
        return false;
    }
    default:
        return false;
    }
}

std::map<std::type_index, std::unique_ptr<ToolWindow>>& FormSlots::table()
{
    static std::map<std::type_index, std::unique_ptr<ToolWindow>> map;
    return map;
}

std::vector<ToolWindow*> FormSlots::all()
{
    std::vector<ToolWindow*> out;
    for (auto& [k, v] : table())
        out.push_back(v.get());
    return out;
}

void FormSlots::shutdown()
{
    for (ToolWindow* w : all())
        w->unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    table().clear();
}
