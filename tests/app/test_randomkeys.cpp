#include "support/alertsink.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "app/menutree.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
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
// modifiers, at the widget. Says which key it was.
QString randomKeyAt(QWidget* w, QRandomGenerator& rng)
{
    const int key = randomKey(rng);
    const auto mods = Qt::KeyboardModifiers(int(rng.generate()) & int(Qt::KeyboardModifierMask));
    const quint32 scan = rng.bounded(2) ? rng.bounded(256u) : rng.generate();
    const quint32 sym = rng.bounded(2) ? 0xff00u + rng.bounded(256u) : rng.generate();
    const QString text = randomText(rng);
    const QString said = QStringLiteral("key 0x%1, modifiers 0x%2, scan code 0x%3, keysym 0x%4, text %5 at %6")
                             .arg(uint(key), 0, 16)
                             .arg(uint(mods.toInt()), 0, 16)
                             .arg(scan, 0, 16)
                             .arg(sym, 0, 16)
                             .arg(text.isEmpty() ? QStringLiteral("none")
                                                 : QStringLiteral("U+%1").arg(text.at(0).unicode(), 4, 16, QLatin1Char('0')))
                             .arg(w->objectName());
    QPointer<QWidget> target(w);
    QKeyEvent press(QEvent::KeyPress, key, mods, scan, sym, rng.generate(), text);
    QApplication::sendEvent(w, &press);
    if (!target)
        return said;
    QKeyEvent release(QEvent::KeyRelease, key, mods, scan, sym, rng.generate(), text);
    QApplication::sendEvent(w, &release);
    return said;
}

} // namespace

// Random keys, with random native codes and modifiers, into every text box,
// list and display of every window: nothing crashes, no handler fails (an
// error alert under the window's caption), no Qt warning, and each window
// still closes and opens.
class TestRandomKeys : public QObject {
    Q_OBJECT
    // Alerts the keys raise are answered, so the walk never blocks, and
    // read afterwards.
    std::unique_ptr<AlertSink> m_alerts;
    bool m_frameWasActive = false;

    // Notes each alert since from that tells of a failed handler of the
    // window (an error alert under the window's caption): its first cause
    // and how often it came.
    struct Failure {
        QString cause;
        int times = 0;
    };
    void noteFailures(qsizetype from, const QStringList& captions, const QString& cause, QMap<QString, Failure>& out) const
    {
        for (qsizetype i = from; i < m_alerts->titles.size(); ++i) {
            if (!captions.contains(m_alerts->titles.at(i)) || !m_alerts->texts.at(i).startsWith(QLatin1String("Error Code:")))
                continue;
            Failure& f = out[m_alerts->titles.at(i) + QStringLiteral(": ") + QString(m_alerts->texts.at(i)).replace('\n', ' ')];
            if (f.times++ == 0)
                f.cause = cause;
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_alerts = std::make_unique<AlertSink>();
        m_frameWasActive = mainWindow().isActiveWindow();
    }
    // The windows the keys raised and closed (alerts, list popups) leave
    // the frame inactive: the tests after this one find it as it was.
    void cleanupTestCase()
    {
        m_alerts.reset();
        if (m_frameWasActive) {
            mainWindow().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&mainWindow()));
        }
    }

    void everyTextBox_data()
    {
        QTest::addColumn<QString>("name");
        for (const MenuEntry& e : ::menuTree())
            QTest::newRow(qPrintable(e.item)) << e.name;
    }
    void everyTextBox()
    {
        // Notes of the platform, not of the program: a key may open a
        // list's popup, which the offscreen platform can neither raise nor
        // let grab the keyboard, and a random character may be of a script
        // the installed fonts cannot shape.
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("^(?!\\s*(This plugin does not support |OpenType support missing for ))")));
        QFETCH(QString, name);
        QRandomGenerator rng(uint(qHash(name)));
        popup(name);
        ToolWindow& w = windowFor(name);
        QVERIFY(w.isLoaded());
        QStringList captions{w.className(), w.caption()};
        QList<QPointer<QWidget>> boxes;
        if (QWidget* form = w.formIfLoaded()) {
            for (QWidget* c : form->findChildren<QWidget*>())
                if (qobject_cast<QLineEdit*>(c) || qobject_cast<QAbstractScrollArea*>(c) || qobject_cast<QComboBox*>(c))
                    boxes << c;
        }
        QMap<QString, Failure> failures;
        for (const QPointer<QWidget>& box : boxes) {
            for (int i = 0; i < 100 && box && w.isLoaded(); ++i) {
                const qsizetype before = m_alerts->titles.size();
                const QString key = randomKeyAt(box, rng);
                if (w.isLoaded() && !captions.contains(w.caption()))
                    captions << w.caption();
                noteFailures(before, captions, key, failures);
            }
            if (!w.isLoaded())
                break;
        }
        const qsizetype afterKeys = m_alerts->titles.size();
        QCoreApplication::processEvents();
        w.unload();
        QVERIFY(!w.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        popup(name);
        QVERIFY(w.isLoaded());
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        noteFailures(afterKeys, captions, QStringLiteral("closing and opening again"), failures);

        QStringList report;
        for (auto it = failures.cbegin(); it != failures.cend(); ++it)
            report << QStringLiteral("\"%1\" %2 times, first after %3").arg(it.key()).arg(it->times).arg(it->cause);
        QVERIFY2(report.isEmpty(), qPrintable(report.join(QStringLiteral("; "))));
    }
};

VOLTARIS_TEST(TestRandomKeys);
#include "test_randomkeys.moc"
