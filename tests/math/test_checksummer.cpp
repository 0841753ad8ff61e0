#include "support/filechoice.h"
#include "support/loopgaps.h"
#include "support/quitting.h"
#include "support/sha1text.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "closeorquitrows.h"
#include "stageturns.h"

#include "app/a_main.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "math/pic_checksummer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// The digest as five blank-separated groups of eight upper-case digits.
QString digest(const QByteArray& bytes)
{
    return sha1Text(bytes);
}

// A large file: program records over and over, a comment after each, and
// every tenth record outside the device (eight orphan words each).
QByteArray largeHex(qsizetype atLeast)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < atLeast; ++i) {
        const int address = i % 10 == 9 ? 0x0A00 : (i * 16) % 0x800;
        QByteArray line = QByteArray(":10") + QByteArray::number(address, 16).rightJustified(4, '0').toUpper() + "00";
        int sum = 0x10 + (address & 0xFF) + (address >> 8);
        for (int b = 0; b < 16; ++b) {
            const int v = (i + b) & 0x0F;
            line += QByteArray::number(v, 16).rightJustified(2, '0').toUpper();
            sum += v;
        }
        line += QByteArray::number((0x100 - (sum & 0xFF)) & 0xFF, 16).rightJustified(2, '0').toUpper();
        bytes += line + "\r\n; record " + QByteArray::number(i) + "\r\n";
    }
    return bytes + ":00000001FF\r\n";
}
} // namespace

class TestChecksummer : public QObject {
    Q_OBJECT
    PIC_checksummer& w() { return FormSlots::get<PIC_checksummer>(); }
    template <class T>
    T* ctl(const char* name) { return w().form()->findChild<T*>(name); }
    QString box(const char* name) { return ctl<QLineEdit>(name)->text(); }
    QString text(const char* name) { return ctl<QPlainTextEdit>(name)->toPlainText(); }

    // Chooses the file in the chooser and lets the window process it.
    void loadFile(const QString& path)
    {
        FileChoiceAnswer answer(path);
        QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(answer.asked(), 1);
        QCOMPARE(answer.title(), QString("Select file to process"));
    }
    QString hexFile(const QString& name, const QByteArray& bytes)
    {
        return writeFile(QDir(QString::fromLocal8Bit(qgetenv("VOLTARIS_TEMP"))).filePath(name), bytes);
    }

private Q_SLOTS:
    void init()
    {
        auto* action = mainWindow().menuBar()->findChild<QAction*>("zchecksummer");
        QVERIFY(action);
        action->trigger();
        QVERIFY(w().visible());
        QCOMPARE(w().caption(), QString("PIC Checksum Calculator"));
    }
    void cleanup() { w().unload(); }

    void erasedDeviceFile()
    {
        const QByteArray bytes(":00000001FF\r\n");
        const QString path = hexFile("eof.hex", bytes);
        loadFile(path);
        QCOMPARE(box("loadedfile"), path);
        QCOMPARE(box("hashtext"), digest(bytes));
        QCOMPARE(text("errorbox"), QString("No errors detected in loaded file\n"
                                           "0x0000 (0000000) Progrm words loaded\n"
                                           "0x0000 (0000000) EEProm words loaded\n"
                                           "0x0000 (0000000) Config words loaded\n"
                                           "0x0000 (0000000) UserID words loaded\n"));
        QCOMPARE(box("pcs_0"), QString("0xEC40"));
        QCOMPARE(box("pcs_1"), QString("0xFFF6"));
        QCOMPARE(box("configdata"), QString("0x3F"));
        QVERIFY(ctl<QCheckBox>("pmode_0")->isChecked());
        QVERIFY(!ctl<QCheckBox>("pmode_1")->isChecked());
        QCOMPARE(ctl<QComboBox>("deviceselector")->currentText(), QString("PIC12F510"));

        // A cancelled choice changes nothing.
        FileChoiceAnswer cancel = FileChoiceAnswer::cancel();
        QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(cancel.asked(), 1);
        QCOMPARE(box("loadedfile"), path);
        QCOMPARE(box("pcs_0"), QString("0xEC40"));
    }

    void protectedDeviceAndOrphans()
    {
        // Configuration 0x0FE2 (bit 3 clear), an orphan word, a comment.
        loadFile(hexFile("prot.hex", ":021FFE00E20FF0\n; built today\r:02080A00250CBB\r\n:00000001FF"));
        QVERIFY(!ctl<QCheckBox>("pmode_0")->isChecked());
        QVERIFY(ctl<QCheckBox>("pmode_1")->isChecked());
        QCOMPARE(box("configdata"), QString("0x22"));
        QCOMPARE(text("orphanlist"), QString("0405:0C25\n"));
        QCOMPARE(text("comment"), QString("; built today\n"));
        QVERIFY(text("errorbox").contains("0x0001 (0000001) Config words loaded"));
    }

    void errorsSuppressChecksums()
    {
        loadFile(hexFile("bad.hex", ":020000000102FA\r\n:0000001\r\n:00000001FF\r\n"));
        QCOMPARE(text("errorbox"), QString("CHECKSUM ERROR: (FB) expected\n:020000000102FA\n\n"
                                           "RECORD LENGTH ERROR: (08) characters\n:0000001\n\n"));
        QCOMPARE(box("pcs_0"), QString());
        QCOMPARE(box("pcs_1"), QString());
        QCOMPARE(box("configdata"), QString());
        QVERIFY(!ctl<QCheckBox>("pmode_0")->isChecked());
        QVERIFY(!ctl<QCheckBox>("pmode_1")->isChecked());
    }

