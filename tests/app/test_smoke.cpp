#include "support/modal.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "app/menutree.h"
#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// Every menu entry opens through popup, takes typing in its inputs and
// closes, with no Qt warning and no crash. Modal windows that an entry
// raises (alerts) are answered with OK so the sweep never blocks.
class TestSmoke : public QObject {
    Q_OBJECT
    std::unique_ptr<ModalSweeper> m_modalCloser;

private Q_SLOTS:
    void initTestCase() { m_modalCloser = std::make_unique<ModalSweeper>(); }
    void cleanupTestCase() { m_modalCloser.reset(); }

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
