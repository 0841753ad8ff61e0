#include "support/testmain.h"
#include "support/typing.h"
#include "windowwalk.h"

#include "app/a_main.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <random>

namespace {
QWidget* frameWindow()
{
    return &mainWindow();
}

// Keys as the keyboard delivers them: to the frame's window, which routes
// them to whatever has the focus.
void keys(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(frameWindow()->windowHandle(), c.toLatin1());
}
void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
{
    QTest::keyClick(frameWindow()->windowHandle(), k, mods);
}

bool takesTyping(QLineEdit* box, QWidget* form)
{
    return !box->isReadOnly() && box->isEnabled() && box->isVisibleTo(form);
}

// The first control of a window that takes the focus with Tab: where the
// keyboard would land if the window's own focus control were forgotten.
QWidget* firstInTabOrder(QWidget* form)
{
    for (QWidget* w = form->nextInFocusChain(); w && w != form; w = w->nextInFocusChain())
        if (form->isAncestorOf(w) && w->isVisibleTo(form) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            return w;
    return nullptr;
}

// The second box of a window, in tab order, that takes typing: not the
// one the keyboard finds by itself.
QLineEdit* laterInput(ToolWindow& w)
{
    QWidget* form = w.form();
    QList<QLineEdit*> boxes;
    for (QWidget* c = form->nextInFocusChain(); c && c != form; c = c->nextInFocusChain())
        if (auto* box = qobject_cast<QLineEdit*>(c); box && form->isAncestorOf(box) && takesTyping(box, form))
            boxes << box;
    return boxes.size() > 1 && boxes.at(1) != firstInTabOrder(form) ? boxes.at(1) : nullptr;
}

// The shown tool window the keyboard focus lies in, or null.
QMdiSubWindow* focusedWindow()
{
    QWidget* f = QApplication::focusWidget();
    for (QWidget* w = f; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub->isHidden() ? nullptr : sub;
    return nullptr;
}

int shownWindows()
{
    int n = 0;
    for (QMdiSubWindow* s : mainWindow().mdiArea()->subWindowList())
        n += !s->isHidden();
    return n;
}
} // namespace

// After a tool window closes, the next one in the frame is active with its
// focus control: the keyboard goes on working without a click.
class TestFrameKeyboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(frameActive()); }
    void cleanup() { unloadAllWindows(); }

    // Three windows, each typed into a box past its first; closing the top
    // one hands the keyboard to the one beneath, in the box it had.
    void keysReachTheNextWindowAfterAClose()
    {
        const QStringList names{"PSUtil_lm317", "RLC_resonance", "Math_unit"};
        QList<ToolWindow*> windows;
        QList<QLineEdit*> boxes;
        for (const QString& name : names) {
            popup(name);
            ToolWindow& w = windowFor(name.toLower());
            QLineEdit* box = laterInput(w);
            QVERIFY2(box, qPrintable(name + " has no box past its first control"));
            giveFocus(box);
            box->clear();
            keys(QStringLiteral("1"));
            QCOMPARE(box->text(), QStringLiteral("1"));
            windows << &w;
            boxes << box;
        }
        QCOMPARE(mainWindow().mdiArea()->activeSubWindow(), windows.at(2)->subWindow());

        for (int closing : {2, 1}) {
            key(Qt::Key_W, Qt::ControlModifier);
            QTRY_VERIFY(!windows.at(closing)->isLoaded());
            const int next = closing - 1;
            QTRY_COMPARE(mainWindow().mdiArea()->activeSubWindow(), windows.at(next)->subWindow());
            QTRY_COMPARE(QApplication::focusWidget(), boxes.at(next));
            // The keys land where the box's cursor stands, in place of the
            // text it selects (some boxes reformat on leaving and select
            // all on entering).
            QLineEdit* box = boxes.at(next);
            QString expected = box->text();
            int at = box->cursorPosition();
            if (box->hasSelectedText()) {
                at = box->selectionStart();
                expected.remove(at, box->selectedText().size());
            }
            expected.insert(at, QStringLiteral("23"));
            keys(QStringLiteral("23"));
            QCOMPARE(box->text(), expected);
        }

        // The last window closed: nothing is left to take the keys, and
        // nothing breaks.
        key(Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY(!windows.at(0)->isLoaded());
        keys(QStringLiteral("4"));
        QCOMPARE(shownWindows(), 0);
    }

    // Windows opened, closed, switched and typed into in any order with
    // the keyboard: whenever a window is shown, the focus lies in one.
    void anyOrderKeepsTheFocusInAWindow()
    {
        const QStringList names{"PSUtil_lm317", "RLC_resonance", "Math_unit",      "Osc_lm555astable",
                                "RLC_rcolor",   "Math_sha1tester", "PSUtil_lt1761", "Math_primeslist"};
        std::mt19937 rng(43);
        for (int step = 0; step < 120; ++step) {
            const unsigned what = rng() % 4;
            if (what == 0 || shownWindows() == 0)
                popup(names.at(int(rng() % names.size())));
            else if (what == 1)
                key(Qt::Key_W, Qt::ControlModifier);
            else if (what == 2)
                key(Qt::Key_Tab, Qt::ControlModifier);
            else
                keys(QStringLiteral("5"));
            QTest::qWait(1);
            if (shownWindows() > 0) {
                QTRY_VERIFY2(focusedWindow() != nullptr, qPrintable(QStringLiteral("step %1").arg(step)));
                QCOMPARE(focusedWindow(), mainWindow().mdiArea()->activeSubWindow());
            }
        }
    }
};

VOLTARIS_TEST(TestFrameKeyboard);
#include "test_framekeyboard.moc"