    void emptyAndUnreadableFiles()
    {
        loadFile(hexFile("eof.hex", ":00000001FF\r\n"));
        const QString empty = hexFile("empty.hex", QByteArray());
        loadFile(empty);
        QCOMPARE(text("errorbox"), "The file is empty: " + empty);
        QCOMPARE(box("pcs_0"), QString());
        QCOMPARE(box("hashtext"), digest(QByteArray()));

        const QString folder = QDir(QString::fromLocal8Bit(qgetenv("VOLTARIS_TEMP"))).filePath("folder.hex");
        QVERIFY(QDir().mkpath(folder));
        loadFile(folder);
        QCOMPARE(text("errorbox"), "The file cannot be read: " + folder);
        QCOMPARE(box("pcs_0"), QString());
        QCOMPARE(box("hashtext"), QString());
    }

    // Every byte of the file is hashed: those after the first that is no
    // UTF-8, and a byte-order mark, which is no part of the first line.
    void hashOfExactBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray binary(":00000001FF\r\nline two\nline three\r");
        for (int c = 128; c < 256; ++c)
            binary += char(c);
        binary += "\n\r\n";
        QTest::newRow("binary") << binary;
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf:00000001FF\r\nline two\nline three\r\n");
    }
    void hashOfExactBytes()
    {
        QFETCH(QByteArray, bytes);
        loadFile(hexFile("binary.hex", bytes));
        QCOMPARE(box("hashtext"), digest(bytes));
        QVERIFY(text("comment").startsWith("line two\nline three\n"));
    }

    // Hashing, checking and showing a large file serve the event loop in
    // short slices, with the busy sign up meanwhile.
    void largeFileInSlices()
    {
        const QByteArray bytes = largeHex(2 * 1024 * 1024);
        const int records = int(bytes.count(':')) - 1;
        const QString path = hexFile("large.hex", bytes);
        {
            // Each stage serves the event loop between its steps, counted
            // with one-step slices.
            StageTurns turns([&] {
                if (box("hashtext").isEmpty())
                    return QStringLiteral("hash");
                if (ctl<QPlainTextEdit>("comment")->document()->isEmpty())
                    return QStringLiteral("records");
                return ctl<QPlainTextEdit>("orphanlist")->document()->isEmpty() ? QStringLiteral("comments")
                                                                                : QStringLiteral("orphans");
            });
            loadFile(path);
            QVERIFY2(turns.count("hash") >= 6, qPrintable(turns.report()));
            QVERIFY2(turns.count("records") >= records, qPrintable(turns.report()));
            QVERIFY2(turns.count("comments") >= 8, qPrintable(turns.report()));
            QVERIFY2(turns.count("orphans") >= 8, qPrintable(turns.report()));
        }
        bool busySeen = true;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            gaps.watchBusySign(w().form());
            gaps.restart();
            loadFile(path);
            gaps.stop();
            busySeen = busySeen && gaps.busySignSeen();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY(busySeen);
        QCOMPARE(w().form()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(box("hashtext"), digest(bytes));
        QCOMPARE(ctl<QPlainTextEdit>("comment")->blockCount(), records + 1);
        QCOMPARE(ctl<QPlainTextEdit>("orphanlist")->blockCount(), records / 10 * 8 + 1);
        QVERIFY2(text("errorbox").startsWith("No errors detected"), qPrintable(text("errorbox").left(200)));
        QVERIFY(!box("pcs_0").isEmpty());
    }

    // Closed or quit in the middle of a large file: nothing of the gone
    // form is touched, and the window opens again as new.
    void endedMidway_data() { addCloseOrQuitRows(); }
    void endedMidway()
    {
        QFETCH(bool, quit);
        const QString path = hexFile("large.hex", largeHex(2 * 1024 * 1024));
        EndMidway end(w(), [this] { return w().processing(); }, quit);
        loadFile(path);
        QVERIFY(end.ended());
        QVERIFY(!w().processing());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w().isLoaded());
        init();
        loadFile(hexFile("eof.hex", ":00000001FF\r\n"));
        QCOMPARE(box("pcs_0"), QString("0xEC40"));
    }

    void lastFolderKept()
    {
        const QString sub = QDir(QString::fromLocal8Bit(qgetenv("VOLTARIS_TEMP"))).filePath("hexfiles");
        const QString path = writeFile(QDir(sub).filePath("a.hex"), ":00000001FF\r\n");
        loadFile(path);
        QCOMPARE(w().lastfolder, QDir::toNativeSeparators(sub));
        w().unload();
        QCOMPARE(readFile(PIC_checksummer::settingsPath()).split('\n').value(0).trimmed(),
                 QDir::toNativeSeparators(sub).toLatin1());
        w().load();
        QCOMPARE(w().lastfolder, QDir::toNativeSeparators(sub));
        w().unload();
        QVERIFY(QDir(sub).removeRecursively());
        w().load();
        QCOMPARE(w().lastfolder, worktemp());
    }
};

VOLTARIS_TEST(TestChecksummer);
#include "test_checksummer.moc"
