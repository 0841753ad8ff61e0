#include "a_main.h"
#include "common/controlchars.h"
#include "menutree.h"
#include "common/pacing.h"
#include "common/toolwindow.h"
#include "common/version.h"
#include "windowtable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

namespace {
A_main* g_main = nullptr;
}

A_main::A_main()
{
    setObjectName(QStringLiteral("A_main"));
    setWindowTitle(QStringLiteral("Kelvane Electronics Voltaris and Utilities"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdi"));
    m_mdi->setBackground(palette().brush(QPalette::Dark));
    // A tool window larger than the area stays reachable in every part.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    // Tool windows enter the area as children of its viewport.
    m_mdi->viewport()->installEventFilter(this);
    buildMenus();
    // The design client area lies under the menu bar.
    resize(16530 / 15, 9225 / 15 + menuBar()->sizeHint().height());
    setMdiHost(m_mdi);
    setPopupHandler([this](const QString& name) { popup(name); });
    // Load handler.
    setWindowTitle(windowTitle() + QStringLiteral("      Revision:  ") + revision());
    initchars();
}

A_main::~A_main()
{
    setPopupHandler({});
    if (g_main == this)
        g_main = nullptr;
}

void A_main::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* group = nullptr;
    QMenu* sub = nullptr;
    QString groupName, subName;
    for (const MenuEntry& e : menuTree()) {
        QAction* action = nullptr;
        if (e.group == e.item) {
            // An item on the menu bar itself ("About").
            action = bar->addAction(e.caption);
            group = nullptr;
            groupName.clear();
        } else {
            if (e.group != groupName) {
                group = bar->addMenu(e.groupCaption);
                group->setObjectName(e.group);
                groupName = e.group;
                sub = nullptr;
                subName.clear();
            }
            if (e.submenu.isEmpty()) {
                action = group->addAction(e.caption);
            } else {
                if (e.submenu != subName) {
                    sub = group->addMenu(e.submenuCaption);
                    sub->setObjectName(e.submenu);
                    subName = e.submenu;
                }
                action = sub->addAction(e.caption);
            }
        }
        action->setObjectName(e.item);
        const QString name = e.name;
        connect(action, &QAction::triggered, this, [this, name] { popup(name); });
    }
}

void A_main::popup(const QString& name)
{
    popupWindow(windowFor(name));
}

void A_main::popupWindow(ToolWindow& w)
{
    if (w.visible()) {
        w.setFocus();
        return;
    }
    if (!w.isLoaded())
        return; // its load handler failed and said so
    w.setTop(100);
    w.setLeft(100);
    w.show();
}

void A_main::closeEvent(QCloseEvent* event)
{
    // Each open tool window closes with its own close handling; waits of
    // running handlers end, and the program then ends.
    setQuitting(true);
    for (ToolWindow* w : FormSlots::all())
        w->unload();
    event->accept();
    QApplication::exit(0);
}

bool A_main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdi->viewport() && event->type() == QEvent::ChildAdded) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
            sub->installEventFilter(this);
    } else if (auto* sub = qobject_cast<QMdiSubWindow*>(watched); sub && event->type() == QEvent::Hide) {
        // Only the window the keyboard was in hands it on (the focus is
        // still inside it while it hides), and only once it is gone: its
        // form may be destroyed right after the hide. Qt moves the focus
        // along its focus chain, which may be any window or none; the
        // window beneath the closed one takes it instead.
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == sub || sub->isAncestorOf(focus)))
            QTimer::singleShot(0, this, [this] { activateNext(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

QMdiSubWindow* A_main::focusedSubWindow() const
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub->isHidden() || sub->mdiArea() != m_mdi ? nullptr : sub;
    }
    return nullptr;
}

void A_main::activateNext()
{
    const QList<QMdiSubWindow*> order = m_mdi->subWindowList(QMdiArea::StackingOrder);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        QMdiSubWindow* sub = *it;
        if (sub->isHidden() || sub->isMinimized())
            continue;
        // The keyboard is already in the topmost window (one shown since).
        if (focusedSubWindow() == sub)
            return;
        m_mdi->setActiveSubWindow(sub);
        // The window's own focus control, else the first that takes focus.
        QWidget* target = sub->widget() ? sub->widget()->focusWidget() : nullptr;
        if (!target && sub->widget()) {
            for (QWidget* w = sub->widget()->nextInFocusChain(); w && w != sub->widget(); w = w->nextInFocusChain()) {
                if (sub->widget()->isAncestorOf(w) && w->isVisibleTo(sub) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                    target = w;
                    break;
                }
            }
        }
        if (target)
            target->setFocus(Qt::OtherFocusReason);
        else
            sub->setFocus(Qt::OtherFocusReason);
        return;
    }
}

A_main& mainWindow()
{
    if (!g_main)
        g_main = new A_main;
    return *g_main;
}

bool mainWindowExists()
{
    return g_main != nullptr;
}

void destroyMainWindow()
{
    FormSlots::shutdown();
    delete g_main;
    g_main = nullptr;
    setMdiHost(nullptr);
}
