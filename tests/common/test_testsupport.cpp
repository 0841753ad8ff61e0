#include "support/boardsim.h"
#include "support/fakeport.h"
#include "support/filechoice.h"
#include "support/ptypair.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/commondialog.h"
#include "common/portcontroller.h"
#include "common/verror.h"
#include "common/z_selectfile.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

// The shared test fixtures do what the window tests rely on.
class TestTestSupport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void floodAndRawBytesCrossTheLine()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        BoardSimulator sim(pty);
        PortController port;
        port.open(pty.path(), QStringLiteral("9600,n,8,1"));
        QByteArray flood;
        for (int i = 0; i < 1 << 20; ++i)
            flood += char(i * 7 + i / 256);
        sim.sendRaw(flood);
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += port.read().toLatin1()).size() >= flood.size(), 30000);
        QCOMPARE(got.size(), flood.size());
        QVERIFY(got == flood);
        QCOMPARE(sim.sentBytes(), qint64(flood.size()));
        QCOMPARE(sim.pending(), 0);

        const QByteArray all = [] {
            QByteArray b;
            for (int c = 0; c < 256; ++c)
                b += char(c);
            return b;
        }();
        port.write(QString::fromLatin1(all));
        QTRY_COMPARE(sim.received(), all);
        port.close();
    }

    void fakeLineKnobs()
    {
        FakePorts fakes;
        auto line = fakes.line("fake-a");
        line->refuseBaud = {115200};
        PortController port;
        try {
            port.open("fake-a", "115200,n,8,1");
            QFAIL("a refused rate opened");
        } catch (const VError& e) {
            QCOMPARE(e.number(), verr::InvalidPropertyValue);
        }
        QVERIFY(!port.isOpen());
        port.open("fake-a", "9600,n,8,1");
        port.setSpeed(115200);
        QCOMPARE(port.speed(), 9600);
        port.setSpeed(19200);
        QCOMPARE(port.speed(), 19200);

        port.write("ok");
        line->failWrites = true;
        QVERIFY_THROWS_EXCEPTION(VError, port.write("lost"));
        QCOMPARE(line->written, QByteArray("ok"));

        QSignalSpy ring(&port, &PortController::ring);
        QVERIFY(!port.dcd());
        line->raise(portline::DCD | portline::RI);
        QVERIFY(port.dcd());
        QTRY_COMPARE(ring.size(), 1);
        line->lower(portline::RI);
        QVERIFY(port.dcd());
        QTRY_COMPARE(ring.size(), 2);
        port.close();
    }

    void fileChoicesAnswered()
    {
        TempFolders tf;
        const QString file = writeFile(tf.workFile("sub/data.txt"), "x");
        {
            FileChoiceAnswer answer(file);
            QVERIFY(!answer.answered());
            QCOMPARE(selectfile(QString(), "*.txt", tf.work(), "Pick a file"), file);
            QCOMPARE(pickfolder(tf.work(), "Pick a folder"), QDir::toNativeSeparators(tf.workFile("sub")));
            answer.answer(tf.work());
            QCOMPARE(pickfolder(tf.app(), "Again"), QDir::toNativeSeparators(tf.work()));
            CommonDialog box;
            box.DialogTitle = "Open";
            answer.answer(file);
            box.ShowOpen();
            QCOMPARE(box.FileName, file);
            QCOMPARE(int(answer.choosers.size()), 3);
            QCOMPARE(answer.choosers[0].title, QStringLiteral("Pick a file"));
            QCOMPARE(answer.choosers[0].mask, QStringLiteral("*.txt"));
            QCOMPARE(answer.choosers[0].folder, QDir::toNativeSeparators(tf.work()));
            QCOMPARE(answer.choosers[2].title, QStringLiteral("Again"));
            QCOMPARE(answer.choosers[2].folder, QDir::toNativeSeparators(tf.app()));
            QCOMPARE(int(answer.requests.size()), 1);
            QCOMPARE(answer.requests[0].title, QStringLiteral("Open"));
            QCOMPARE(answer.asked(), 4);
            QVERIFY(answer.answered());
            QCOMPARE(answer.title(), QStringLiteral("Open"));
        }
        {
            FileChoiceAnswer none = FileChoiceAnswer::cancel();
            QCOMPARE(selectfile(file, "*.txt", QString(), "Pick"), QString());
            QCOMPARE(pickfolder(tf.work(), "Pick"), QDir::toNativeSeparators(tf.work()));
            CommonDialog box;
            box.FileName = "kept";
            box.CancelError = true;
            QVERIFY_THROWS_EXCEPTION(VError, box.ShowSave());
            QCOMPARE(box.FileName, QStringLiteral("kept"));
            QCOMPARE(none.asked(), 3);
        }
        FormSlots::get<Z_selectfile>().unload();
    }
};

VOLTARIS_TEST(TestTestSupport);
#include "test_testsupport.moc"
