#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/logfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestLogFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newFileGetsHeaderOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("log.csv");
        QVERIFY(appendLog(path, "V,I", "a"));
        QVERIFY(appendLog(path, "V,I", QString::fromLatin1("b\xb5")));
        QCOMPARE(readFile(path), QByteArray("V,I\r\na\r\nb\xb5\r\n"));
    }

    void existingFileKeepsItsLines()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath("log.csv"), "old header\r\nold line\r\n");
        QVERIFY(appendLog(path, "V,I", "new"));
        QCOMPARE(readFile(path), QByteArray("old header\r\nold line\r\nnew\r\n"));
    }

    void lineIsOnDiskWhenTheCallReturns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("log.csv");
        QVERIFY(appendLog(path, "h", "one"));
        QFile reader(path);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QVERIFY(appendLog(path, "h", "two"));
        QCOMPARE(reader.readAll(), QByteArray("h\r\none\r\ntwo\r\n"));
    }

    void unwritablePlacesFail()
    {
        QTemporaryDir dir;
        QVERIFY(!appendLog(QString(), "h", "a"));
        QVERIFY(!appendLog(dir.filePath("no/such/folder/log.csv"), "h", "a"));
        QVERIFY(!appendLog(dir.path(), "h", "a")); // a folder
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!appendLog(fifo, "h", "a")); // returns at once, no reader needed

        // A folder no one may create files in, root included.
        QVERIFY(!appendLog("/proc/voltaris-test-log.csv", "h", "a"));
        if (::geteuid() == 0)
            return; // root writes into folders marked read-only
        const QString ro = dir.filePath("ro");
        QVERIFY(QDir().mkdir(ro));
        QVERIFY(QFile::setPermissions(ro, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!appendLog(ro + "/log.csv", "h", "a"));
        QVERIFY(!QFile::exists(ro + "/log.csv"));
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void oneAlertPerRunOfFailures()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath("log.csv");
        const QString bad = dir.filePath("missing/log.csv");
        const QString otherBad = dir.filePath("gone/log.csv");
        LogSequence log;
        QCOMPARE(log.append(bad, "h", "1"), LogSequence::Failed);
        QCOMPARE(log.append(bad, "h", "2"), LogSequence::FailedAgain);
        QCOMPARE(log.append(bad, "h", "3"), LogSequence::FailedAgain);
        QCOMPARE(log.append(otherBad, "h", "4"), LogSequence::Failed);
        QCOMPARE(log.append(good, "h", "5"), LogSequence::Written);
        QCOMPARE(log.append(otherBad, "h", "6"), LogSequence::Failed);
        QCOMPARE(readFile(good), QByteArray("h\r\n5\r\n"));
    }
};

VOLTARIS_TEST(TestLogFile);
#include "test_logfile.moc"
