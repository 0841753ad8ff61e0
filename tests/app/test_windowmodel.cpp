#include "support/modal.h"
#include "support/quitting.h"
#include "support/testmain.h"

#include "app/a_main.h"
#include "common/alert.h"
#include "common/formbuilder.h"
#include "common/pacing.h"
#include "common/toolwindow.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// A small window that follows the model: a member kept across loads, a
// load counter, a button whose handler waits.
class Probe_window : public ToolWindow {
    Q_OBJECT
public:
    Probe_window() : ToolWindow("Probe_window", QSize(3000, 2000)) {}
    int loads = 0;
    int unloads = 0;
    int kept = 0;          // never set by the load handler
    bool waitEnded = false;
    bool formAfterWait = false;
    QString typed;

    void waitInHandler(int hundredths)
    {
        guarded([&] {
            auto* ui = controls<Ui>();
            delay(hundredths);
            waitEnded = true;
            // The controls of a closed window still exist until we return.
            formAfterWait = ui && ui->box && ui->box->objectName() == "box";
        });
    }

protected:
    struct Ui : Controls {
        QLineEdit* box = nullptr;
        QPushButton* go = nullptr;
    };
    void build(QWidget* form) override
    {
        form->setWindowTitle("Probe");
        auto* ui = makeControls<Ui>();
        ui->box = place<QLineEdit>(form, "box", 100, 100, 1500, 300);
        ui->go = place<QPushButton>(form, "go", 100, 600, 1500, 300);
        on(ui->box, &QLineEdit::textChanged, [this](const QString& t) { typed = t; });
        on(ui->go, &QPushButton::clicked, [] { throw VError(8018, "The port is not open"); });
    }
    void onLoad() override { ++loads; }
    void onUnload() override { ++unloads; }
};

class TestWindowModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadUnloadKeepsMembers()
    {
        Probe_window& w = FormSlots::get<Probe_window>();
        QCOMPARE(&w, &FormSlots::get<Probe_window>());
        QVERIFY(!w.isLoaded());
        QVERIFY(!w.visible()); // reading Visible loads it, hidden
        QVERIFY(w.isLoaded());
        QCOMPARE(w.loads, 1);
        w.kept = 42;
        w.show();
        QVERIFY(w.visible());
        QVERIFY(w.form()->findChild<QLineEdit*>("box"));
        w.unload();
        QVERIFY(!w.isLoaded());
        QCOMPARE(w.unloads, 1);
        QCOMPARE(w.kept, 42);
        w.load();
        QCOMPARE(w.loads, 2);
        w.setTop(1500);
        w.setLeft(300);
        QCOMPARE(w.top(), 1500.0);
        QCOMPARE(w.left(), 300.0);
        w.unload();
    }

    void handlerErrorShowsModeTwo()
    {
        Probe_window& w = FormSlots::get<Probe_window>();
        w.show();
        const int beeps = beepCount();
        ModalAnswer answer("Command1_0");
        QTest::mouseClick(w.form()->findChild<QPushButton*>("go"), Qt::LeftButton);
        QVERIFY(answer.answered());
        QCOMPARE(answer.text(), QStringLiteral("Error Code:  8018\n\nThe port is not open"));
        QCOMPARE(beepCount(), beeps + 1);
        // The program goes on: the window still works.
        QTest::keyClicks(w.form()->findChild<QLineEdit*>("box"), "12");
        QCOMPARE(w.typed, QStringLiteral("12"));
        w.unload();
    }

    void delayServesEventsAndLasts()
    {
        bool ticked = false;
        QTimer::singleShot(20, [&] { ticked = true; });
        QElapsedTimer t;
        t.start();
        delay(50);
        QVERIFY(t.elapsed() >= 495);
        QVERIFY(t.elapsed() < 2000);
        QVERIFY(ticked);
        t.restart();
        delay(0);
        QVERIFY(t.elapsed() < 50);
        delay(-3); // one pass of the event loop, no wait
        QVERIFY(t.elapsed() < 50);
    }

    // Closing a window while its handler waits: the wait ends early, the
    // handler still finds its controls, and the form goes afterwards.
    void closeWhileWaiting()
    {
        Probe_window& w = FormSlots::get<Probe_window>();
        w.waitEnded = false;
        popup("nothing"); // the frame stands
        w.show();
        QTimer::singleShot(50, [&] { w.subWindow() ? w.subWindow()->close() : w.form()->close(); });
        QElapsedTimer t;
        t.start();
        w.waitInHandler(1000);
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(w.waitEnded);
        QVERIFY(w.formAfterWait);
        QVERIFY(!w.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // It loads again as new.
        w.load();
        QVERIFY(w.isLoaded());
        QVERIFY(!w.aborted());
        w.unload();
    }

    // Quitting while a handler waits: close handlers run, the wait ends,
    // nothing is touched after it is gone. Runs last: it closes the frame.
    void quitWhileWaiting()
    {
        Probe_window& w = FormSlots::get<Probe_window>();
        w.show();
        const int unloadsBefore = w.unloads;
        QTimer::singleShot(50, [&w] { closeOrQuit(w, true); });
        QElapsedTimer t;
        t.start();
        w.waitInHandler(1000);
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(w.formAfterWait);
        QCOMPARE(w.unloads, unloadsBefore + 1);
        QVERIFY(!w.isLoaded());
        recoverFromQuit();
    }
};

VOLTARIS_TEST(TestWindowModel);
#include "test_windowmodel.moc"
