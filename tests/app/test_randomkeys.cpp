#include "support/alertsink.h"
#include "support/testmain.h"

#include "app/menutree.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

namespace {

// Keys a user can reach, and any value at all.
int randomKey(QRandomGenerator& rng)
{
    static const int keys[] = {Qt::Key_A,      Qt::Key_C,        Qt::Key_V,         Qt::Key_Z,     Qt::Key_0,
                               Qt::Key_9,      Qt::Key_Period,   Qt::Key_Minus,     Qt::Key_Return, Qt::Key_Enter,
                               Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Delete,   Qt::Key_Tab,   Qt::Key_Backtab,
                               Qt::Key_Left,   Qt::Key_Home,     Qt::Key_F5,        Qt::Key_Shift, Qt::Key_Control,
                               Qt::Key_Alt,    Qt::Key_Meta,     Qt::Key_NumLock,   Qt::Key_Print, Qt::Key_Insert,
                               Qt::Key_unknown, Qt::Key_Space,   Qt::Key_Apostrophe};
    if (rng.bounded(4) == 0)
        return int(rng.generate());
    return keys[rng.bounded(int(std::size(keys)))];
}

QString randomText(QRandomGenerator& rng)
{
    switch (rng.bounded(4)) {
    case 0: return QString();
    case 1: return QString(QChar(char16_t(rng.bounded(32))));
    case 2: return QString(QChar(char16_t(32 + rng.bounded(95))));
    default: return QString(QChar(char16_t(rng.bounded(0x10000u))));
    }
}

// Presses and releases one random key, with random native codes and
// modifiers, at the widget.
void randomKeyAt(QWidget* w, QRandomGenerator& rng)
{
    const int key = randomKey(rng);
    const auto mods = Qt::KeyboardModifiers(int(rng.generate()) & int(Qt::KeyboardModifierMask));
    const quint32 scan = rng.bounded(2) ? rng.bounded(256u) : rng.generate();
    const quint32 sym = rng.bounded(2) ? 0xff00u + rng.bounded(256u) : rng.generate();
    const QString text = randomText(rng);
    QPointer<QWidget> target(w);
    QKeyEvent press(QEvent::KeyPress, key, mods, scan, sym, rng.generate(), text);
    QApplication::sendEvent(w, &press);
    if (!target)
        return;
    QKeyEvent release(QEvent::KeyRelease, key, mods, scan, sym, rng.generate(), text);
    QApplication::sendEvent(w, &release);
}

} // namespace

// Random keys, with random native codes and modifiers, into every text box,
// list and display of every window: nothing crashes, and each window still closes and opens.
class TestRandomKeys : public QObject {
    Q_OBJECT
    // Alerts the keys raise are answered, so the walk never blocks.
    std::unique_ptr<AlertSink> m_alerts;

private Q_SLOTS:
    void initTestCase() { m_alerts = std::make_unique<AlertSink>(); }
    void cleanupTestCase() { m_alerts.reset(); }

    void everyTextBox_data()
    {
        QTest::addColumn<QString>("name");
        for (const MenuEntry& e : ::menuTree())
            QTest::newRow(qPrintable(e.item)) << e.name;
    }
    void everyTextBox()
    {
        QFETCH(QString, name);
        QRandomGenerator rng(uint(qHash(name)));
        popup(name);
        ToolWindow& w = windowFor(name);
        QVERIFY(w.isLoaded());
        QList<QPointer<QWidget>> boxes;
        if (QWidget* form = w.formIfLoaded()) {
            for (QWidget* c : form->findChildren<QWidget*>())
                if (qobject_cast<QLineEdit*>(c) || qobject_cast<QAbstractScrollArea*>(c) || qobject_cast<QComboBox*>(c))
                    boxes << c;
        }
        for (const QPointer<QWidget>& box : boxes) {
            for (int i = 0; i < 100 && box && w.isLoaded(); ++i)
                randomKeyAt(box, rng);
            if (!w.isLoaded())
                break;
        }
        QCoreApplication::processEvents();
        w.unload();
        QVERIFY(!w.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        popup(name);
        QVERIFY(w.isLoaded());
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

VOLTARIS_TEST(TestRandomKeys);
#include "test_randomkeys.moc"
