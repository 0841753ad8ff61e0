#pragma once
// A controller window on a bench: temporary folders, a pseudo-terminal with
// a board simulator on its far end, the window loaded and shown, and the
// port chosen. Extra port names (fakes) can join the window's port list.
//
//   struct Bench : ControllerBench<Ctrl_1234_thing, ThingBoard> { using ControllerBench::ControllerBench; };
//   Bench b;                 // connected to b.sim
//   Bench b(false);          // no port chosen
//   Bench b(false, "fake-x") // "fake-x" listed too

#include "support/extraports.h"
#include "support/modal.h"
#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/tempfolders.h"

#include "app/a_main.h"
#include "common/rs232_comportscanner.h"
#include "common/toolwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

template <class Window, class Board>
struct ControllerBench {
    explicit ControllerBench(bool connect = true, const QString& extraPort = QString())
    {
        {
            const ExtraPorts more({extraPort});
            w.load();
            w.show();
        }
        if (connect)
            choose(pty.path());
    }
    ~ControllerBench()
    {
        if (w.isLoaded())
            w.unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }
    ControllerBench(const ControllerBench&) = delete;
    ControllerBench& operator=(const ControllerBench&) = delete;

    QComboBox* portselect() const { return w.form()->template findChild<QComboBox*>("portselect"); }
    void choose(const QString& port) const { portselect()->setCurrentIndex(portselect()->findText(port)); }
    int portIndex() const { return portselect()->currentIndex(); }
    // Loads the window afresh (its port list scanned again) and chooses a port.
    void reopen(const QString& port) const
    {
        w.unload();
        w.show();
        choose(port);
    }
    QLineEdit* edit(const QString& name) const { return w.form()->template findChild<QLineEdit*>(name); }
    QString text(const QString& name) const { return edit(name)->text(); }
    // Sends bytes and waits until the window has taken every one.
    void feed(const QByteArray& bytes)
    {
        sim.send(bytes);
        settle();
    }
    void settle()
    {
        QTRY_VERIFY(sim.pending() == 0 && w.serial.ReceiveBuffer.isEmpty());
        QTest::qWait(20);
    }

    // The board's end closes: one "Com port error" alert, the port closed,
    // the selector back on "Select".
    void vanish()
    {
        ModalAnswer alert("Command1_0");
        sim.vanish();
        QTRY_VERIFY(alert.answered());
        QCOMPARE(alert.title(), QStringLiteral("Com port error"));
        ModalAnswer second("Command1_0", 200);
        QTest::qWait(200);
        QVERIFY(!second.answered());
        QCOMPARE(w.serial.portopen, 0);
        QCOMPARE(portIndex(), 0);
    }
    // The user closes the window, or quits the program.
    void close(bool quit) const { closeOrQuit(w, quit); }
    // Waits for the window to go, and stands the program up again after a quit.
    void closed(bool quit) const
    {
        QVERIFY(closedAndRecovered(w, quit));
        QTest::qWait(50);
    }

    TempFolders tf;
    PtyPair pty;
    Board sim{pty};
    Window& w = FormSlots::template get<Window>();
};
