#include "support/testmain.h"

#include "app/a_main.h"
#include "app/menutree.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

// Every menu entry opens through popup, takes typing in its inputs and
// closes, with no Qt warning and no crash. Modal windows that an entry
// raises (alerts) are answered with OK so the sweep never blocks.
class TestSmoke : public QObject {
    Q_OBJECT
    QTimer m_modalCloser;

private Q_SLOTS:
    void initTestCase()
    {
        m_modalCloser.setInterval(20);
        connect(&m_modalCloser, &QTimer::timeout, [] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                if (auto* ok = m->findChild<QAbstractButton*>("Command1_0"))
                    ok->click();
                else
                    m->close();
            }
        });
        m_modalCloser.start();
    }
    void cleanupTestCase() { m_modalCloser.stop(); }

    void everyMenuEntry_data()
    {
        QTest::addColumn<QString>("name");
        for (const MenuEntry& e : ::menuTree())
            QTest::newRow(qPrintable(e.item)) << e.name;
    }
    void everyMenuEntry()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        QFETCH(QString, name);
        popup(name);
        ToolWindow& w = windowFor(name);
        QVERIFY(w.isLoaded());
        QVERIFY(w.visible());
        if (QWidget* form = w.formIfLoaded()) {
            for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
                if (!box->isEnabled() || box->isReadOnly() || !box->isVisibleTo(form))
                    continue;
                QTest::keyClicks(box, "12");
                if (!w.isLoaded())
                    break;
            }
        }
        QCoreApplication::processEvents();
        w.unload();
        QVERIFY(!w.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

VOLTARIS_TEST(TestSmoke);
#include "test_smoke.moc"
