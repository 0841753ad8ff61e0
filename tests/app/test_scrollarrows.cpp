#include "support/alertsink.h"
#include "support/testmain.h"
#include "windowwalk.h"


#include <QAbstractSlider>
#include <QApplication>
#include <QSignalBlocker>
#include <QTest>

namespace {
// Keys as the keyboard delivers them: to whatever holds the focus.
void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
{
    if (QWidget* f = QApplication::focusWidget())
        QTest::keyClick(f, k, mods);
}

// The window's own bars (named controls), not those inside its text boxes
// and lists, which never take the focus.
QList<QAbstractSlider*> ownBars(QWidget* form)
{
    QList<QAbstractSlider*> out;
    for (QAbstractSlider* bar : form->findChildren<QAbstractSlider*>())
        if (!bar->objectName().isEmpty() && bar->isVisibleTo(form) && bar->isEnabled()
            && bar->maximum() - bar->minimum() >= 2)
            out << bar;
    return out;
}

// From the middle the two keys move the thumb opposite ways: on a
// horizontal bar the first (Left) lowers the value. The window's own
// handling (a board that is not there may reset the value) is kept out of
// the measure. "" when right.
QString moves(QAbstractSlider* bar, Qt::Key first, Qt::Key second)
{
    const QSignalBlocker quiet(bar);
    const int middle = (bar->minimum() + bar->maximum()) / 2;
    bar->setValue(middle);
    key(first);
    const int afterFirst = bar->value();
    bar->setValue(middle);
    key(second);
    const int afterSecond = bar->value();
    const bool opposite = (afterFirst - middle) * (afterSecond - middle) < 0;
    if (opposite && (bar->orientation() == Qt::Vertical || afterFirst < middle))
        return QString();
    return QStringLiteral("from %1, %2 gave %3, %4 gave %5")
        .arg(middle)
        .arg(QTest::toString(first), QString::number(afterFirst), QTest::toString(second), QString::number(afterSecond));
}

// Tab (or Shift+Tab, past a text box that takes Tab as a character) walks
// from the form to bar: true when it gets there.
bool tabReaches(QWidget* form, QWidget* bar)
{
    const int stops = int(form->findChildren<QWidget*>().size());
    for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers{}, Qt::KeyboardModifiers{Qt::ShiftModifier}}) {
        form->setFocus();
        for (int k = 0; k < stops && QApplication::focusWidget() != bar; ++k)
            key(mods ? Qt::Key_Backtab : Qt::Key_Tab, mods);
        if (QApplication::focusWidget() == bar)
            return true;
    }
    return false;
}
} // namespace

// Every bar of every window takes the keyboard when clicked and when Tab
// reaches it; then Left and Right move a horizontal thumb the arrow's way
// (Qt's scroll bars invert them unless told otherwise), and Up and Down a
// vertical one opposite ways.
class TestScrollArrows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyBarByClickAndTab()
    {
        QVERIFY(frameActive());
        AlertSink alerts; // a window that alerts on load must not block the walk
        int bars = 0;
        QStringList wrong;
        forEachShownWindow([&](const WindowEntry& e, ToolWindow& w, QWidget* form) {
            for (QAbstractSlider* bar : ownBars(form)) {
                ++bars;
                const QString name = e.name + u' ' + bar->objectName();
                const bool across = bar->orientation() == Qt::Horizontal;
                if (across && (bar->invertedAppearance() || bar->layoutDirection() != Qt::LeftToRight))
                    wrong << name + QStringLiteral(": runs right to left");
                const Qt::Key lower = across ? Qt::Key_Left : Qt::Key_Up;
                const Qt::Key higher = across ? Qt::Key_Right : Qt::Key_Down;

                // A click on the bar hands it the keyboard.
                form->setFocus();
                {
                    const QSignalBlocker quiet(bar);
                    bar->setValue((bar->minimum() + bar->maximum()) / 2);
                    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->rect().center());
                }
                if (!w.isLoaded())
                    break;
                if (QApplication::focusWidget() != bar) {
                    wrong << name + QStringLiteral(": a click leaves the focus in ")
                                 + (QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                                : QStringLiteral("nothing"));
                } else if (const QString m = moves(bar, lower, higher); !m.isEmpty()) {
                    wrong << name + QStringLiteral(" after a click: ") + m;
                }

                // Tab reaches it from the form.
                const bool tabbed = tabReaches(form, bar);
                if (!w.isLoaded())
                    break;
                if (!tabbed)
                    wrong << name + QStringLiteral(": Tab never reaches it");
                else if (const QString m = moves(bar, lower, higher); !m.isEmpty())
                    wrong << name + QStringLiteral(" after Tab: ") + m;
            }
        });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        QVERIFY(bars >= 8); // the hairlines, the sniffer's page, the DAC and LED levels, the servo speed...
    }
};

VOLTARIS_TEST(TestScrollArrows);
#include "test_scrollarrows.moc"
